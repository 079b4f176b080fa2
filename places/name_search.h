// Finding places by what the user types: case does not matter and "е" matches "ё".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "places/city_base.h"

namespace kelvara::places {

// The form names are compared in: lower case, "ё" as "е" (UTF-16 units).
std::u16string NameSearchKey(std::string_view utf8Name);

// Indexes of the cities whose display name equals the typed name, then of those
// whose display name begins with it, each group in the base's order.
std::vector<std::size_t> FindCitiesByName(const CityBase& base, std::string_view typedName);

// The display name of the city that stands for a system time zone ("Europe/Moscow"):
// the city of that zone (the base's fourth text) whose first text is the zone's last
// part with blanks for underscores, else the most populous city of the zone.
std::optional<std::string> ZoneCityName(const CityBase& base, std::string_view zoneName);

}  // namespace kelvara::places
