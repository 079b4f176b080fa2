// The POSIX TZ rule at the end of a TZif file ("EST5EDT,M3.2.0,M11.1.0"), which
// carries a zone's summer time past its last listed transition.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace kelvara::citybase {

struct PosixRuleDate {
  enum class Form { kJulianNoLeap, kZeroBasedDay, kMonthWeekDay };
  Form form = Form::kMonthWeekDay;
  int day = 0;      // Jn: 1-365; n: 0-365
  int month = 0;    // Mm.w.d
  int week = 0;     // 1-5, 5 = last
  int weekday = 0;  // 0 = Sunday
  int timeSeconds = 2 * 3600;  // local time of the change, may be negative or above 24 h
};

struct PosixTz {
  int standardOffsetSeconds = 0;  // east of Greenwich
  bool hasDst = false;
  int dstOffsetSeconds = 0;
  PosixRuleDate start;  // given in standard time
  PosixRuleDate end;    // given in summer time
};

// Empty or unreadable rules give nothing.
std::optional<PosixTz> ParsePosixTz(std::string_view rule);

// Unix seconds of the year's change to summer time and back.
std::pair<int64_t, int64_t> SummerChangesUtc(const PosixTz& rule, int year);

// Unix seconds of midnight Greenwich time of a date.
int64_t UnixSecondsOfDate(int year, int month, int day);

}  // namespace kelvara::citybase
