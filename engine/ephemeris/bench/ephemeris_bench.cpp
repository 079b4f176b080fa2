// EphemerisPosition per body. Each iteration moves the day, so the Earth cache never
// answers and the file window is reloaded every 80 days (16 for the asteroids), as in a day-by-day scan.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/ephemeris/ephemeris.h"

namespace kelvara::engine {
namespace {

const std::string kData = std::string(KELVARA_SOURCE_DIR) + "/data/";

void BM_EphemerisPosition(benchmark::State& state) {
  const int body = static_cast<int>(state.range(0));
  EphemerisLayer layer;
  EphemerisResult result;
  double jd = 2415020.5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(layer.Position(body, jd, kData, result));
    benchmark::DoNotOptimize(result);
    jd += 1.0;
    if (jd > 2488000.0) jd = 2415020.5;
  }
}

BENCHMARK(BM_EphemerisPosition)
    ->ArgName("body")
    ->DenseRange(kBodySun, kBodyTrueNode)
    ->Arg(kBodyChiron)
    ->Arg(kBodyLilith)
    ->DenseRange(kBodyCeres, kBodyVesta);

}  // namespace
}  // namespace kelvara::engine
