#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cmath>
#include <numbers>

#include "platform/qt/qt_canvas.h"

namespace kelvara::platform {
namespace {

constexpr int kSide = 600;
constexpr int kGlyphs = 34;

// The benchmark draws into images only, so it needs no display.
QGuiApplication& Application() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "platform_qt_bench";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  return *application;
}

Point OnCircle(int radius, double degrees) {
  const double radians = degrees * std::numbers::pi / 180.0;
  return {kSide / 2 + int(std::lround(radius * std::cos(radians))),
          kSide / 2 + int(std::lround(radius * std::sin(radians)))};
}

// About what one wheel costs: circles, 360 degree marks, and glyphs fitted into their
// boxes by shrinking the font until the text fits.
void DrawWheelLikePicture(Canvas& canvas) {
  canvas.FillRect({0, 0, kSide, kSide}, {220, 240, 210});
  canvas.SetBrush(Brush::Solid({0, 255, 255}));
  canvas.DrawEllipse({30, 30, kSide - 30, kSide - 30});
  canvas.SetBrush(Brush::Solid(kWhite));
  canvas.DrawEllipse({80, 80, kSide - 80, kSide - 80});
  for (int degree = 0; degree < 360; ++degree) canvas.DrawLine(OnCircle(220, degree), OnCircle(230, degree));
  for (int glyph = 0; glyph < kGlyphs; ++glyph) {
    const Point centre = OnCircle(180, glyph * 360.0 / kGlyphs);
    int height = 25;
    do {
      canvas.SetFont({"Kelvara", --height});
    } while (height > 1 && canvas.TextExtent("\u00A1").width >= 24);
    canvas.DrawText(centre, "\u00A1", {HorizontalAlign::Center, VerticalAlign::Middle});
  }
}

void BM_QtCanvasWheelLikePicture(benchmark::State& state) {
  Application();
  QImage image(kSide, kSide, QImage::Format_RGB32);
  QPainter painter(&image);
  QtCanvas canvas(painter);
  for (auto _ : state) DrawWheelLikePicture(canvas);
}
BENCHMARK(BM_QtCanvasWheelLikePicture)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvara::platform
