#include "app/view_picture.h"

#include <algorithm>
#include <sstream>

#include "app/chart_output.h"
#include "app/command_menu.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;

constexpr int kMarginDesign = 4;        // layout pixels around the text
constexpr int kLineHeightDesign = 14;   // layout pixels per line, at most
constexpr int kSmallestLineHeight = 6;  // pixels, below which text stops being legible
constexpr const char* kEventMapNotDrawn = "Карта событий в этой версии программы еще не рисуется.";
constexpr const char* kChainsNotDrawn = "\"Формула Души\" в этой версии программы еще не рисуется.";
constexpr platform::Color kTextColor{0, 0, 0};

void AppendLines(const std::string& text, std::vector<std::string>& lines) {
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
}

std::string ChartTable(const ws::ChartRecord& chart) {
  std::ostringstream out;
  PrintChartText(chart, out);
  return out.str();
}

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

class WheelText : public ViewPicture {
 public:
  void Draw(platform::Canvas& canvas, const ViewMetrics& metrics, const Session& session) override {
    DrawLines(canvas, metrics, PositionTableLines(session));
  }
};

class NotDrawnYet : public ViewPicture {
 public:
  explicit NotDrawnYet(const char* message) : message_(message) {}
  void Draw(platform::Canvas& canvas, const ViewMetrics& metrics, const Session& session) override {
    const ws::ChartRecord& main = session.charts.main;
    DrawLines(canvas, metrics, {main.name, std::string(main.title), "", message_});
  }

 private:
  std::string message_;
};

}  // namespace

std::vector<std::string> PositionTableLines(const Session& session) {
  std::vector<std::string> lines;
  const ws::WorkspaceState& charts = session.charts;
  if (!(SecondChartShown(session) && charts.secondAlone)) AppendLines(ChartTable(charts.main), lines);
  if (SecondChartShown(session)) {
    if (!lines.empty()) lines.push_back("");
    AppendLines(ChartTable(charts.second), lines);
  }
  return lines;
}

ViewPictures TextPictures() {
  ViewPictures pictures;
  pictures.wheel = std::make_unique<WheelText>();
  pictures.eventMap = std::make_unique<NotDrawnYet>(kEventMapNotDrawn);
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
