// Speed of the event scanner: a year of transits to a natal chart, one step a day,
// houses off, the default aspect table for two charts, on the real engine.
#include <benchmark/benchmark.h>

#include "eventmap/event_scanner.h"
#include "eventmap/tests/example_chart.h"
#include "workspace/chart_compute.h"

namespace kelvara::eventmap {
namespace {

const workspace::EngineDriver& Driver() { return testing::ExampleEngine(); }

workspace::ChartRecord Natal() { return testing::ExampleChart(workspace::kNoHouses); }

void BM_YearOfTransitsDaily(benchmark::State& state) {
  const workspace::ChartRecord natal = Natal();
  workspace::ChartRecord transit = natal;
  transit.name.clear();
  transit.gmtOffsetHours = 0.0;
  EventScanner scanner(Driver(), workspace::AspectTables{});
  ScanCharts charts;
  charts.moving = &transit;
  charts.base = &natal;
  charts.method = std::string(kMethodTransits);
  scanner.SetCharts(charts);
  scanner.SetWindow(workspace::HoursSince1860({2024, 1, 1, 12, 0, 0}), workspace::HoursSince1860({2025, 1, 1, 0, 0, 0}));
  for (auto _ : state) {
    scanner.Prepare();
    benchmark::DoNotOptimize(scanner.Run());
  }
  state.counters["exact"] = double(scanner.Snapshot()->Table(EventKind::kExact).RecordCount());
}
BENCHMARK(BM_YearOfTransitsDaily)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvara::eventmap
