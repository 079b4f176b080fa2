// Makes the city base "IndexFile" from the cities table and the system's zoneinfo.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/citybase/cities_csv.h"

namespace kelvara::citybase {

// The whole file image. Throws std::runtime_error when a zone cannot be read or
// two places would share a display name.
std::string BuildCityBase(const std::vector<CitySource>& cities,
                          const std::filesystem::path& zoneinfoDir);

}  // namespace kelvara::citybase
