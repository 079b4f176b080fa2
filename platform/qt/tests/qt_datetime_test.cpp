#include "platform/qt/qt_datetime.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelvara::platform {
namespace {

// Qt's Julian day number of 30 December 1899, the day DateTime counts from.
constexpr qint64 kOriginJulianDay = 2415019;

TEST(QtDateTime, RoundTripsAcrossTheRangeAndAgreesWithQtsDayCount) {
  for (const DateTimeFields& f :
       {DateTimeFields{100, 1, 1, 0, 0, 0}, DateTimeFields{1582, 10, 10, 12, 0, 0},
        DateTimeFields{1860, 1, 1, 0, 0, 0}, DateTimeFields{1985, 7, 12, 14, 5, 59},
        DateTimeFields{2130, 12, 31, 23, 0, 0}, DateTimeFields{9999, 12, 31, 23, 59, 59}}) {
    const DateTime moment = DateTime::FromFields(f);
    const QDateTime shown = ToQDateTime(moment);
    ASSERT_TRUE(shown.isValid()) << f.year;
    EXPECT_EQ(shown.date().toJulianDay() - kOriginJulianDay, qint64(std::floor(moment.Days()))) << f.year;
    EXPECT_EQ(shown.time(), QTime(f.hour, f.minute, f.second)) << f.year;
    EXPECT_EQ(FromQDateTime(shown), moment) << f.year;
  }
}

TEST(QtDateTime, ValuesOutsideTheRangeAreInvalid) {
  EXPECT_FALSE(ToQDateTime(DateTime()).isValid());
  EXPECT_FALSE(FromQDateTime(QDateTime()).IsValid());
  EXPECT_FALSE(FromQDateTime(QDateTime(QDate(99, 12, 31), QTime(0, 0), Qt::UTC)).IsValid());
  EXPECT_FALSE(FromQDateTime(QDateTime(QDate(10000, 1, 1), QTime(0, 0), Qt::UTC)).IsValid());
}

}  // namespace
}  // namespace kelvara::platform
