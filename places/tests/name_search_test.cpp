#include "places/name_search.h"

#include <gtest/gtest.h>

#include "places/tests/test_support.h"

namespace kelvara::places {
namespace {

using testing::MakeCity;

TEST(NameSearch, CaseAndTheLetterYoDoNotMatter) {
  EXPECT_EQ(NameSearchKey("ЩЁЛКОВО"), NameSearchKey("щелково"));
  EXPECT_EQ(NameSearchKey("Кишинёв"), NameSearchKey("КИШИНЕВ"));
  EXPECT_EQ(NameSearchKey("ZÜRICH"), NameSearchKey("zürich"));
  EXPECT_NE(NameSearchKey("Орел"), NameSearchKey("Орёл ("));
}

TEST(NameSearch, ExactMatchesComeBeforePrefixMatches) {
  CityBase base;
  base.cities = {MakeCity("Кировск", "(Leningrad, RU)", 59.9, 31.0),
                 MakeCity("Киров", "", 58.6, 49.7), MakeCity("Москва", "", 55.7, 37.6),
                 MakeCity("Кировоград", "", 48.5, 32.3)};
  EXPECT_EQ(FindCitiesByName(base, "киров"), (std::vector<std::size_t>{1, 0, 3}));
  EXPECT_EQ(FindCitiesByName(base, " Кировск (Leningrad, RU) "), (std::vector<std::size_t>{0}));
  EXPECT_TRUE(FindCitiesByName(base, "").empty());
  EXPECT_TRUE(FindCitiesByName(base, "Лондон").empty());
}

}  // namespace
}  // namespace kelvara::places
