// Speed of one engine run as the front-end drives it: parse, chart time, angles, houses.
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <string>

#include "engine/angles.h"
#include "engine/chart_time.h"
#include "engine/engine_run.h"
#include "engine/houses.h"
#include "engine/records.h"

namespace kelvara::engine {
namespace {

constexpr std::array<const char*, 13> kFrontEndVector = {
    "---/opt/kelvara/", "-Yn", "-b0", "-c", "0", "qa", "7", "12", "1985", "14:05", "-3",
    "037e35", "55n45"};
constexpr std::size_t kBufferSize = 80;  // the front-end's buffer per element

void BM_EngineRunFrontEndVector(benchmark::State& state) {
  std::array<std::array<char, kBufferSize>, 13> buffers{};
  std::array<char*, 13> argv{};
  std::array<double, kResultCount> lon{}, speed{}, lat{};
  for (auto _ : state) {
    // argv[0] is rewritten by every run, so the vector is refilled as the front-end does.
    for (std::size_t i = 0; i < kFrontEndVector.size(); ++i) {
      std::strncpy(buffers[i].data(), kFrontEndVector[i], kBufferSize - 1);
      argv[i] = buffers[i].data();
    }
    EngineRun(13, argv.data(), lon.data(), speed.data(), lat.data());
    benchmark::DoNotOptimize(lon);
  }
}
BENCHMARK(BM_EngineRunFrontEndVector);

void BM_HouseSystem(benchmark::State& state) {
  const int system = static_cast<int>(state.range(0));
  const double ramc = 134.12 * kDegToRad, eps = 23.44 * kDegToRad, lat = 55.75 * kDegToRad;
  const HouseInput in{ramc, eps, lat, MidheavenDegrees(ramc, eps),
                      AscendantDegrees(ramc, eps, lat), 0.0};
  for (auto _ : state) benchmark::DoNotOptimize(ComputeHouses(in, system));
}
BENCHMARK(BM_HouseSystem)->DenseRange(0, kHouseSystemCount - 1);

}  // namespace
}  // namespace kelvara::engine
