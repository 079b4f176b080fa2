// citybase CITIES.csv ZONEINFO-DIR OUTPUT: writes the city base "IndexFile".
#include <cstdio>
#include <exception>

#include "platform/file_io.h"
#include "tools/citybase/base_builder.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s CITIES.csv ZONEINFO-DIR OUTPUT\n", argv[0]);
    return 2;
  }
  try {
    const auto csv = kelvara::platform::ReadFileBytes(argv[1]);
    if (!csv) throw std::runtime_error(std::string("cannot read ") + argv[1]);
    const auto cities = kelvara::citybase::ParseCitiesCsv(*csv);
    const std::string base = kelvara::citybase::BuildCityBase(cities, argv[2]);
    if (!kelvara::platform::WriteFileAtomically(argv[3], base)) {
      throw std::runtime_error(std::string("cannot write ") + argv[3]);
    }
    std::printf("%zu cities, %zu bytes written to %s\n", cities.size(), base.size(), argv[3]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "citybase: %s\n", error.what());
    return 1;
  }
  return 0;
}
