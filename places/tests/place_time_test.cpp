#include "places/place_time.h"

#include <cmath>
#include <initializer_list>
#include <utility>

#include <gtest/gtest.h>

#include "places/chart_zones.h"
#include "places/messages.h"
#include "places/tests/test_support.h"

namespace kelvara::places {
namespace {

using testing::Entry;
using testing::MakeCity;
using testing::ZoneOf;

double Hours(int year, int month, int day, int hour, int minute = 0) {
  return workspace::HoursSince1860({year, month, day, hour, minute, 0});
}

double OffsetOrNan(const PlaceTime& time, double moment, bool greenwich) {
  const auto period = OffsetAt(time, moment, greenwich);
  return period ? period->offsetHours : std::nan("");
}

// Offsets expected at moments of the local clock (or of Greenwich).
void ExpectOffsets(const PlaceTime& time, bool greenwich, std::initializer_list<std::pair<double, double>> checks) {
  for (const auto& [moment, offset] : checks) {
    EXPECT_DOUBLE_EQ(OffsetOrNan(time, moment, greenwich), offset) << "at hour " << moment << " since 1860";
  }
}

TEST(PlaceTime, EntryOffsetsFollowTheKindAndTheZone) {
  const int moscow = ZoneOf(3.0);
  EXPECT_DOUBLE_EQ(*EntryOffsetHours(Entry(2000, 1, 1, 0, 0, moscow, 0), 0), 3.0);
  EXPECT_DOUBLE_EQ(*EntryOffsetHours(Entry(2000, 1, 1, 0, 0, moscow, 1), 0), 4.0);
  EXPECT_DOUBLE_EQ(*EntryOffsetHours(Entry(2000, 1, 1, 0, 0, moscow, 2), 0), 4.0);
  EXPECT_DOUBLE_EQ(*EntryOffsetHours(Entry(2000, 1, 1, 0, 0, moscow, 3), 0), 5.0);
  EXPECT_DOUBLE_EQ(*EntryOffsetHours(Entry(2000, 1, 1, 0, 0, 1, 0), 0), -4.0 / 3600.0);
  EXPECT_DOUBLE_EQ(*EntryOffsetHours(Entry(1860, 1, 1, 0, 0, 0, 30000), 37.5), 2.5);
  EXPECT_DOUBLE_EQ(*EntryOffsetHours(Entry(1860, 1, 1, 0, 0, 0, 30000), 400.0), 12.0);
  EXPECT_FALSE(EntryOffsetHours(Entry(2000, 1, 1, 0, 0, 0, 7), 0));
}

TEST(PlaceTime, OffsetAtPicksTheLastPeriodStartedInLocalOrGreenwichTime) {
  // Kyiv-like list: local mean time, then +3 from 1930, summer time +4 from 1981.
  const TimeChangeList list = {Entry(1860, 1, 1, 0, 0, 0, 30000),
                               Entry(1930, 6, 21, 0, 0, ZoneOf(3), 0),
                               Entry(1981, 4, 1, 1, 0, ZoneOf(3), 1)};
  const PlaceTime time = ExpandTimeChanges(list, 30.5);
  ASSERT_EQ(time.periods.size(), 3u);
  ExpectOffsets(time, false, {{Hours(1900, 1, 1, 0), 30.5 / 15.0}, {Hours(1930, 6, 21, 0), 3.0},
                              {Hours(1981, 4, 1, 0, 59), 3.0}, {Hours(1981, 4, 1, 1), 4.0}});
  // In Greenwich time the summer period starts at 1981-03-31 21:00.
  ExpectOffsets(time, true, {{Hours(1981, 3, 31, 20, 59), 3.0}, {Hours(1981, 3, 31, 21), 4.0}});
  EXPECT_TRUE(std::isnan(OffsetOrNan(time, Hours(1859, 12, 31, 23), false)));
}

TEST(PlaceTime, InvalidPeriodsAreSkippedAndOverflowIsCarried) {
  const TimeChangeList list = {Entry(1900, 1, 1, 0, 0, ZoneOf(1), 0),
                               Entry(1950, 13, 1, 0, 0, ZoneOf(5), 0),   // month 13
                               Entry(1951, 2, 0, 0, 0, ZoneOf(6), 0),    // day 0
                               Entry(1859, 6, 1, 0, 0, ZoneOf(7), 0),    // before 1860
                               Entry(2131, 1, 1, 0, 0, ZoneOf(8), 0),    // after 2130
                               Entry(1960, 1, 1, 0, 0, ZoneOf(9), 44),   // unknown kind
                               Entry(1970, 1, 31, 23, 60, ZoneOf(2), 0)};  // = 1 February 00:00
  const PlaceTime time = ExpandTimeChanges(list, 0);
  ASSERT_EQ(time.periods.size(), 2u);
  EXPECT_DOUBLE_EQ(time.periods[1].startHours, Hours(1970, 2, 1, 0));
  ExpectOffsets(time, false, {{Hours(1970, 1, 31, 23, 59), 1.0}, {Hours(2100, 1, 1, 0), 2.0}});
}

TEST(PlaceTime, KindTenGeneratesSummerTimeYearByYearUntil2010) {
  const TimeChangeList list = {Entry(1860, 1, 1, 0, 0, 0, 30000),
                               Entry(1984, 1, 1, 0, 0, ZoneOf(-5), 10)};
  const PlaceTime time = ExpandTimeChanges(list, -74.0);
  EXPECT_TRUE(time.warning.empty());
  // 1985: last Sunday of April is the 28th; from 1986 the first Sunday (6 April 1986). Summer
  // time ends at 02:00 on the last Sunday of October (26 October 1986).
  ExpectOffsets(time, false, {{Hours(1985, 4, 28, 1, 59), -5.0}, {Hours(1985, 4, 28, 2), -4.0},
                              {Hours(1986, 4, 6, 2), -4.0},       {Hours(1986, 4, 5, 12), -5.0},
                              {Hours(1986, 10, 26, 1, 59), -4.0}, {Hours(1986, 10, 26, 2), -5.0},
                              {Hours(2010, 7, 1, 0), -4.0},       {Hours(2011, 7, 1, 0), -5.0},
                              {Hours(1984, 7, 1, 0), -4.0},       {Hours(1983, 7, 1, 0), -74.0 / 15.0}});
}

TEST(PlaceTime, EntriesAfterKindTenAreDroppedWithTheWarning) {
  const TimeChangeList list = {Entry(2000, 1, 1, 0, 0, ZoneOf(1), 10),
                               Entry(2005, 1, 1, 0, 0, ZoneOf(9), 0)};
  const PlaceTime time = ExpandTimeChanges(list, 0);
  EXPECT_EQ(time.warning, kEntriesAfterGeneratedWarning);
  EXPECT_DOUBLE_EQ(OffsetOrNan(time, Hours(2006, 1, 1, 0), false), 1.0);
}

class FindPlaceTimeTest : public ::testing::Test {
 protected:
  FindPlaceTimeTest() {
    const TimeChangeList plusThree = {Entry(1900, 1, 1, 0, 0, ZoneOf(3), 0)};
    const TimeChangeList plusFive = {Entry(1900, 1, 1, 0, 0, ZoneOf(5), 0)};
    base_.cities = {MakeCity("Москва", "", 55.75222, 37.61556, plusThree),
                    MakeCity("Екатеринбург", "", 56.8519, 60.6122, plusFive)};
  }

