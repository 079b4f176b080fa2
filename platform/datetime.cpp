#include "platform/datetime.h"

#include <cmath>
#include <cstdlib>

namespace kelvara::platform {
namespace {

constexpr double kMillisecondsPerDay = 86400000.0;
constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;

// Days from 1 January 1970 to a proleptic Gregorian date, counting in 400-year eras
// of 146097 days with the year starting on 1 March, so that leap days fall last.
long long DaysFromCivil(long long year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const int shiftedMonth = month > 2 ? month - 3 : month + 9;
  const long long dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

struct CivilDate {
  int year;
  int month;
  int day;
};

CivilDate CivilFromDays(long long days) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long shiftedMonth = (5 * dayOfYear + 2) / 153;
  const int day = int(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const int month = int(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  return {int(year), month, day};
}

// The day count of 30 December 1899, the origin of DateTime, on the 1970 scale.
const long long kEpochOffset = DaysFromCivil(1899, 12, 30);
const long long kFirstSecond = (DaysFromCivil(kMinYear, 1, 1) - kEpochOffset) * kSecondsPerDay;
const long long kLastSecond = (DaysFromCivil(kMaxYear + 1, 1, 1) - kEpochOffset) * kSecondsPerDay - 1;

long long FloorDiv(long long value, long long divisor) {
  const long long quotient = value / divisor;
  return quotient - ((value % divisor != 0) && ((value < 0) != (divisor < 0)) ? 1 : 0);
}

double ToWholeMilliseconds(double days) {
  return std::round(days * kMillisecondsPerDay) / kMillisecondsPerDay;
}

}  // namespace

TimeSpan::TimeSpan(double days) : days_(ToWholeMilliseconds(days)) {}

TimeSpan::TimeSpan(long long days, int hours, int minutes, int seconds)
    : TimeSpan(double(days) + (hours * 3600.0 + minutes * 60.0 + seconds) / kSecondsPerDay) {}

long long TimeSpan::RoundedSeconds() const { return std::llround(TotalSeconds()); }
long long TimeSpan::Days() const { return RoundedSeconds() / kSecondsPerDay; }
int TimeSpan::Hours() const { return int(RoundedSeconds() % kSecondsPerDay / 3600); }
int TimeSpan::Minutes() const { return int(RoundedSeconds() % 3600 / 60); }
int TimeSpan::Seconds() const { return int(RoundedSeconds() % 60); }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

DateTime DateTime::FromFields(int year, int month, int day, int hour, int minute, int second) {
  if (year < kMinYear || year > kMaxYear || day < 1 || day > DaysInMonth(year, month) || hour < 0 ||
      hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    return {};
  }
  const long long dayNumber = DaysFromCivil(year, month, day) - kEpochOffset;
  return FromDays(double(dayNumber) + (hour * 3600 + minute * 60 + second) / double(kSecondsPerDay));
}

DateTime DateTime::FromFields(const DateTimeFields& f) {
  return FromFields(f.year, f.month, f.day, f.hour, f.minute, f.second);
}

DateTime DateTime::FromDays(double days) {
  DateTime result;
  // A day beyond either end is refused before any conversion to an integer count.
  const double firstDay = double(kFirstSecond / kSecondsPerDay) - 1.0;
  const double lastDay = double(kLastSecond / kSecondsPerDay) + 1.0;
  if (!std::isfinite(days) || days < firstDay || days > lastDay) return result;
  result.days_ = ToWholeMilliseconds(days);
  const long long seconds = result.RoundedSeconds();
  result.valid_ = seconds >= kFirstSecond && seconds <= kLastSecond;
  if (!result.valid_) result.days_ = 0.0;
  return result;
}

long long DateTime::RoundedSeconds() const {
  // Halves round later in time on both sides of the origin.
  return (long long)std::floor(days_ * kSecondsPerDay + 0.5);
}

DateTimeFields DateTime::Fields() const {
  if (!valid_) return {};
  const long long seconds = RoundedSeconds();
  const long long dayNumber = FloorDiv(seconds, kSecondsPerDay);
  const int secondOfDay = int(seconds - dayNumber * kSecondsPerDay);
  const CivilDate date = CivilFromDays(dayNumber + kEpochOffset);
  return {date.year, date.month, date.day, secondOfDay / 3600, secondOfDay % 3600 / 60, secondOfDay % 60};
}

int DateTime::DayOfWeek() const {
  if (!valid_) return 0;
  // Day 0, 30 December 1899, was a Saturday.
  const long long dayNumber = FloorDiv(RoundedSeconds(), kSecondsPerDay);
  return int(((dayNumber + 6) % 7 + 7) % 7) + 1;
}

int DateTime::IsoDayOfWeek() const {
  if (!valid_) return 0;
  const int sundayFirst = DayOfWeek();
  return sundayFirst == 1 ? 7 : sundayFirst - 1;
}

int DateTime::DayOfYear() const {
  if (!valid_) return 0;
  const DateTimeFields f = Fields();
  return int(DaysFromCivil(f.year, f.month, f.day) - DaysFromCivil(f.year, 1, 1)) + 1;
}

DateTime DateTime::Date() const {
  if (!valid_) return {};
  return FromDays(double(FloorDiv(RoundedSeconds(), kSecondsPerDay)));
}

TimeSpan DateTime::TimeOfDay() const { return *this - Date(); }

DateTime DateTime::AddMonths(int months) const {
  if (!valid_) return {};
  DateTimeFields f = Fields();
  const long long monthIndex = (long long)f.year * 12 + (f.month - 1) + months;
  if (monthIndex < (long long)kMinYear * 12 || monthIndex > (long long)kMaxYear * 12 + 11) return {};
  f.year = int(monthIndex / 12);
  f.month = int(monthIndex % 12) + 1;
  if (f.day > DaysInMonth(f.year, f.month)) f.day = DaysInMonth(f.year, f.month);
  return FromFields(f);
}

DateTime DateTime::operator+(TimeSpan span) const {
  if (!valid_) return {};
  return FromDays(days_ + span.TotalDays());
}

TimeSpan DateTime::operator-(const DateTime& other) const {
  if (!valid_ || !other.valid_) return {};
  return TimeSpan::FromDays(days_ - other.days_);
}

std::partial_ordering DateTime::operator<=>(const DateTime& other) const {
  if (valid_ != other.valid_) return valid_ <=> other.valid_;
  if (!valid_) return std::partial_ordering::equivalent;
  return days_ <=> other.days_;
}

bool DateTime::operator==(const DateTime& other) const {
  return (*this <=> other) == std::partial_ordering::equivalent;
}

}  // namespace kelvara::platform
