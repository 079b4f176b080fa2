// One day's event map: the day scan of the example chart at 24 steps a day on the real
// engine, and its dial painted on 800 x 800 through the Qt canvas.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "eventmap/day_scan.h"
#include "eventmap/event_map_drawing.h"
#include "eventmap/tests/example_chart.h"
#include "platform/qt/qt_canvas.h"

namespace {

using namespace kelvara;
namespace ws = workspace;
constexpr int kSide = 800;
constexpr int kHourlySteps = 7;

constexpr ws::CalendarMoment kDay{2024, 5, 15, 0, 0, 0};

struct ExampleDay {
  eventmap::DayScanOutcome Scan() const {
    return eventmap::DayScan(natal, aspects, request, eventmap::testing::ExampleEngine());
  }

  ws::ChartRecord natal = eventmap::testing::ExampleChart();
  ws::AspectTable aspects = ws::DefaultTwoChartAspects();
  eventmap::DayScanRequest request = eventmap::testing::ExampleDayRequest(kDay, kHourlySteps);
};

void BM_DayScanHourlySteps(benchmark::State& state) {
  const ExampleDay example;
  for (auto _ : state) benchmark::DoNotOptimize(example.Scan());
}
BENCHMARK(BM_DayScanHourlySteps)->Unit(benchmark::kMillisecond);

QGuiApplication& Application() {
  static int argc = 1;
  static char name[] = "daymap_bench";
  static char* argv[] = {name, nullptr};
  static auto* application = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QGuiApplication(argc, argv);
  }();
  return *application;
}

void BM_Dial800(benchmark::State& state) {
  Application();
  const ExampleDay example;
  const eventmap::DayScanLists lists = *example.Scan().lists;
  eventmap::EventMapInputs inputs;
  inputs.exact = &lists.exact;
  inputs.inForce = &lists.inForce;
  inputs.day = kDay;
  inputs.aspects = &example.aspects;
  QImage image(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    platform::QtCanvas canvas(painter);
    benchmark::DoNotOptimize(eventmap::DrawEventMap(canvas, {0, 0, kSide, kSide}, inputs));
  }
}
BENCHMARK(BM_Dial800)->Unit(benchmark::kMillisecond);

}  // namespace
