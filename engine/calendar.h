// Calendar dates and Julian day numbers. Dates before 15 October 1582 are Julian-calendar
// dates, later ones Gregorian; years are astronomical (1 BC = 0).
#pragma once

namespace kelvara::engine {

// Julian day numbers from this value on are returned as Gregorian dates.
inline constexpr double kGregorianSwitchJd = 2299171.0;

struct CalendarDate {
  int month;
  int day;
  int year;
  double hours;  // decimal hours after midnight
};

// Julian date of a calendar date and time (decimal hours) in either calendar.
double MdyToJulian(double month, double day, double year, double hours, bool gregorian);
// Whether a date falls on or after 15 October 1582.
bool IsGregorianDate(int month, int day, int year);
// Julian day number of the date's noon, in the calendar in force on that date.
long long DayNumber(int month, int day, int year);
// The date and time of a Julian date; Julian calendar below kGregorianSwitchJd.
CalendarDate JulianToMdy(double jd);
int DaysInMonth(int month, int year);
// 0 = Sunday.
int DayOfWeek(int month, int day, int year);
// Day of the month after adding delta days, jumping over 5..14 October 1582.
int AddDay(int month, int day, int year, int delta);

}  // namespace kelvara::engine
