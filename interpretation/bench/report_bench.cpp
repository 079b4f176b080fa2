// The horoscope report over a full set of small report files: what the built-in natal
// section costs before the word processor opens.
#include <benchmark/benchmark.h>

#include "interpretation/report.h"
#include "interpretation/tests/report_fixtures.h"

namespace {

namespace ws = kelvara::workspace;
namespace in = kelvara::interpretation;

void BM_ReportOfAFullChart(benchmark::State& state) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "kelvara_report_bench";
  in::testing::WriteReportLibrary(folder);
  const ws::ChartRecord chart = in::testing::SpreadChart(37.3);
  const ws::AspectTable table = ws::DefaultSingleChartAspects();
  for (auto _ : state) benchmark::DoNotOptimize(in::Report(chart, table, folder));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ReportOfAFullChart)->Unit(benchmark::kMillisecond);

}  // namespace
