#include "app/view_picture.h"

#include <algorithm>

#include "app/command_menu.h"
#include "app/event_map_picture.h"
#include "app/wheel_picture.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;

constexpr int kMarginDesign = 4;        // layout pixels around the text
constexpr int kLineHeightDesign = 14;   // layout pixels per line, at most
constexpr int kSmallestLineHeight = 6;  // pixels, below which text stops being legible
constexpr const char* kChainsNotDrawn = "\"Формула Души\" в этой версии программы еще не рисуется.";
constexpr platform::Color kTextColor{0, 0, 0};

// Lines top to bottom, as large as fits the area both ways, up to the layout's size.
void DrawLines(platform::Canvas& canvas, const ViewMetrics& metrics, const std::vector<std::string>& lines) {
  const int margin = static_cast<int>(kMarginDesign * metrics.displayScale);
  const int rows = std::max<int>(1, static_cast<int>(lines.size()));
  const int largest = static_cast<int>(kLineHeightDesign * metrics.displayScale);
  canvas.SetFont({kTextPictureFace, largest});
  int widest = 1;
  for (const std::string& line : lines) widest = std::max(widest, canvas.TextExtent(line).width);
  const int byWidth = largest * (metrics.rect.Width() - 2 * margin) / widest;
  const int byHeight = (metrics.rect.Height() - 2 * margin) / rows;
  const int height = std::max(kSmallestLineHeight, std::min({largest, byWidth, byHeight}));
  canvas.FillRect(metrics.rect, platform::kWhite);
  canvas.SetFont({kTextPictureFace, height});
  canvas.SetTextColor(kTextColor);
  int y = metrics.rect.top + margin;
  for (const std::string& line : lines) {
    canvas.DrawText({metrics.rect.left + margin, y}, line);
    y += height;
  }
}

class NotDrawnYet : public ViewPicture {
 public:
  explicit NotDrawnYet(const char* message) : message_(message) {}
  void Draw(platform::Canvas& canvas, const ViewMetrics& metrics, Session& session) override {
    const ws::ChartRecord& main = session.charts.main;
    DrawLines(canvas, metrics, {main.name, std::string(main.title), "", message_});
  }

 private:
  std::string message_;
};

}  // namespace

ViewPictures DefaultPictures(const platform::Clock* clock, const StepController* steps,
                             const workspace::ChartEngine& engine, const workspace::TimeZoneSource* zones) {
  ViewPictures pictures;
  pictures.wheel = std::make_unique<WheelPicture>(clock, steps);
  pictures.eventMap = std::make_unique<EventMapPicture>(engine, zones, clock);
  pictures.chains = std::make_unique<NotDrawnYet>(kChainsNotDrawn);
  return pictures;
}

ViewPicture& PictureOfMode(ViewPictures& pictures, DisplayMode mode) {
  switch (mode) {
    case DisplayMode::kEventMap: return *pictures.eventMap;
    case DisplayMode::kChains: return *pictures.chains;
    case DisplayMode::kWheel: break;
  }
  return *pictures.wheel;
}

}  // namespace kelvara::app
