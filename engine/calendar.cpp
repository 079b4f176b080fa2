#include "engine/calendar.h"

#include <algorithm>
#include <cmath>

namespace kelvara::engine {
namespace {

constexpr int kReformYear = 1582;
constexpr int kReformMonth = 10;
constexpr int kFirstGregorianDay = 15;
constexpr int kLastJulianDay = 4;
constexpr int kReformSkippedDays = 10;
// Keeps every derived year inside int, far beyond any date a chart can use.
constexpr double kJdLimit = 1.0e11;

long long FloorDiv(long long a, long long b) {
  long long q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

int ClampToInt(long long v) {
  return static_cast<int>(std::clamp<long long>(v, -2147483647LL, 2147483647LL));
}

struct Ymd {
  long long year;
  int month;
  int day;
};

// Month and day within a year that starts on 1 March (day_of_year 0..365).
void MarchYearToMonthDay(long long day_of_year, Ymd& out) {
  const long long mp = (5 * day_of_year + 2) / 153;
  out.day = static_cast<int>(day_of_year - (153 * mp + 2) / 5 + 1);
  out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  if (out.month <= 2) ++out.year;
}

// Proleptic Gregorian civil date of a day number (H. Hinnant, "chrono-compatible
// low-level date algorithms", civil_from_days).
Ymd GregorianFromDayNumber(long long jdn) {
  const long long z = jdn - 1721120;  // days since 0000-03-01 Gregorian
  const long long era = FloorDiv(z, 146097);
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  Ymd out{yoe + era * 400, 0, 0};
  MarchYearToMonthDay(doe - (365 * yoe + yoe / 4 - yoe / 100), out);
  return out;
}

// Julian-calendar date of a day number: the same algorithm with four-year eras.
Ymd JulianFromDayNumber(long long jdn) {
  const long long z = jdn - 1721118;  // days since 0000-03-01 Julian
  const long long era = FloorDiv(z, 1461);
  const long long doe = z - era * 1461;
  const long long yoe = (doe - doe / 1460) / 365;
  Ymd out{yoe + era * 4, 0, 0};
  MarchYearToMonthDay(doe - 365 * yoe, out);
  return out;
}

}  // namespace

double MdyToJulian(double month, double day, double year, double hours, bool gregorian) {
  const double y = month < 3 ? year - 1 : year;
  double m = month + 1;
  if (m < 4) m += 12;
  double jd = hours / 24.0 + day + std::floor(30.6 * m + 0.000001) +
              std::floor(365.25 * (y + 4712)) - 63.5;
  if (gregorian) {
    double a = std::floor(0.01 * std::fabs(y)) - std::floor(0.0025 * std::fabs(y));
    if (y < 0) a = -a;
    jd = jd - a + 2;
    if (y < 0 && std::fmod(y, 100.0) == 0.0 && std::fmod(y, 400.0) != 0.0) jd -= 1.0;
  }
  return jd;
}

bool IsGregorianDate(int month, int day, int year) {
  if (year != kReformYear) return year > kReformYear;
  if (month != kReformMonth) return month > kReformMonth;
  return day >= kFirstGregorianDay;
}

long long DayNumber(int month, int day, int year) {
  const double jd = MdyToJulian(month, day, year, 12.0, IsGregorianDate(month, day, year));
  return static_cast<long long>(std::floor(jd + 0.5));
}

CalendarDate JulianToMdy(double jd) {
  if (!std::isfinite(jd)) jd = 0.0;
  jd = std::clamp(jd, -kJdLimit, kJdLimit);
  const double shifted = jd + 0.5;
  const double whole = std::floor(shifted);
  const long long jdn = static_cast<long long>(whole);
  const Ymd ymd = jd >= kGregorianSwitchJd ? GregorianFromDayNumber(jdn)
                                           : JulianFromDayNumber(jdn);
  return {ymd.month, ymd.day, ClampToInt(ymd.year), (shifted - whole) * 24.0};
}

int DaysInMonth(int month, int year) {
  switch (month) {
    case 4: case 6: case 9: case 11:
      return 30;
    case 2: {
      const bool common = year % 4 != 0 ||
                          (year % 100 == 0 && year % 400 != 0 && year > kReformYear);
      return common ? 28 : 29;
    }
    default:
      return 31;
  }
}

int DayOfWeek(int month, int day, int year) {
  const long long dow = (DayNumber(month, day, year) + 1) % 7;
  return static_cast<int>(dow < 0 ? dow + 7 : dow);
}

int AddDay(int month, int day, int year, int delta) {
  const long long result = static_cast<long long>(day) + delta;
  if (month == kReformMonth && year == kReformYear && result > kLastJulianDay &&
      result < kFirstGregorianDay) {
    return ClampToInt(result + (delta < 0 ? -kReformSkippedDays : kReformSkippedDays));
  }
  return ClampToInt(result);
}

}  // namespace kelvara::engine
