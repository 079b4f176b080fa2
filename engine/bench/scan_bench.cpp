// Speed of the two day scans as the vector runs them: one rise/set scan (48 intervals,
// 50 casts) and one year of the event scan at one step a day (730 casts).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/engine_run.h"
#include "engine/records.h"

namespace kelvara::engine {
namespace {

// The scans write "tmp.tmp" into the current directory: a folder of their own.
void EnterScratchFolder() {
  const auto folder =
      std::filesystem::temp_directory_path() / ("kelvara_scan_bench_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::filesystem::current_path(folder);
}

void RunVector(std::vector<std::string> texts) {
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  std::array<double, kResultCount> lon{}, speed{}, lat{};
  EngineRun(static_cast<int>(argv.size()), argv.data(), lon.data(), speed.data(), lat.data());
  benchmark::DoNotOptimize(lon);
}

std::vector<std::string> MoscowVector(const std::string& scan, const std::string& day = "12",
                                      const std::string& year = "1985") {
  return {"---" + std::string(KELVARA_BIN_DIR) + "/", scan, "-b0", "-c", "0", "qa", "7", day,
          year, "14:05", "-3", "037e35", "55n45"};
}

// The same day again: the theories' segments of that day are fitted after the first run.
void BM_RiseSetScan(benchmark::State& state) {
  EnterScratchFolder();
  for (auto _ : state) RunVector(MoscowVector("-Zd"));
}
BENCHMARK(BM_RiseSetScan)->Unit(benchmark::kMillisecond);

// A day of another year each run, so no segment fitted before serves it (the Moon's are
// fitted within the scan, from its first samples).
void BM_RiseSetScanOfANewDay(benchmark::State& state) {
  EnterScratchFolder();
  int year = 1900;
  for (auto _ : state) {
    RunVector(MoscowVector("-Zd", "12", std::to_string(year)));
    year = year < 2100 ? year + 1 : 1900;
  }
}
BENCHMARK(BM_RiseSetScanOfANewDay)->Unit(benchmark::kMillisecond);

void BM_EventScanOneYearOneStepADay(benchmark::State& state) {
  EnterScratchFolder();
  for (auto _ : state) RunVector(MoscowVector("-dy"));
}
BENCHMARK(BM_EventScanOneYearOneStepADay)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvara::engine
