// Names of the cities as the base stores them: Windows-1251 letters only, and a
// suffix (region and country) wherever two places would share a display name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/citybase/cities_csv.h"

namespace kelvara::citybase {

// UTF-8 text reduced to what Windows-1251 holds: "São Paulo" becomes "Sao Paulo".
std::string ToCp1251Letters(std::string_view utf8);

struct CityName {
  std::string name;    // Russian name, else the local one
  std::string suffix;  // empty, "(Region, CC)" or "(Region, CC, 40.24 44.29)"
};

// One name per city, in the same order. The most populous place of a name keeps it
// plain; the others are told apart by region and country, then by position.
// Throws std::runtime_error if two display names would still be the same.
std::vector<CityName> NameCities(const std::vector<CitySource>& cities);

}  // namespace kelvara::citybase
