#include "places/places_list.h"

#include "places/messages.h"

namespace kelvara::places {

std::string ProgressCaption(PlacesWork work) {
  return work == PlacesWork::kLoading ? kCaptionLoading : kCaptionSaving;
}

std::string ProgressText(PlacesWork work, const PlacesProgress& progress) {
  const char* verb = work == PlacesWork::kLoading ? kProgressLoaded : kProgressSaved;
  return std::string(verb) + " " + std::to_string(progress.done) + "\r\n" +
         std::string(progress.current);
}

void BuildPlacesList(const CityBase& base, PlacesList& list, const ProgressCallback& progress) {
  if (list.loaded) return;
  list.places.reserve(list.places.size() + base.cities.size());
  for (const CityRecord& city : base.cities) {
    list.places.push_back({city.DisplayName(), city.Longitude(), city.Latitude()});
    if (progress) {
      progress({static_cast<int>(list.places.size()), list.places.back().name});
    }
  }
  list.loaded = true;
}

}  // namespace kelvara::places