  CityBase base_;
  std::vector<std::string> questions_;
  std::vector<std::string> reminders_;

  RenameUi Answering(bool yes) {
    return {[this, yes](const std::string& q) { questions_.push_back(q); return yes; },
            [this](const std::string& m) { reminders_.push_back(m); }};
  }
};

TEST_F(FindPlaceTimeTest, APlaceAtACitysPositionIsRenamedAfterTheQuestion) {
  const RenameUi yes = Answering(true);
  std::string name = "Moskva";
  const PlaceTime time = FindPlaceTime(base_, name, 55.7530, 37.6170, &yes);
  EXPECT_EQ(name, "Москва");
  ExpectOffsets(time, false, {{Hours(2000, 1, 1, 0), 3.0}});
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_EQ(questions_[0],
            "Географические координаты населенного пункта \"Moskva\"\nсоответствуют "
            "населенному пункту \"Москва\"\nв новой базе городов.\n\nЗаменить на новое "
            "название\nдля учета автоматического изменения времени?");
  EXPECT_EQ(reminders_, std::vector<std::string>{"Не забудьте сделать сохранение в файле."});
}

TEST_F(FindPlaceTimeTest, RefusingTheNewNameKeepsTheOldOne) {
  const RenameUi no = Answering(false);
  std::string name = "Moskva";
  EXPECT_FALSE(FindPlaceTime(base_, name, 55.7530, 37.6170, &no).found);
  EXPECT_EQ(name, "Moskva");
  EXPECT_TRUE(reminders_.empty());
}

TEST_F(FindPlaceTimeTest, WithoutAskingTheNameIsReplacedSilently) {
  std::string name = "Moskva";
  EXPECT_TRUE(FindPlaceTime(base_, name, 55.7530, 37.6170, nullptr).found);
  EXPECT_EQ(name, "Москва");
}

TEST_F(FindPlaceTimeTest, OnlyPositionsWithinTenArcSecondsCount) {
  std::string name = "Moskva";
  EXPECT_FALSE(FindPlaceTime(base_, name, 55.75222 + 0.003, 37.61556, nullptr).found);
  EXPECT_FALSE(FindPlaceTime(base_, name, kNoCoordinate, 37.61556, nullptr).found);
  EXPECT_EQ(name, "Moskva");
}

// The chart's questions go through FindPlaceTime: by display name, by position, or not at all.
TEST_F(FindPlaceTimeTest, ChartZonesAnswerForKnownPlacesOnly) {
  const CityBaseZones zones(base_);
  const double moment = Hours(2000, 1, 1, 0);
  EXPECT_EQ(zones.OffsetHoursAt("Екатеринбург", kNoCoordinate, kNoCoordinate, moment, true), 5.0);
  EXPECT_EQ(zones.OffsetHoursAt("Moskva", 55.7530, 37.6170, moment, false), 3.0);
  EXPECT_FALSE(zones.OffsetHoursAt("Атлантида", 10.0, 10.0, moment, true));
}

}  // namespace
}  // namespace kelvara::places
