// The cities table the base is made from (see data/README.md for its columns).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvara::citybase {

struct CitySource {
  std::string nameRu;
  std::string name;
  std::string country;
  std::string admin1;
  double latitude = 0.0;
  double longitude = 0.0;
  long long population = 0;
  std::string zone;  // IANA zone name
};

// Parses the CSV text (header row first, RFC 4180 quoting). Throws
// std::runtime_error naming the line of a malformed row.
std::vector<CitySource> ParseCitiesCsv(std::string_view text);

// Splits one record into fields; `text` advances past the record and its line end.
std::vector<std::string> NextCsvRecord(std::string_view& text);

}  // namespace kelvara::citybase
