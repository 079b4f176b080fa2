#include <cmath>

#include <gtest/gtest.h>

#include "places/city_base.h"
#include "places/name_search.h"
#include "places/place_time.h"
#include "tools/citybase/base_builder.h"
#include "tools/citybase/city_names.h"

namespace kelvara::citybase {
namespace {

CitySource Source(std::string nameRu, std::string name, std::string country, std::string admin1,
                  long long population, double latitude = 50.0, double longitude = 30.0) {
  return {nameRu, name, country, admin1, latitude, longitude, population, "Europe/Kyiv"};
}

TEST(CitiesCsv, QuotedFieldsAndLineEndsAreRead) {
  const auto cities = ParseCitiesCsv(
      "name_ru,name,country,admin1,lat,lon,population,tz\r\n"
      "Москва,Moscow,RU,Moscow,55.75222,37.61556,10381222,Europe/Moscow\r\n"
      ",\"Kingston, \"\"Upon\"\" Hull\",GB,England,53.74460,-0.33525,314018,Europe/London\n");
  ASSERT_EQ(cities.size(), 2u);
  EXPECT_EQ(cities[0].nameRu, "Москва");
  EXPECT_DOUBLE_EQ(cities[0].longitude, 37.61556);
  EXPECT_EQ(cities[1].name, "Kingston, \"Upon\" Hull");
  EXPECT_EQ(cities[1].zone, "Europe/London");
  EXPECT_THROW(ParseCitiesCsv("name_ru,name\r\nA,B\r\n"), std::runtime_error);
  EXPECT_THROW(ParseCitiesCsv("name_ru,name,country,admin1,lat,lon,population,tz\r\n"
                              "A,B,C,D,north,1,1,Europe/Kyiv\r\n"),
               std::runtime_error);
}

TEST(CityNames, LettersOutsideTheCodePageAreTransliterated) {
  EXPECT_EQ(ToCp1251Letters("São Paulo"), "Sao Paulo");
  EXPECT_EQ(ToCp1251Letters("Bălţi"), "Balti");
  EXPECT_EQ(ToCp1251Letters("Ryazan’"), "Ryazan’");
  EXPECT_EQ(ToCp1251Letters("Щёлково"), "Щёлково");
}

TEST(CityNames, TheLargestPlaceKeepsTheNameAndTheOthersGetRegionAndCountry) {
  const auto names = NameCities({Source("Кировск", "Kirawsk", "BY", "Mogilev", 8700),
                                 Source("Кировск", "Kirovsk", "RU", "Murmansk", 29605),
                                 Source("", "Kirovsk", "RU", "Murmansk", 100, 67.0, 33.0),
                                 Source("Киров", "Kirov", "RU", "Kirov", 500000),
                                 Source("Щёлково", "Shchyolkovo", "RU", "Moscow Oblast", 10),
                                 Source("Щелково", "Shchelkovo", "RU", "Moscow", 20)});
  EXPECT_EQ(names[0].suffix, "(Mogilev, BY)");
  EXPECT_EQ(names[1].suffix, "");
  EXPECT_EQ(names[2].name, "Kirovsk");  // no Russian name: the local one
  EXPECT_EQ(names[2].suffix, "");
  EXPECT_EQ(names[3].suffix, "");
  EXPECT_EQ(names[4].suffix, "(Moscow Oblast, RU)");  // "ё" and "е" are one name
  EXPECT_EQ(names[5].suffix, "");
}

TEST(CityNames, PlacesOfOneRegionAreToldApartByPosition) {
  const auto names = NameCities({Source("Айгешат", "A", "AM", "Armavir", 1358, 40.23608, 44.28888),
                                 Source("Айгешат", "A", "AM", "Armavir", 1606, 40.07507, 44.0611),
                                 Source("Айгешат", "A", "AM", "Armavir", 900, 40.1, 44.2)});
  EXPECT_EQ(names[0].suffix, "(Armavir, AM, 40.24 44.29)");
  EXPECT_EQ(names[1].suffix, "");
  EXPECT_EQ(names[2].suffix, "(Armavir, AM, 40.10 44.20)");
  EXPECT_THROW(NameCities({Source("X", "X", "AM", "R", 2, 40.1, 44.2),
                           Source("X", "X", "AM", "R", 1, 40.1, 44.2),
                           Source("X", "X", "AM", "R", 1, 40.1, 44.2)}),
               std::runtime_error);
}

// The committed base, checked at moments whose offsets are history, not rules.
class CommittedBase : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    base_ = new places::CityBase;
    places::LoadCityBase(std::string(KELVARA_SOURCE_DIR) + "/data/IndexFile", *base_);
  }
  static void TearDownTestSuite() { delete base_; }

  static double Offset(const char* city, workspace::CalendarMoment local) {
    std::string name = city;
    const places::PlaceTime time =
        places::FindPlaceTime(*base_, name, places::kNoCoordinate, places::kNoCoordinate, nullptr);
    const auto period = places::OffsetAt(time, local, false);
    return period ? period->offsetHours : NAN;
  }

  static places::CityBase* base_;
};

places::CityBase* CommittedBase::base_ = nullptr;

TEST_F(CommittedBase, HoldsEveryCityOfTheTable) {
  EXPECT_GE(base_->cities.size(), 34551u);
  EXPECT_EQ(places::FindCitiesByName(*base_, "Лондон").size(), 2u);
  EXPECT_EQ(base_->cities[places::FindCitiesByName(*base_, "Лондон (Ontario, CA)")[0]].fourthText,
            "America/Toronto");
}

TEST_F(CommittedBase, PlacesFollowTheirDecreesAndFarFutureRules) {
  // Before its first decree Moscow keeps its own mean time.
  EXPECT_NEAR(Offset("Москва", {1870, 1, 1, 12, 0, 0}), 37.61556 / 15.0, 1e-9);
  // At noon on the first of the month.
  struct Case {
    const char* city;
    int year, month;
    double offsetHours;
  };
  const Case cases[] = {
      {"Москва", 1925, 1, 2.0},     {"Москва", 1985, 7, 4.0},     {"Москва", 1985, 12, 3.0},
      {"Москва", 2012, 1, 4.0},     {"Москва", 2013, 7, 4.0},     {"Москва", 2015, 7, 3.0},
      {"Лондон", 1970, 1, 1.0},     {"Лондон", 2100, 7, 1.0},     {"Нью-Йорк", 2000, 1, -5.0},
      {"Нью-Йорк", 2130, 7, -4.0},  {"Катманду", 2000, 1, 5.75},  {"Сидней", 2000, 1, 11.0},
      {"Калининград", 2012, 7, 3.0},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(Offset(c.city, {c.year, c.month, 1, 12, 0, 0}), c.offsetHours) << c.city << " " << c.year << "-" << c.month;
  }
}

}  // namespace
}  // namespace kelvara::citybase
