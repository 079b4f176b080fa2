// One keystroke in a place combo box: a search of the whole places list built from the
// IndexFile the build copies beside the programs, and the keying of that list.
#include <benchmark/benchmark.h>

#include <string>

#include "places/city_base.h"
#include "places/place_search.h"
#include "places/places_list.h"

namespace kelvara::places {
namespace {

const PlacesList& RealPlaces() {
  static const PlacesList list = [] {
    CityBase base;
    LoadCityBase(std::filesystem::path(KELVARA_BIN_DIR) / "data" / kCityBaseFileName, base);
    PlacesList built;
    BuildPlacesList(base, built, {});
    return built;
  }();
  return list;
}

void BM_PlaceSearchKeystroke(benchmark::State& state, std::string typed) {
  PlaceSearch search(RealPlaces());
  search.CatchUp();
  for (auto _ : state) benchmark::DoNotOptimize(search.Find(typed));
  state.counters["places"] = static_cast<double>(RealPlaces().places.size());
  state.counters["answers"] = static_cast<double>(search.Find(typed).size());
}
BENCHMARK_CAPTURE(BM_PlaceSearchKeystroke, moscow_prefix, std::string("моск"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PlaceSearchKeystroke, one_letter, std::string("с"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PlaceSearchKeystroke, no_answer, std::string("щщщ"))->Unit(benchmark::kMicrosecond);

// The first keystroke also keys every place once.
void BM_PlaceSearchKeying(benchmark::State& state) {
  for (auto _ : state) {
    PlaceSearch search(RealPlaces());
    search.CatchUp();
    benchmark::DoNotOptimize(search);
  }
}
BENCHMARK(BM_PlaceSearchKeying)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvara::places
