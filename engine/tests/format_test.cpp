#include "engine/format.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelvara::engine {
namespace {

TEST(Format, ClockTimesInBothForms) {
  EXPECT_EQ(" 2:05pm", FormatClock(14.05));
  EXPECT_EQ("12:00am", FormatClock(0.0));
  EXPECT_EQ("12:30pm", FormatClock(12.30));
  EXPECT_EQ("14:05", FormatClock(14.05, {.clock_24h = true}));
  EXPECT_EQ(" 9:59", FormatClock(9.59, {.clock_24h = true}));  // no rounding up to 10:00
  EXPECT_EQ(" 1:10", FormatTime(24, 70, {.clock_24h = true}));  // carried and folded
}

TEST(Format, ZonesArePositiveWestInside) {
  EXPECT_EQ("+3:00", FormatZone(-3.0));
  EXPECT_EQ("-5:00", FormatZone(5.0));
  EXPECT_EQ("+5:30", FormatZone(-5.30));
  EXPECT_EQ("+0:00", FormatZone(0.0));
}

TEST(Format, PlacesWithEachSeparator) {
  EXPECT_EQ("122:20W 47:36N", FormatPlace(122.20, 47.36));
  EXPECT_EQ(" 37:35E 55:45N", FormatPlace(-37.35, 55.45));
  EXPECT_EQ(" 37:35E 33:52S", FormatPlace(-37.35, -33.52));
  EXPECT_EQ("122W20 47N36", FormatPlace(122.20, 47.36, {.place_separator = 3}));
  EXPECT_EQ("122\xF8" "20W 47\xF8" "36N", FormatPlace(122.20, 47.36, {.place_separator = 1}));
}

TEST(Format, AbsurdValuesGiveShortTexts) {
  EXPECT_LT(FormatPlace(1e300, -1e300).size(), 40u);
  EXPECT_LT(FormatZone(1e300).size(), 20u);
  EXPECT_LT(FormatClock(-1e300).size(), 20u);
  EXPECT_LT(FormatClock(std::nan("")).size(), 20u);
}

}  // namespace
}  // namespace kelvara::engine
