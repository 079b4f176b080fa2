// The city base "IndexFile", read from the scratch file in chunks as at start-up and from
// memory: both must find the same cities and stop at the same place.
#include <cmath>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "places/city_base.h"

namespace {

// A city without a list has none at all (a null pointer), not an empty one.
bool SameList(const kelvara::places::CityRecord& a, const kelvara::places::CityRecord& b) {
  return a.timeChanges && b.timeChanges ? *a.timeChanges == *b.timeChanges : a.timeChanges == b.timeChanges;
}

bool SameCity(const kelvara::places::CityRecord& a, const kelvara::places::CityRecord& b) {
  const auto same = [](double x, double y) { return x == y || (std::isnan(x) && std::isnan(y)); };
  return a.DisplayName() == b.DisplayName() && same(a.encodedX, b.encodedX) && same(a.encodedY, b.encodedY) &&
         same(a.zoneNumber, b.zoneNumber) && SameList(a, b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvara;
  const auto file = fuzz::WriteScratchFile(places::kCityBaseFileName, fuzz::Bytes(data, size));
  places::CityBase fromFile;
  places::CityBase fromMemory;
  const places::CityBaseLoad loaded = places::LoadCityBase(file, fromFile);
  const places::CityBaseLoad parsed = places::ParseCityBase(fuzz::Bytes(data, size), fromMemory);
  fuzz::Require(loaded.status == parsed.status && loaded.message == parsed.message, "file and memory disagree");
  fuzz::Require(fromFile.cities.size() == fromMemory.cities.size(), "file and memory found other cities");
  for (std::size_t i = 0; i < fromFile.cities.size(); ++i) {
    const places::CityRecord& city = fromFile.cities[i];
    fuzz::Require(SameCity(city, fromMemory.cities[i]), "file and memory read a city differently");
    fuzz::Require(std::fabs(city.Latitude()) <= 90.0 && std::fabs(city.Longitude()) <= 180.0,
                  "a city off the globe");
  }
  return 0;
}
