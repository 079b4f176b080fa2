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
  // 2299170.5 is still read in the Julian calendar.
  struct Case {
    double jd;
    int month, day, year;
    double hours;
  };
  for (const Case& c : {Case{2299170.5, 10, 15, 1582, 0.0}, Case{2299171.0, 10, 25, 1582, 12.0},
                        Case{2451545.25, 1, 1, 2000, 18.0}}) {
    const CalendarDate date = JulianToMdy(c.jd);
    EXPECT_EQ(c.month, date.month) << c.jd;
    EXPECT_EQ(c.day, date.day) << c.jd;
    EXPECT_EQ(c.year, date.year) << c.jd;
    if (c.hours != 0.0) {
      EXPECT_DOUBLE_EQ(c.hours, date.hours) << c.jd;
    }
  }
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
  // 1500 is a Julian leap year, 1700 no Gregorian one; year 0 is 1 BC, a leap year.
  struct Case {
    int month, year, days;
  };
  for (const Case& c : {Case{2, 1500, 29}, Case{2, 1700, 28}, Case{2, 2000, 29}, Case{2, 1999, 28},
                        Case{2, 0, 29}, Case{2, -1, 28}, Case{4, 2024, 30}, Case{12, 2024, 31}}) {
    EXPECT_EQ(c.days, DaysInMonth(c.month, c.year)) << c.month << "/" << c.year;
  }
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
