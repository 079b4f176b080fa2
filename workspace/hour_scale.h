// The program's hour scale: moments as hours since 1 January 1860 00:00 on the
// Gregorian calendar. Charts, returns and calendars all count time this way.
#pragma once

#include <optional>

#include "platform/datetime.h"

namespace kelvara::workspace {

using platform::DaysInMonth;
using platform::IsLeapYear;

inline constexpr int kFirstYear = 1860;
inline constexpr int kLastYear = 2130;

struct CalendarMoment {
  int year = kFirstYear;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const CalendarMoment&, const CalendarMoment&) = default;
};

// Days from 1 January 1860 to the given date (negative before it).
long long DaysSince1860(int year, int month, int day);

double HoursSince1860(const CalendarMoment& moment);

// Inverse of HoursSince1860; seconds rounded to the nearest whole second.
CalendarMoment MomentFromHours(double hoursSince1860);

// The scale's range: 1 January 1860 00:00 to the last second of 31 December 2130.
inline constexpr double kScaleStartHours = 0.0;
double ScaleEndHours();
bool IsWithinScale(double hoursSince1860);
// Brings a moment into the range; NaN goes to the start, so a result is always usable.
double ClampToScale(double hoursSince1860);

// True when every field lies in its calendar range and the year in 1860-2130.
bool IsValidMoment(const CalendarMoment& moment);

// Carries minutes above 59 into hours, hours above 23 into days and days beyond
// the month into the following months. Negative fields or a month outside 1-12
// cannot be carried and give no moment; the result is not range-checked.
std::optional<CalendarMoment> CarryOverflow(CalendarMoment moment);

}  // namespace kelvara::workspace
