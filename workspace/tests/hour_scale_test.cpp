#include "workspace/hour_scale.h"

#include <cmath>

#include <gtest/gtest.h>

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
  for (const CalendarMoment m : {CalendarMoment{1860, 1, 1, 0, 0, 0},
                                 CalendarMoment{2000, 2, 29, 23, 59, 59},
                                 CalendarMoment{2130, 12, 31, 12, 0, 1},
                                 CalendarMoment{1859, 12, 31, 23, 0, 0}}) {
    const CalendarMoment back = MomentFromHours(HoursSince1860(m) + 1e-7);
    EXPECT_EQ(back.year, m.year);
    EXPECT_EQ(back.month, m.month);
    EXPECT_EQ(back.day, m.day);
    EXPECT_EQ(back.hour, m.hour);
    EXPECT_EQ(back.minute, m.minute);
    EXPECT_EQ(back.second, m.second);
  }
}

TEST(HourScale, CarryMovesOverflowIntoTheNextUnits) {
  const auto newYear = CarryOverflow({1999, 12, 31, 23, 60, 0});
  ASSERT_TRUE(newYear);
  EXPECT_EQ(newYear->year, 2000);
  EXPECT_EQ(newYear->month, 1);
  EXPECT_EQ(newYear->day, 1);
  EXPECT_EQ(newYear->hour, 0);

  const auto march = CarryOverflow({1900, 2, 29, 0, 0, 0});  // no 29 February in 1900
  ASSERT_TRUE(march);
  EXPECT_EQ(march->month, 3);
  EXPECT_EQ(march->day, 1);

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

}  // namespace
}  // namespace kelvara::workspace
