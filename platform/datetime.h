// Date-time and time-span value types for the front-end's date arithmetic and date
// pickers. A moment is a count of days (a double) since 30 December 1899 00:00, a span
// a count of days; the calendar is the proleptic Gregorian one. The count runs on
// straight through zero, so arithmetic before 1900 is the same as after it. Both keep
// whole milliseconds.
#pragma once

#include <compare>

namespace kelvara::platform {

inline constexpr int kSecondsPerDay = 86400;

class TimeSpan {
 public:
  TimeSpan() = default;
  TimeSpan(long long days, int hours, int minutes, int seconds);

  static TimeSpan FromDays(double days) { return TimeSpan(days); }
  static TimeSpan FromHours(double hours) { return TimeSpan(hours / 24.0); }
  static TimeSpan FromMinutes(double minutes) { return TimeSpan(minutes / 1440.0); }
  static TimeSpan FromSeconds(double seconds) { return TimeSpan(seconds / kSecondsPerDay); }

  constexpr double TotalDays() const { return days_; }
  constexpr double TotalHours() const { return days_ * 24.0; }
  constexpr double TotalMinutes() const { return days_ * 1440.0; }
  constexpr double TotalSeconds() const { return days_ * kSecondsPerDay; }

  // The span split into whole days, hours, minutes and seconds, rounded to the
  // nearest second; every part of a negative span is negative or zero.
  long long Days() const;
  int Hours() const;
  int Minutes() const;
  int Seconds() const;

  TimeSpan operator-() const { return TimeSpan(-days_); }
  TimeSpan operator+(TimeSpan other) const { return TimeSpan(days_ + other.days_); }
  TimeSpan operator-(TimeSpan other) const { return TimeSpan(days_ - other.days_); }
  TimeSpan operator*(double factor) const { return TimeSpan(days_ * factor); }
  constexpr auto operator<=>(const TimeSpan&) const = default;

 private:
  // Kept to the millisecond, like moments, so that equal spans reached by different
  // sums compare equal.
  explicit TimeSpan(double days);
  long long RoundedSeconds() const;

  double days_ = 0.0;
};

struct DateTimeFields {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const DateTimeFields&, const DateTimeFields&) = default;
};

bool IsLeapYear(int year);
// 0 for a month outside 1-12.
int DaysInMonth(int year, int month);

// Moments from 1 January 100 00:00:00 to 31 December 9999 23:59:59, kept to the
// millisecond. A default-constructed value, or any result that leaves the range, is
// invalid; arithmetic on an invalid value stays invalid.
class DateTime {
 public:
  DateTime() = default;

  // Invalid when a field is out of its range (no carrying: 31 April is refused).
  static DateTime FromFields(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
  static DateTime FromFields(const DateTimeFields& fields);
  static DateTime FromDays(double days);

  bool IsValid() const { return valid_; }
  double Days() const { return days_; }

  // Calendar fields, the time rounded to the nearest second.
  DateTimeFields Fields() const;
  int Year() const { return Fields().year; }
  int Month() const { return Fields().month; }
  int Day() const { return Fields().day; }
  int Hour() const { return Fields().hour; }
  int Minute() const { return Fields().minute; }
  int Second() const { return Fields().second; }
  // 1 = Sunday ... 7 = Saturday, as the handheld's date type numbers the days.
  int DayOfWeek() const;
  // 1 = Monday ... 7 = Sunday.
  int IsoDayOfWeek() const;
  // 1 for 1 January.
  int DayOfYear() const;

  // Midnight at the start of the same day.
  DateTime Date() const;
  TimeSpan TimeOfDay() const;
  // Whole calendar months forward or back; a day beyond the new month's end becomes its last day.
  DateTime AddMonths(int months) const;

  DateTime operator+(TimeSpan span) const;
  DateTime operator-(TimeSpan span) const { return *this + -span; }
  DateTime& operator+=(TimeSpan span) { return *this = *this + span; }
  DateTime& operator-=(TimeSpan span) { return *this = *this - span; }
  TimeSpan operator-(const DateTime& other) const;

  // Invalid values order before every valid one and equal each other.
  std::partial_ordering operator<=>(const DateTime& other) const;
  bool operator==(const DateTime& other) const;

 private:
  long long RoundedSeconds() const;

  double days_ = 0.0;
  bool valid_ = false;
};

}  // namespace kelvara::platform
