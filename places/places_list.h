// The places list that every place combo box offers, with the progress report of
// the long operations on it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "places/city_base.h"

namespace kelvara::places {

struct PlaceRecord {
  std::string name;
  double longitude = 0.0;  // degrees, east positive
  double latitude = 0.0;   // degrees, north positive
};

struct PlacesList {
  std::vector<PlaceRecord> places;
  bool loaded = false;
};

enum class PlacesWork { kLoading, kSaving };

struct PlacesProgress {
  int done = 0;              // places done so far
  std::string_view current;  // name of the place just handled
};

// Called after each place; returning false is the "Прервать" button.
using ProgressCallback = std::function<bool(const PlacesProgress&)>;

std::string ProgressCaption(PlacesWork work);
// "Загружено  12\r\nМосква": the text the progress window's timer shows.
std::string ProgressText(PlacesWork work, const PlacesProgress& progress);

// Fills the list from the city base once; later calls leave a built list alone.
void BuildPlacesList(const CityBase& base, PlacesList& list, const ProgressCallback& progress);

}  // namespace kelvara::places
