#include "app/cli/moment_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <vector>

#include "workspace/text_trim.h"

namespace kelvara::cli {
namespace {

constexpr std::size_t kYearDigits = 4;
constexpr std::size_t kTwoDigits = 2;

// A number of digits only, fewest to most of them.
std::optional<int> Digits(std::string_view text, std::size_t fewest, std::size_t most) {
  if (text.size() < fewest || text.size() > most) return std::nullopt;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

bool ReadDate(std::string_view text, workspace::CalendarMoment& moment) {
  const auto parts = workspace::SplitText(text, '.');
  if (parts.size() != 3) return false;
  const auto day = Digits(parts[0], 1, kTwoDigits);
  const auto month = Digits(parts[1], 1, kTwoDigits);
  const auto year = Digits(parts[2], kYearDigits, kYearDigits);
  if (!day || !month || !year) return false;
  moment.day = *day;
  moment.month = *month;
  moment.year = *year;
  return true;
}

bool ReadTime(std::string_view text, workspace::CalendarMoment& moment) {
  const auto parts = workspace::SplitText(text, ':');
  if (parts.size() != 2 && parts.size() != 3) return false;
  const auto hour = Digits(parts[0], 1, kTwoDigits);
  const auto minute = Digits(parts[1], kTwoDigits, kTwoDigits);
  const auto second = parts.size() == 3 ? Digits(parts[2], kTwoDigits, kTwoDigits) : 0;
  if (!hour || !minute || !second) return false;
  moment.hour = *hour;
  moment.minute = *minute;
  moment.second = *second;
  return true;
}

bool ReadDateTime(std::string_view text, workspace::CalendarMoment& moment) {
  const auto blank = text.find(' ');
  return blank != std::string_view::npos && ReadDate(text.substr(0, blank), moment) &&
         ReadTime(text.substr(blank + 1), moment);
}

std::string IsoTime(double hours) {
  const workspace::CalendarMoment m = workspace::MomentFromHours(hours);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", m.year, m.month, m.day, m.hour, m.minute,
                m.second);
  return text;
}

}  // namespace kelvara::cli
