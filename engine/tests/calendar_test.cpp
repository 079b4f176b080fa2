#include "engine/calendar.h"

#include <gtest/gtest.h>

#include <random>

namespace kelvara::engine {
namespace {

TEST(Calendar, WorkedJulianDateOfJ2000) {
  EXPECT_DOUBLE_EQ(2451545.0, MdyToJulian(1, 1, 2000, 12.0, true));
  EXPECT_EQ(2451545, DayNumber(1, 1, 2000));
}

TEST(Calendar, ReformDaysAreConsecutive) {
  // 4 October 1582 (Julian) is followed by 15 October 1582 (Gregorian).
  EXPECT_EQ(2299160, DayNumber(10, 4, 1582));
  EXPECT_EQ(2299161, DayNumber(10, 15, 1582));
  EXPECT_EQ(4, DayOfWeek(10, 4, 1582));   // Thursday
  EXPECT_EQ(5, DayOfWeek(10, 15, 1582));  // Friday
  EXPECT_EQ(6, DayOfWeek(1, 1, 2000));    // Saturday
  EXPECT_EQ(15, AddDay(10, 4, 1582, 1));
  EXPECT_EQ(4, AddDay(10, 15, 1582, -1));
  EXPECT_EQ(6, AddDay(10, 5, 1583, 1));
}

TEST(Calendar, JulianToMdySwitchesCalendarsAt2299171) {
  const CalendarDate before = JulianToMdy(2299170.5);  // still read in the Julian calendar
  EXPECT_EQ(10, before.month);
  EXPECT_EQ(15, before.day);
  EXPECT_EQ(1582, before.year);
  const CalendarDate after = JulianToMdy(2299171.0);
  EXPECT_EQ(10, after.month);
  EXPECT_EQ(25, after.day);
  EXPECT_EQ(1582, after.year);
  EXPECT_DOUBLE_EQ(12.0, after.hours);
  const CalendarDate j2000 = JulianToMdy(2451545.25);
  EXPECT_EQ(1, j2000.month);
  EXPECT_EQ(1, j2000.day);
  EXPECT_EQ(2000, j2000.year);
  EXPECT_DOUBLE_EQ(18.0, j2000.hours);
}

TEST(Calendar, JulianToMdyInvertsMdyToJulianInBothCalendars) {
  std::mt19937 random(1582);
  std::uniform_int_distribution<int> year_of(-5000, 6000);
  std::uniform_int_distribution<int> month_of(1, 12);
  for (int n = 0; n < 20000; ++n) {
    const int year = year_of(random);
    const int month = month_of(random);
    const int day = 1 + static_cast<int>(random() % DaysInMonth(month, year));
    // Each calendar is inverted on its own side of the switch; in between the Julian reading
    // of the days up to JD 2299171 is intended.
    const bool gregorian = MdyToJulian(month, day, year, 12.0, true) >= kGregorianSwitchJd;
    if (gregorian && year < 1583) continue;
    const double jd = MdyToJulian(month, day, year, 6.0, gregorian);
    const CalendarDate date = JulianToMdy(jd);
    ASSERT_EQ(month, date.month) << year << "-" << month << "-" << day;
    ASSERT_EQ(day, date.day) << year << "-" << month << "-" << day;
    ASSERT_EQ(year, date.year) << year << "-" << month << "-" << day;
    ASSERT_NEAR(6.0, date.hours, 1e-6);
  }
}

TEST(Calendar, DaysInMonthFollowsBothLeapRules) {
  EXPECT_EQ(29, DaysInMonth(2, 1500));  // Julian leap year
  EXPECT_EQ(28, DaysInMonth(2, 1700));
  EXPECT_EQ(29, DaysInMonth(2, 2000));
  EXPECT_EQ(28, DaysInMonth(2, 1999));
  EXPECT_EQ(29, DaysInMonth(2, 0));
  EXPECT_EQ(28, DaysInMonth(2, -1));
  EXPECT_EQ(30, DaysInMonth(4, 2024));
  EXPECT_EQ(31, DaysInMonth(12, 2024));
}

TEST(Calendar, ExtremeValuesStayDefined) {
  const CalendarDate far = JulianToMdy(1e300);
  EXPECT_GE(far.month, 1);
  EXPECT_LE(far.month, 12);
  const CalendarDate nan = JulianToMdy(std::nan(""));
  EXPECT_GE(nan.day, 1);
  EXPECT_GT(DayNumber(2147483647, 2147483647, 2147483647), 0);
  const int dow = DayOfWeek(1, 1, -2000000000);
  EXPECT_TRUE(dow >= 0 && dow < 7);
}

}  // namespace
}  // namespace kelvara::engine
