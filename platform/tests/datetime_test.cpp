#include "platform/datetime.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>

namespace kelvara::platform {
namespace {

namespace chr = std::chrono;

// The standard library's civil calendar is the independent reference.
const chr::sys_days kOrigin = chr::sys_days(chr::year(1899) / chr::December / 30);

chr::year_month_day ReferenceDate(long long dayNumber) {
  return chr::year_month_day(kOrigin + chr::days(dayNumber));
}

TEST(DateTime, EveryDayOfTheRangeMatchesTheCivilCalendar) {
  const long long first = (chr::sys_days(chr::year(100) / 1 / 1) - kOrigin).count();
  const long long last = (chr::sys_days(chr::year(9999) / 12 / 31) - kOrigin).count();
  for (long long n = first; n <= last; ++n) {
    const chr::year_month_day expected = ReferenceDate(n);
    const DateTime moment = DateTime::FromDays(double(n) + 0.75);
    const DateTimeFields f = moment.Fields();
    ASSERT_EQ(f.year, int(expected.year())) << n;
    ASSERT_EQ(f.month, unsigned(expected.month())) << n;
    ASSERT_EQ(f.day, unsigned(expected.day())) << n;
    ASSERT_EQ(f.hour, 18) << n;
    const chr::weekday weekday{chr::sys_days(expected)};
    ASSERT_EQ(moment.DayOfWeek(), int(weekday.c_encoding()) + 1) << n;
    ASSERT_EQ(moment.IsoDayOfWeek(), int(weekday.iso_encoding())) << n;
    ASSERT_EQ(DateTime::FromFields(f).Days(), double(n) + 0.75) << n;
    const chr::year_month_day_last monthEnd = expected.year() / expected.month() / chr::last;
    ASSERT_EQ(DaysInMonth(f.year, f.month), int(unsigned(monthEnd.day()))) << n;
    ASSERT_EQ(IsLeapYear(f.year), expected.year().is_leap()) << n;
    ASSERT_EQ(moment.DayOfYear(), (chr::sys_days(expected) - chr::sys_days(expected.year() / 1 / 1)).count() + 1)
        << n;
  }
}

TEST(DateTime, KnownMomentsAndTheirDayCounts) {
  EXPECT_EQ(DateTime::FromFields(1899, 12, 30).Days(), 0.0);
  EXPECT_EQ(DateTime::FromFields(1900, 1, 1, 18).Days(), 2.75);
  EXPECT_EQ(DateTime::FromFields(1899, 12, 29, 6).Days(), -0.75);  // straight count before the origin
  EXPECT_EQ(DateTime::FromFields(1800, 5, 17, 14, 5, 9).Fields(), (DateTimeFields{1800, 5, 17, 14, 5, 9}));
}

TEST(DateTime, RangeAndFieldChecks) {
  EXPECT_TRUE(DateTime::FromFields(100, 1, 1).IsValid());
  EXPECT_TRUE(DateTime::FromFields(9999, 12, 31, 23, 59, 59).IsValid());
  EXPECT_FALSE(DateTime::FromFields(99, 12, 31, 23, 59, 59).IsValid());
  EXPECT_FALSE(DateTime::FromFields(10000, 1, 1).IsValid());
  EXPECT_FALSE((DateTime::FromFields(9999, 12, 31, 23, 59, 59) + TimeSpan::FromSeconds(1)).IsValid());
  EXPECT_FALSE((DateTime::FromFields(100, 1, 1) - TimeSpan::FromSeconds(1)).IsValid());
  EXPECT_FALSE(DateTime::FromFields(1900, 2, 29).IsValid());
  EXPECT_TRUE(DateTime::FromFields(2000, 2, 29).IsValid());
  EXPECT_FALSE(DateTime::FromFields(2023, 4, 31).IsValid());
  EXPECT_FALSE(DateTime::FromFields(2023, 13, 1).IsValid());
  EXPECT_EQ(DaysInMonth(2023, 0), 0);
  EXPECT_EQ(DaysInMonth(2023, 13), 0);
  EXPECT_FALSE(DateTime::FromFields(2023, 1, 1, 24).IsValid());
  EXPECT_FALSE(DateTime::FromFields(2023, 1, 1, 0, 60).IsValid());
  EXPECT_FALSE(DateTime::FromFields(2023, 1, 1, 0, 0, -1).IsValid());
  EXPECT_FALSE(DateTime::FromDays(std::nan("")).IsValid());
  EXPECT_FALSE(DateTime::FromDays(1e300).IsValid());
  EXPECT_FALSE(DateTime::FromDays(-1e300).IsValid());
  EXPECT_FALSE((DateTime::FromFields(2000, 1, 1) + TimeSpan::FromDays(1e18)).IsValid());
  EXPECT_FALSE(DateTime().IsValid());
  EXPECT_FALSE((DateTime() + TimeSpan::FromDays(1)).IsValid());
}

TEST(DateTime, SpanArithmeticCarriesAcrossDaysMonthsYearsAndTheOrigin) {
  // Greenwich from local time five hours east, across New Year.
  EXPECT_EQ(DateTime::FromFields(2000, 1, 1, 3) - TimeSpan::FromHours(5),
            DateTime::FromFields(1999, 12, 31, 22));
  EXPECT_EQ(DateTime::FromFields(2000, 3, 1) - TimeSpan::FromDays(1), DateTime::FromFields(2000, 2, 29));
  EXPECT_EQ(DateTime::FromFields(1899, 12, 29, 18) + TimeSpan::FromHours(12),
            DateTime::FromFields(1899, 12, 30, 6));
  EXPECT_EQ(DateTime::FromFields(1860, 1, 1) + TimeSpan(15, 0, 0, 0), DateTime::FromFields(1860, 1, 16));
  EXPECT_EQ(DateTime::FromFields(2130, 12, 31) - DateTime::FromFields(1860, 1, 1), TimeSpan::FromDays(98980));
  // Spans of 5.5 hours move the clock by 5 hours 30 minutes.
  EXPECT_EQ((DateTime::FromFields(2020, 6, 1, 12) - TimeSpan::FromHours(5.5)).Fields(),
            (DateTimeFields{2020, 6, 1, 6, 30, 0}));
}

TEST(DateTime, SumsOfSecondsMeetTheExactMoment) {
  DateTime moment = DateTime::FromFields(1700, 1, 1);
  for (int i = 0; i < kSecondsPerDay; ++i) moment += TimeSpan::FromSeconds(1);
  EXPECT_EQ(moment, DateTime::FromFields(1700, 1, 2));
  DateTime stepped = DateTime::FromFields(2024, 1, 1, 14, 5);
  for (int i = 0; i < 1000; ++i) stepped += TimeSpan::FromMinutes(1.0 / 3.0);
  EXPECT_EQ(stepped.Fields(), (DateTimeFields{2024, 1, 1, 19, 38, 20}));
}

TEST(DateTime, FieldsRoundToTheNearestSecond) {
  const double day = DateTime::FromFields(1985, 7, 12).Days();
  EXPECT_EQ(DateTime::FromDays(day + 59.4 / kSecondsPerDay).Second(), 59);
  EXPECT_EQ(DateTime::FromDays(day + 59.6 / kSecondsPerDay).Fields(), (DateTimeFields{1985, 7, 12, 0, 1, 0}));
  EXPECT_EQ(DateTime::FromDays(day - 0.4 / kSecondsPerDay).Fields(), (DateTimeFields{1985, 7, 12, 0, 0, 0}));
  EXPECT_EQ(DateTime::FromDays(-0.6 / kSecondsPerDay).Fields(), (DateTimeFields{1899, 12, 29, 23, 59, 59}));
}

TEST(DateTime, DateTimeOfDayAndMonths) {
  const DateTime moment = DateTime::FromFields(1812, 9, 7, 5, 45, 30);
  EXPECT_EQ(moment.Date(), DateTime::FromFields(1812, 9, 7));
  EXPECT_EQ(moment.TimeOfDay().TotalSeconds(), 5 * 3600 + 45 * 60 + 30);
  EXPECT_EQ(DateTime::FromFields(2024, 1, 31, 10).AddMonths(1), DateTime::FromFields(2024, 2, 29, 10));
  EXPECT_EQ(DateTime::FromFields(2023, 3, 31).AddMonths(-1), DateTime::FromFields(2023, 2, 28));
  EXPECT_EQ(DateTime::FromFields(2023, 11, 15).AddMonths(14), DateTime::FromFields(2025, 1, 15));
  EXPECT_EQ(DateTime::FromFields(2023, 1, 15).AddMonths(-13), DateTime::FromFields(2021, 12, 15));
  EXPECT_FALSE(DateTime::FromFields(9999, 12, 1).AddMonths(1).IsValid());
}

TEST(DateTime, Ordering) {
  const DateTime early = DateTime::FromFields(1900, 1, 1);
  const DateTime late = early + TimeSpan::FromSeconds(1);
  EXPECT_LT(early, late);
  EXPECT_GT(late, early);
  EXPECT_NE(early, late);
  EXPECT_LT(DateTime(), early);
  EXPECT_EQ(DateTime(), DateTime::FromFields(2023, 2, 30));
}

TEST(TimeSpan, SplitsIntoPartsOfEitherSign) {
  using Parts = std::array<long long, 4>;
  auto parts = [](TimeSpan s) { return Parts{s.Days(), s.Hours(), s.Minutes(), s.Seconds()}; };
  const TimeSpan span(2, 3, 4, 5);
  EXPECT_EQ(parts(span), (Parts{2, 3, 4, 5}));
  EXPECT_EQ(parts(-span), (Parts{-2, -3, -4, -5}));
  EXPECT_DOUBLE_EQ(span.TotalHours(), 51 + 4 / 60.0 + 5 / 3600.0);
  EXPECT_EQ(TimeSpan::FromHours(1.5) + TimeSpan::FromMinutes(30), TimeSpan::FromHours(2));
  EXPECT_EQ(TimeSpan::FromHours(3) - TimeSpan::FromHours(1), TimeSpan::FromHours(2));
  EXPECT_EQ(TimeSpan::FromHours(2) * 3, TimeSpan::FromHours(6));
  EXPECT_LT(TimeSpan::FromSeconds(59), TimeSpan::FromMinutes(1));
}

}  // namespace
}  // namespace kelvara::platform
