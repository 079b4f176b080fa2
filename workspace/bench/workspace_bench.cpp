// Speed of the engine driver: one natal chart, a solar return search, and a chart in
// the Brahmagupta system (which runs day scans).
#include <benchmark/benchmark.h>

#include "workspace/chart_compute.h"
#include "workspace/engine_driver.h"

namespace kelvara::workspace {
namespace {

const EngineDriver& Driver() {
  static const EngineDriver driver(std::string(KELVARA_BIN_DIR) + "/");
  return driver;
}

ChartRecord Natal() {
  ChartRecord chart;
  chart.name = "Иван";
  chart.local = {1985, 7, 12, 14, 5, 0};
  chart.gmtOffsetHours = 4.0;
  chart.latitudeDeg = 55.75;
  chart.longitudeDeg = 37.6;
  return chart;
}

void BM_RunChartNatal(benchmark::State& state) {
  const ChartRequest request{{{1985, 7, 12, 10, 5, 0}, 0.0, 55.75, 37.6}, kHousePlacidus};
  ObjectTable objects;
  for (auto _ : state) {
    Driver().RunChart(request, objects, false);
    benchmark::DoNotOptimize(objects);
  }
}
BENCHMARK(BM_RunChartNatal)->Unit(benchmark::kMicrosecond);

// Forward from a target two months after the birthday: most of a year to cover.
void BM_SolarReturnSearch(benchmark::State& state) {
  ChartRecord natal = Natal();
  const ComputeContext context{Driver(), &natal, nullptr, nullptr, ""};
  ComputeChart(natal, context);
  for (auto _ : state) {
    ChartRecord solar = natal;
    solar.name = KindName(ChartKind::kSolarReturnForward);
    solar.local = {2020, 9, 12, 12, 0, 0};
    benchmark::DoNotOptimize(ComputeChart(solar, context));
  }
}
BENCHMARK(BM_SolarReturnSearch)->Unit(benchmark::kMillisecond);

void BM_BrahmaguptaChart(benchmark::State& state) {
  const ChartRequest request{{{1985, 7, 12, 10, 5, 0}, 0.0, 55.75, 37.6}, kHouseBrahmagupta};
  ObjectTable objects;
  for (auto _ : state) {
    Driver().RunChart(request, objects, false);
    benchmark::DoNotOptimize(objects);
  }
}
BENCHMARK(BM_BrahmaguptaChart)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelvara::workspace
