// The hour scale from 1860 and the GMT offset texts: the time fields of every chart.
#include "workspace/hour_scale.h"

#include <cmath>

#include <gtest/gtest.h>

#include "workspace/gmt_text.h"

namespace kelvara::workspace {
namespace {

TEST(HourScale, CountsYearsLeapDaysAndTimeOfDay) {
  EXPECT_DOUBLE_EQ(HoursSince1860({1860, 1, 1, 0, 0, 0}), 0.0);
  EXPECT_DOUBLE_EQ(HoursSince1860({1861, 1, 1, 0, 0, 0}), 8784.0);  // 1860 was a leap year
  EXPECT_DOUBLE_EQ(HoursSince1860({1900, 3, 1, 0, 0, 0}),
                   (40 * 365 + 10) * 24.0 + (31 + 28) * 24.0);     // 1900 was not
  EXPECT_DOUBLE_EQ(HoursSince1860({1860, 1, 2, 1, 30, 36}), 24.0 + 1.51);
  EXPECT_LT(HoursSince1860({1859, 12, 31, 23, 0, 0}), 0.0);
}

TEST(HourScale, InverseRoundsToTheSecondAcrossDateBoundaries) {
  for (const CalendarMoment m : {CalendarMoment{1860, 1, 1, 0, 0, 0}, CalendarMoment{2000, 2, 29, 23, 59, 59},
                                 CalendarMoment{2130, 12, 31, 12, 0, 1}, CalendarMoment{1859, 12, 31, 23, 0, 0}}) {
    EXPECT_EQ(MomentFromHours(HoursSince1860(m) + 1e-7), m) << m.year;
  }
}

TEST(HourScale, CarryMovesOverflowIntoTheNextUnits) {
  EXPECT_EQ(CarryOverflow({1999, 12, 31, 23, 60, 0}), (CalendarMoment{2000, 1, 1, 0, 0, 0}));
  EXPECT_EQ(CarryOverflow({1900, 2, 29, 0, 0, 0}), (CalendarMoment{1900, 3, 1, 0, 0, 0}));  // no 29 Feb 1900
  EXPECT_FALSE(CarryOverflow({2000, 13, 1, 0, 0, 0}));
  EXPECT_FALSE(CarryOverflow({2000, 1, 0, 0, 0, 0}));
  EXPECT_FALSE(CarryOverflow({2000, 1, 1, -1, 0, 0}));
  EXPECT_TRUE(CarryOverflow({2000, 1, 32767, 32767, 32767, 0}));
}

TEST(HourScale, ValidityCoversTheProgramsYearsAndTheCalendar) {
  EXPECT_TRUE(IsValidMoment({1860, 1, 1, 0, 0, 0}));
  EXPECT_TRUE(IsValidMoment({2130, 12, 31, 23, 59, 59}));
  EXPECT_FALSE(IsValidMoment({1859, 12, 31, 0, 0, 0}));
  EXPECT_FALSE(IsValidMoment({2131, 1, 1, 0, 0, 0}));
  EXPECT_FALSE(IsValidMoment({2001, 2, 29, 0, 0, 0}));
  EXPECT_TRUE(IsValidMoment({2000, 2, 29, 0, 0, 0}));
  EXPECT_FALSE(IsValidMoment({2000, 4, 31, 0, 0, 0}));
}

TEST(HourScale, ClampKeepsMomentsInsideTheProgramsYears) {
  EXPECT_DOUBLE_EQ(ClampToScale(-5.0), 0.0);
  EXPECT_DOUBLE_EQ(ClampToScale(std::nan("")), 0.0);
  EXPECT_DOUBLE_EQ(ClampToScale(1e12), ScaleEndHours());
  EXPECT_EQ(MomentFromHours(ScaleEndHours()).year, kLastYear);
  EXPECT_FALSE(IsWithinScale(ScaleEndHours() + 1.0));
  EXPECT_TRUE(IsWithinScale(1000.0));
}

TEST(GmtText, HoursAndMinutesBothWays) {
  const std::pair<const char*, double> pairs[] = {
      {"+05:30", 5.5}, {"+05:45", 5.75}, {"-03:30", -3.5}, {"+00:00", 0.0}, {"+13:00", 13.0}, {"-09:30", -9.5}};
  for (const auto& [text, hours] : pairs) {
    EXPECT_EQ(FormatGmtOffset(hours), text);
    EXPECT_EQ(ParseGmtOffset(text), hours) << text;
  }
  EXPECT_EQ(FormatGmtOffset(-0.0001), "+00:00");
  EXPECT_EQ(FormatGmtOffset(2.507704), "+02:30");
}

TEST(GmtText, ReadsLooseFormsAndRefusesOthers) {
  EXPECT_EQ(ParseGmtOffset(" 3 "), 3.0);
  EXPECT_EQ(ParseGmtOffset("-4"), -4.0);
  EXPECT_EQ(ParseGmtOffset("5:5"), 5.0 + 5.0 / 60);
  for (const char* bad : {"", "+", "5.5", "+05:60", "05:", ":30", "abc", "+5:30x", "+123:00", "--5"}) {
    EXPECT_FALSE(ParseGmtOffset(bad)) << bad;
  }
}

}  // namespace
}  // namespace kelvara::workspace
