#include "places/place_search.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "places/tests/test_support.h"

namespace kelvara::places {
namespace {

using testing::Entry;
using testing::MakeCity;
using testing::ZoneOf;
using Names = std::vector<std::string>;

PlacesList ListOf(Names names) {
  PlacesList list;
  for (std::string& name : names) list.places.push_back({std::move(name), 0.0, 0.0});
  return list;
}

Names Found(PlaceSearch& search, const PlacesList& list, std::string_view typed, std::size_t limit = kPlaceSearchLimit) {
  Names names;
  for (const std::size_t i : search.Find(typed, limit)) names.push_back(list.places[i].name);
  return names;
}

TEST(PlaceSearch, EqualNamesComeFirstThenThoseThatBeginWithTheText) {
  const PlacesList list = ListOf({"Кировск (Leningrad, RU)", "Москва", "Киров", "Кировоград", "Киров (UA)", "Ёлкино",
                                  "ЕЛКИНО (Perm, RU)", "А", "Ая", "А"});
  PlaceSearch search(list);
  EXPECT_EQ(Found(search, list, "киров"), (Names{"Киров", "Кировск (Leningrad, RU)", "Кировоград", "Киров (UA)"}));
  EXPECT_EQ(Found(search, list, "  КИРОВ (ua)\t"), (Names{"Киров (UA)"}));
  EXPECT_EQ(Found(search, list, "ЁЛК"), (Names{"Ёлкино", "ЕЛКИНО (Perm, RU)"}));
  EXPECT_EQ(Found(search, list, "елкино"), (Names{"Ёлкино", "ЕЛКИНО (Perm, RU)"}));
  // The limit cuts the group of beginnings first.
  EXPECT_EQ(search.Find("а", 3), (std::vector<std::size_t>{7, 9, 8}));
  EXPECT_EQ(search.Find("а", 1), (std::vector<std::size_t>{7}));
  for (const char* nothing : {"", "  ", "Париж", "Москва и"}) EXPECT_TRUE(search.Find(nothing).empty()) << nothing;
}

TEST(PlaceSearch, PlacesTheListGainsAreFoundToo) {
  PlacesList list = ListOf({"Тверь", "Тула"});
  PlaceSearch search(list);
  EXPECT_EQ(search.Find("т").size(), 2u);
  list.places.push_back({"Тамбов", 41.4, 52.7});  // as an import appends
  EXPECT_EQ(search.Find("т"), (std::vector<std::size_t>{0, 1, 2}));
  list = ListOf({"Омск"});  // a list that shrank is keyed again
  EXPECT_TRUE(search.Find("т").empty());
  EXPECT_EQ(search.Find("омск"), (std::vector<std::size_t>{0}));
}

TEST(PlaceSearch, ChoosingAPlaceTakesTheOffsetInForceAtTheLocalMoment) {
  CityBase base;
  // +3 from 1900; summer time +4 from 1 April 1981 02:00 to 1 October 1981 02:00.
  base.cities = {MakeCity("Город", "", 50.0, 40.0,
                          {Entry(1900, 1, 1, 0, 0, ZoneOf(3.0), 0), Entry(1981, 4, 1, 2, 0, ZoneOf(3.0), 1),
                           Entry(1981, 10, 1, 2, 0, ZoneOf(3.0), 0)})};
  const PlaceRecord city{"Город", 40.0, 50.0};
  const struct {
    PlaceRecord place;
    workspace::CalendarMoment local;
    double offset;
  } cases[] = {
      {city, {1981, 7, 1, 12, 0, 0}, 4.0},
      {city, {1981, 4, 1, 1, 59, 0}, 3.0},
      {city, {1890, 7, 1, 12, 0, 0}, 7.25},               // before the first period: unchanged
      {{"Мой дом", 40.0, 50.0}, {1981, 7, 1, 12, 0, 0}, 4.0},  // another name at the city's spot
      {{"Нигде", -10.0, 10.0}, {1981, 7, 1, 12, 0, 0}, 7.25},  // unknown to the base
  };
  for (const auto& c : cases) {
    const ChosenPlace chosen = ChoosePlace(base, c.place, c.local, 7.25);
    EXPECT_EQ(chosen.offsetHours, c.offset) << c.place.name << " " << c.local.year << "-" << c.local.month;
    EXPECT_EQ(chosen.latitudeDeg, c.place.latitude);
    EXPECT_EQ(chosen.longitudeDeg, c.place.longitude);
  }
}

TEST(PlaceSearch, MoscowLeadsOnTheRealBaseAndHadSummerTimeIn1985) {
  CityBase base;
  LoadCityBase(std::filesystem::path(KELVARA_SOURCE_DIR) / "data" / kCityBaseFileName, base);
  PlacesList list;
  BuildPlacesList(base, list, {});
  ASSERT_GT(list.places.size(), 30000u);
  PlaceSearch search(list);
  const std::vector<std::size_t> found = search.Find("моск");
  ASSERT_FALSE(found.empty());
  const PlaceRecord& moscow = list.places[found.front()];
  EXPECT_EQ(moscow.name, "Москва");
  const ChosenPlace summer = ChoosePlace(base, moscow, {1985, 7, 12, 12, 0, 0}, 0.0);
  EXPECT_NEAR(summer.latitudeDeg, 55.7522, 1e-4);
  EXPECT_NEAR(summer.longitudeDeg, 37.6156, 1e-4);
  EXPECT_EQ(summer.offsetHours, 4.0);
  EXPECT_EQ(ChoosePlace(base, moscow, {1985, 1, 12, 12, 0, 0}, 0.0).offsetHours, 3.0);
  EXPECT_EQ(search.Find("с").size(), kPlaceSearchLimit);
}

}  // namespace
}  // namespace kelvara::places
