#include "workspace/hour_scale.h"

#include <algorithm>
#include <cmath>

namespace kelvara::workspace {
namespace {

constexpr double kHoursPerDay = 24.0;
constexpr double kSecondsPerHour = 3600.0;

// Days since 1 March of year 0 (proleptic Gregorian), the usual civil-date form.
constexpr long long DaysFromCivil(long long year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra;
}

void CivilFromDays(long long days, int& year, int& month, int& day) {
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long monthIndex = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

constexpr long long kEpochDays = DaysFromCivil(kFirstYear, 1, 1);

}  // namespace

long long DaysSince1860(int year, int month, int day) {
  return DaysFromCivil(year, month, day) - kEpochDays;
}

double HoursSince1860(const CalendarMoment& m) {
  return static_cast<double>(DaysSince1860(m.year, m.month, m.day)) * kHoursPerDay + m.hour +
         m.minute / 60.0 + m.second / kSecondsPerHour;
}

CalendarMoment MomentFromHours(double hoursSince1860) {
  // Far beyond any calendar the program shows, but inside what the seconds count holds.
  constexpr double kHoursLimit = 1e9;
  if (!std::isfinite(hoursSince1860)) hoursSince1860 = kScaleStartHours;
  hoursSince1860 = std::clamp(hoursSince1860, -kHoursLimit, kHoursLimit);
  const long long totalSeconds = std::llround(hoursSince1860 * kSecondsPerHour);
  const long long secondsPerDay = 86400;
  long long days = totalSeconds / secondsPerDay;
  long long secondOfDay = totalSeconds % secondsPerDay;
  if (secondOfDay < 0) {
    secondOfDay += secondsPerDay;
    --days;
  }
  CalendarMoment m;
  CivilFromDays(days + kEpochDays, m.year, m.month, m.day);
  m.hour = static_cast<int>(secondOfDay / 3600);
  m.minute = static_cast<int>(secondOfDay % 3600 / 60);
  m.second = static_cast<int>(secondOfDay % 60);
  return m;
}

double ScaleEndHours() {
  static const double end = HoursSince1860({kLastYear, 12, 31, 23, 59, 59});
  return end;
}

bool IsWithinScale(double hoursSince1860) {
  return hoursSince1860 >= kScaleStartHours && hoursSince1860 <= ScaleEndHours();
}

double ClampToScale(double hoursSince1860) {
  if (std::isnan(hoursSince1860)) return kScaleStartHours;
  return std::clamp(hoursSince1860, kScaleStartHours, ScaleEndHours());
}

bool IsValidMoment(const CalendarMoment& m) {
  return m.year >= kFirstYear && m.year <= kLastYear && m.month >= 1 && m.month <= 12 &&
         m.day >= 1 && m.day <= DaysInMonth(m.year, m.month) && m.hour >= 0 && m.hour <= 23 &&
         m.minute >= 0 && m.minute <= 59 && m.second >= 0 && m.second <= 59;
}

std::optional<CalendarMoment> CarryOverflow(CalendarMoment m) {
  if (m.month < 1 || m.month > 12 || m.day < 1 || m.hour < 0 || m.minute < 0 || m.second < 0) {
    return std::nullopt;
  }
  m.minute += m.second / 60;
  m.second %= 60;
  m.hour += m.minute / 60;
  m.minute %= 60;
  m.day += m.hour / 24;
  m.hour %= 24;
  // Through the calendar rather than month by month, so a huge day count costs nothing.
  const long long days = DaysFromCivil(m.year, m.month, 1) + m.day - 1;
  CivilFromDays(days, m.year, m.month, m.day);
  return m;
}

}  // namespace kelvara::workspace
