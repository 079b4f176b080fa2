// Finding places of the places list by what the user types, fast enough to answer
// every keystroke, and what choosing one of them fills in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "places/city_base.h"
#include "places/places_list.h"
#include "workspace/hour_scale.h"

namespace kelvara::places {

// More answers than a drop-down can usefully show are never asked for.
inline constexpr std::size_t kPlaceSearchLimit = 200;

// Keeps the search form (NameSearchKey) of every place's name, each computed once.
// The list only grows (by imports); places it gained are keyed on the next search.
class PlaceSearch {
 public:
  explicit PlaceSearch(const PlacesList& list) : list_(list) {}

  // Indexes into the list of the places whose name equals the typed text, then of
  // those whose name begins with it, each group in list order, at most `limit` in
  // all. Case does not matter, "ё" matches "е"; blank text finds nothing.
  std::vector<std::size_t> Find(std::string_view typed, std::size_t limit = kPlaceSearchLimit);

  // Keys the places the list gained since the last search.
  void CatchUp();

 private:
  const PlacesList& list_;
  std::vector<std::u16string> keys_;
};

// What choosing a place fills in: its coordinates and the offset from Greenwich in
// force at the entered local moment.
struct ChosenPlace {
  double latitudeDeg = 0.0;
  double longitudeDeg = 0.0;
  double offsetHours = 0.0;
};

// The offset comes from the city base; when the base does not know the place, or has
// no period for that moment, `offsetHours` is returned unchanged.
ChosenPlace ChoosePlace(const CityBase& base, const PlaceRecord& place,
                        const workspace::CalendarMoment& local, double offsetHours);

}  // namespace kelvara::places
