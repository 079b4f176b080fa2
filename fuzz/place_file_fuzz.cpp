// Place files, text or binary by the scratch file's name (KELVARA_PLACE_FILE): loaded into a
// list that already holds a place, so the question about other coordinates comes up too.
// Every place added is counted, and none lies outside the globe.
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "places/place_files.h"
#include "places/place_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvara;
  const auto file = fuzz::WriteScratchFile(KELVARA_PLACE_FILE, fuzz::Bytes(data, size));
  places::PlacesList list;
  list.places.push_back({"Москва", 37.61556, 55.75222});
  const std::size_t before = list.places.size();
  places::PlaceFileUi ui;
  ui.progress = [](const places::PlacesProgress&) { return true; };
  ui.confirmKeepOld = [](const std::string&) { return true; };
  const places::PlaceFileResult result = places::LoadPlaces(file, list, ui);
  fuzz::Require(list.places.size() == before + static_cast<std::size_t>(result.placesDone),
                "places added but not counted");
  for (const places::PlaceRecord& place : list.places) {
    fuzz::Require(places::CoordinatesInRange(place.latitude, place.longitude), "a place off the globe");
  }
  return 0;
}
