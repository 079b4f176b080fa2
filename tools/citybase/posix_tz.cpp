#include "tools/citybase/posix_tz.h"

#include <cctype>

#include "workspace/hour_scale.h"

namespace kelvara::citybase {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int kDefaultSummerShift = 3600;

class RuleReader {
 public:
  explicit RuleReader(std::string_view text) : text_(text) {}

  bool AtEnd() const { return text_.empty(); }
  bool Accept(char c) {
    if (text_.empty() || text_.front() != c) return false;
    text_.remove_prefix(1);
    return true;
  }
  bool NextIsSignOrDigit() const {
    return !text_.empty() && (std::isdigit(static_cast<unsigned char>(text_.front())) ||
                              text_.front() == '+' || text_.front() == '-');
  }

  // A zone name: three or more letters, or anything in angle brackets ("<+0545>").
  bool Name() {
    if (Accept('<')) {
      const std::size_t end = text_.find('>');
      if (end == std::string_view::npos) return false;
      text_.remove_prefix(end + 1);
      return true;
    }
    std::size_t length = 0;
    while (length < text_.size() && std::isalpha(static_cast<unsigned char>(text_[length]))) {
      ++length;
    }
    text_.remove_prefix(length);
    return length >= 3;
  }

  std::optional<int> Number() {
    std::size_t length = 0;
    int value = 0;
    while (length < text_.size() && length < 6 &&
           std::isdigit(static_cast<unsigned char>(text_[length]))) {
      value = value * 10 + (text_[length] - '0');
      ++length;
    }
    if (length == 0) return std::nullopt;
    text_.remove_prefix(length);
    return value;
  }

  // [+-]hh[:mm[:ss]] in seconds.
  std::optional<int> Duration() {
    const int sign = Accept('-') ? -1 : (Accept('+'), 1);
    auto hours = Number();
    if (!hours) return std::nullopt;
    int seconds = *hours * 3600;
    for (int unit : {60, 1}) {
      if (!Accept(':')) break;
      auto part = Number();
      if (!part) return std::nullopt;
      seconds += *part * unit;
    }
    return sign * seconds;
  }

  std::optional<PosixRuleDate> Date() {
    PosixRuleDate date;
    if (Accept('M')) {
      auto month = Number();
      auto week = Accept('.') ? Number() : std::nullopt;
      auto weekday = Accept('.') ? Number() : std::nullopt;
      if (!month || !week || !weekday || *month < 1 || *month > 12 || *week < 1 || *week > 5 ||
          *weekday > 6) {
        return std::nullopt;
      }
      date.form = PosixRuleDate::Form::kMonthWeekDay;
      date.month = *month;
      date.week = *week;
      date.weekday = *weekday;
    } else {
      const bool julian = Accept('J');
      auto day = Number();
      if (!day || *day > 365 || (julian && *day < 1)) return std::nullopt;
      date.form = julian ? PosixRuleDate::Form::kJulianNoLeap : PosixRuleDate::Form::kZeroBasedDay;
      date.day = *day;
    }
    if (Accept('/')) {
      auto time = Duration();
      if (!time) return std::nullopt;
      date.timeSeconds = *time;
    }
    return date;
  }

 private:
  std::string_view text_;
};

int WeekdayOf(int year, int month, int day) {
  // 1 January 1970 was a Thursday.
  const int64_t days = UnixSecondsOfDate(year, month, day) / kSecondsPerDay;
  return static_cast<int>(((days + 4) % 7 + 7) % 7);
}

// Unix seconds of local midnight (as if Greenwich) of the rule's day in a year.
int64_t DayStart(const PosixRuleDate& date, int year) {
  switch (date.form) {
    case PosixRuleDate::Form::kJulianNoLeap: {
      const int leapShift = workspace::IsLeapYear(year) && date.day >= 60 ? 1 : 0;
      return UnixSecondsOfDate(year, 1, 1) + (date.day - 1 + leapShift) * kSecondsPerDay;
    }
    case PosixRuleDate::Form::kZeroBasedDay:
      return UnixSecondsOfDate(year, 1, 1) + date.day * kSecondsPerDay;
    case PosixRuleDate::Form::kMonthWeekDay:
      break;
  }
  const int first = 1 + (date.weekday - WeekdayOf(year, date.month, 1) + 7) % 7;
  int day = first + (date.week - 1) * 7;
  if (day > workspace::DaysInMonth(year, date.month)) day -= 7;
  return UnixSecondsOfDate(year, date.month, day);
}

}  // namespace

int64_t UnixSecondsOfDate(int year, int month, int day) {
  static const long long kUnixEpochDays = workspace::DaysSince1860(1970, 1, 1);
  return (workspace::DaysSince1860(year, month, day) - kUnixEpochDays) * kSecondsPerDay;
}

std::optional<PosixTz> ParsePosixTz(std::string_view text) {
  RuleReader reader(text);
  PosixTz rule;
  if (!reader.Name()) return std::nullopt;
  auto standard = reader.Duration();
  if (!standard) return std::nullopt;
  rule.standardOffsetSeconds = -*standard;  // POSIX counts west positive
  if (reader.AtEnd()) return rule;
  if (!reader.Name()) return std::nullopt;
  rule.hasDst = true;
  rule.dstOffsetSeconds = rule.standardOffsetSeconds + kDefaultSummerShift;
  if (reader.NextIsSignOrDigit()) {
    auto summer = reader.Duration();
    if (!summer) return std::nullopt;
    rule.dstOffsetSeconds = -*summer;
  }
  if (!reader.Accept(',')) return std::nullopt;  // zic always writes the dates
  auto start = reader.Date();
  auto end = reader.Accept(',') ? reader.Date() : std::nullopt;
  if (!start || !end || !reader.AtEnd()) return std::nullopt;
  rule.start = *start;
  rule.end = *end;
  return rule;
}

std::pair<int64_t, int64_t> SummerChangesUtc(const PosixTz& rule, int year) {
  const int64_t start = DayStart(rule.start, year) + rule.start.timeSeconds -
                        rule.standardOffsetSeconds;
  const int64_t end = DayStart(rule.end, year) + rule.end.timeSeconds - rule.dstOffsetSeconds;
  return {start, end};
}

}  // namespace kelvara::citybase
