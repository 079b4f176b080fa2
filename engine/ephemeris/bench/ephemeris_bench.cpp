// EphemerisPosition per body. Each iteration moves the day, so the Earth cache never
// answers and the file window is reloaded every 80 days (16 for the asteroids), as in a day-by-day scan.
#include <benchmark/benchmark.h>

#include <fstream>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "engine/ephemeris/ephemeris.h"
#include "engine/ephemeris/ephemeris_check.h"
#include "engine/ephemeris/sin_cos.h"

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

// Sine and cosine of a block of series angles: 0 the C library, 1 one at a time, 2 the block call.
void BM_SinCos(benchmark::State& state) {
  constexpr std::size_t kAngles = 1024;
  std::mt19937_64 random(1);
  std::uniform_real_distribution<double> phase(-1.0e5, 1.0e5);
  std::vector<double> angles(kAngles), sines(kAngles), cosines(kAngles);
  for (double& a : angles) a = phase(random);
  const int way = static_cast<int>(state.range(0));
  for (auto _ : state) {
    if (way == 2) {
      SinCosOfAngles(angles.data(), sines.data(), cosines.data(), kAngles);
    } else {
      for (std::size_t i = 0; i < kAngles; ++i) {
        const SinCos one = way == 1 ? SinCosRad(angles[i]) : SinCos{std::sin(angles[i]), std::cos(angles[i])};
        sines[i] = one.sin;
        cosines[i] = one.cos;
      }
    }
    benchmark::DoNotOptimize(sines.data());
    benchmark::DoNotOptimize(cosines.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kAngles));
}
BENCHMARK(BM_SinCos)->ArgName("way")->DenseRange(0, 2);

// The once-per-process check of the shipped files: each read through and its CRC taken.
void BM_ManifestCheckOfTheShippedFiles(benchmark::State& state) {
  const std::string data = std::string(KELVARA_SOURCE_DIR) + "/data/";
  std::ifstream manifest(data + kEphemerisManifest);
  std::vector<ManifestEntry> listed;
  for (std::string line; std::getline(manifest, line);) listed.push_back(*ParseManifestLine(line));
  std::int64_t bytes = 0;
  for (auto _ : state) {
    for (const ManifestEntry& entry : listed) {
      const auto actual = EntryOfFile(data + entry.name, entry.name);
      bytes += actual->sizeBytes;
      benchmark::DoNotOptimize(actual->crc == entry.crc);
    }
  }
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ManifestCheckOfTheShippedFiles)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvara::engine
