// Start-up cost of the city base and the cost of one offset look-up, on the
// IndexFile the build copies beside the programs.
#include <benchmark/benchmark.h>

#include "places/city_base.h"
#include "places/place_time.h"

namespace kelvara::places {
namespace {

const std::filesystem::path kIndexFile = std::filesystem::path(KELVARA_BIN_DIR) / "data" / kCityBaseFileName;

void BM_LoadCityBase(benchmark::State& state) {
  for (auto _ : state) {
    CityBase base;
    LoadCityBase(kIndexFile, base);
    benchmark::DoNotOptimize(base.cities.data());
    state.counters["cities"] = static_cast<double>(base.cities.size());
  }
}
BENCHMARK(BM_LoadCityBase)->Unit(benchmark::kMillisecond);

// One chart's look-up: the city by name (the walk crosses the whole base for a
// city near its end), then the offset at a moment.
void BM_FindPlaceTimeAndOffset(benchmark::State& state, std::string city) {
  CityBase base;
  LoadCityBase(kIndexFile, base);
  const double moment = workspace::HoursSince1860({1985, 7, 12, 14, 5, 0});
  for (auto _ : state) {
    std::string name = city;
    const PlaceTime time = FindPlaceTime(base, name, kNoCoordinate, kNoCoordinate, nullptr);
    benchmark::DoNotOptimize(OffsetAt(time, moment, false));
  }
}
BENCHMARK_CAPTURE(BM_FindPlaceTimeAndOffset, moscow, std::string("Москва"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindPlaceTimeAndOffset, harare, std::string("Хараре"))
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelvara::places
