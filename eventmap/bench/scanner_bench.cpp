// Speed of the event scanner: a year of transits to a natal chart, one step a day,
// houses off, the default aspect table for two charts, on the real engine.
#include <benchmark/benchmark.h>

#include "eventmap/event_scanner.h"
#include "eventmap/tests/example_chart.h"
#include "workspace/chart_compute.h"

namespace kelvara::eventmap {
namespace {

workspace::ChartRecord Natal() { return testing::ExampleChart(workspace::kNoHouses); }

void BM_YearOfTransitsDaily(benchmark::State& state) {
  const workspace::ChartRecord natal = Natal();
  const auto owned = testing::YearOfTransitsScanner(natal);
  EventScanner& scanner = *owned;
  for (auto _ : state) {
    scanner.Prepare();
    benchmark::DoNotOptimize(scanner.Run());
  }
  state.counters["exact"] = double(scanner.Snapshot()->Table(EventKind::kExact).RecordCount());
}
BENCHMARK(BM_YearOfTransitsDaily)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvara::eventmap
