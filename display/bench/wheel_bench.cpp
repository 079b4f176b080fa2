// The wheel's cost per draw: the whole picture painted off screen, its arithmetic alone,
// and the worst spreading.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "display/chart_wheel.h"
#include "display/tests/wheel_fixtures.h"
#include "platform/qt/bench/offscreen_application.h"
#include "platform/qt/qt_canvas.h"
#include "workspace/aspect_finder.h"
#include "workspace/glyph_spread.h"

namespace {

using namespace kelvara;
namespace ws = workspace;
constexpr int kSide = 800;

struct DoubleChart {
  ws::ObjectTable inner = display::testing::HandMadeChart(100.0);
  ws::ObjectTable outer = display::testing::HandMadeChart(100.0, 37.5);
  ws::AspectTable table = ws::DefaultTwoChartAspects();
  platform::GlyphFitCache cache;

  display::WheelInput Input() {
    display::WheelInput input;
    input.inner = &inner;
    input.outer = &outer;
    input.outerName = "Дирекция по солн.дуге";
    input.aspects = &table;
    input.options.iChing = input.options.sort = input.options.degreesShown = true;
    input.scale = platform::ViewScaleOf({kSide, kSide});
    input.stepControls = {{{10, 760, 40, 790}, {40, 760, 70, 790}, {70, 760, 100, 790}, 0}};
    input.clock = display::ClockHands{15, 30, 20};
    input.glyphCache = &cache;
    return input;
  }
};

QGuiApplication& Application() {
  return platform::bench::OffscreenApplication(std::filesystem::path(KELVARA_SOURCE_DIR) / "data" / "fonts");
}

void BM_FullRedrawDoubleChart800(benchmark::State& state) {
  Application();
  DoubleChart chart;
  QImage image(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    platform::QtCanvas canvas(painter);
    benchmark::DoNotOptimize(display::DrawWheel(canvas, {0, 0, kSide, kSide}, chart.Input()));
  }
}
BENCHMARK(BM_FullRedrawDoubleChart800)->Unit(benchmark::kMillisecond);

void BM_LayoutAspectsSpreading(benchmark::State& state) {
  DoubleChart chart;
  const display::WheelInput input = chart.Input();
  for (auto _ : state) {
    const display::WheelLayout layout = display::LayoutFor({0, 0, kSide, kSide}, input);
    ws::AspectFinderInput finder{&chart.inner, &chart.outer, true, &chart.table, true, true, true, ws::kLastSlot};
    benchmark::DoNotOptimize(ws::FindAspects(finder));
    for (auto& objects : {&chart.inner, &chart.outer}) {
      for (auto& object : *objects) object.display.angleDeg = ws::kNoDisplayAngle;
    }
    benchmark::DoNotOptimize(display::PlaceRing(chart.inner, layout, display::Ring::kInner, true));
    benchmark::DoNotOptimize(display::PlaceRing(chart.outer, layout, display::Ring::kOuter, true));
  }
}
BENCHMARK(BM_LayoutAspectsSpreading)->Unit(benchmark::kMicrosecond);

// One chart: its glyphs fit their ring, so the spreading comes to rest.
void BM_LayoutAspectsSpreadingSingle(benchmark::State& state) {
  ws::ObjectTable chart = display::testing::HandMadeChart(100.0);
  const ws::AspectTable table = ws::DefaultSingleChartAspects();
  display::WheelInput input;
  input.inner = &chart;
  for (auto _ : state) {
    const display::WheelLayout layout = display::LayoutFor({0, 0, kSide, kSide}, input);
    ws::AspectFinderInput finder{&chart, &chart, false, &table, true, true, false, ws::kLastSlot};
    benchmark::DoNotOptimize(ws::FindAspects(finder));
    for (auto& object : chart) object.display.angleDeg = ws::kNoDisplayAngle;
    benchmark::DoNotOptimize(display::PlaceRing(chart, layout, display::Ring::kInner, true));
  }
}
BENCHMARK(BM_LayoutAspectsSpreadingSingle)->Unit(benchmark::kMicrosecond);

void BM_AspectsOfADoubleChart(benchmark::State& state) {
  DoubleChart chart;
  ws::AspectFinderInput finder{&chart.inner, &chart.outer, true, &chart.table, true, true, true, ws::kLastSlot};
  for (auto _ : state) benchmark::DoNotOptimize(ws::FindAspects(finder));
}
BENCHMARK(BM_AspectsOfADoubleChart)->Unit(benchmark::kMicrosecond);

void BM_WorstSpreading22AtOnePoint(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<double> longitudes(22, 123.0);
    benchmark::DoNotOptimize(ws::SpreadAlongCircle(longitudes, 8.0));
  }
}
BENCHMARK(BM_WorstSpreading22AtOnePoint)->Unit(benchmark::kMicrosecond);

}  // namespace
