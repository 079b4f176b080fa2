// Speed of the chart casting: a whole cast at a new moment each time (as a scan casts), and
// the engine's own elements model and lunar series per body.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/elements.h"
#include "engine/engine_run.h"
#include "engine/moon_series.h"
#include "engine/records.h"

namespace kelvara::engine {
namespace {

constexpr double kStartJd = 2446259.0;  // 12 July 1985
constexpr double kStepDays = 0.0104;    // a quarter of an hour: every run a new moment

// The front-end's switches (files, true node, Placidus) at a Julian day in Moscow.
void RunAt(double jd, bool files, std::array<double, kResultCount>& lon) {
  char number[32];
  std::snprintf(number, sizeof number, "%.6f", jd);
  std::vector<std::string> texts = {"---" + std::string(KELVARA_BIN_DIR) + "/", "-Yn", "-c",
                                    "0", "qj", number};
  if (files) texts.insert(texts.begin() + 2, "-b0");
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  std::array<double, kResultCount> speed{}, lat{};
  EngineRun(static_cast<int>(argv.size()), argv.data(), lon.data(), speed.data(), lat.data());
}

void BM_CastNewMomentEachRun(benchmark::State& state) {
  const bool files = state.range(0) != 0;
  std::array<double, kResultCount> lon{};
  double jd = kStartJd;
  for (auto _ : state) {
    RunAt(jd, files, lon);
    jd += kStepDays;
    benchmark::DoNotOptimize(lon);
  }
}
BENCHMARK(BM_CastNewMomentEachRun)->Arg(1)->Arg(0);

// Moments months apart, as unrelated charts come: no theory segment is ever fitted for them.
void BM_CastRandomMomentEachRun(benchmark::State& state) {
  constexpr double kFirstJd = 2400000.5, kLastJd = 2498000.5, kJumpDays = 97.37;
  std::array<double, kResultCount> lon{};
  double jd = kFirstJd;
  for (auto _ : state) {
    RunAt(jd, true, lon);
    jd = jd + kJumpDays < kLastJd ? jd + kJumpDays : kFirstJd + (jd + kJumpDays - kLastJd);
    benchmark::DoNotOptimize(lon);
  }
}
BENCHMARK(BM_CastRandomMomentEachRun);

void BM_CastSameMomentAgain(benchmark::State& state) {
  std::array<double, kResultCount> lon{};
  for (auto _ : state) {
    RunAt(kStartJd, true, lon);
    benchmark::DoNotOptimize(lon);
  }
}
BENCHMARK(BM_CastSameMomentAgain);

void BM_ElementsPosition(benchmark::State& state) {
  const int object = static_cast<int>(state.range(0));
  double t = 0.855;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ElementsPosition(object, t));
    t += 1e-7;
  }
}
BENCHMARK(BM_ElementsPosition)->Arg(kSun)->DenseRange(kMercury, kVesta)->Arg(kFirstHypothetical);

void BM_MoonSeries(benchmark::State& state) {
  double t = 0.855;
  for (auto _ : state) {
    benchmark::DoNotOptimize(MoonSeries(t));
    t += 1e-7;
  }
}
BENCHMARK(BM_MoonSeries);

}  // namespace
}  // namespace kelvara::engine
