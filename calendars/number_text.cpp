#include "calendars/number_text.h"

#include <charconv>
#include <cmath>

#include "workspace/hour_scale.h"
#include "workspace/text_trim.h"

namespace kelvara::calendars {

std::string FixedText(double value, int width, int decimals) {
  char digits[400];
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, std::fabs(value), std::chars_format::fixed, decimals);
  std::string text = error == std::errc() ? std::string(digits, end) : std::string("0");
  const bool negative = std::signbit(value) && text.find_first_not_of("0.") != std::string::npos;
  const int sign = negative ? 1 : 0;
  if (int(text.size()) + sign < width) text.insert(0, std::size_t(width - sign - int(text.size())), '0');
  return negative ? "-" + text : text;
}

std::string TwoDigits(int value) {
  std::string text = std::to_string(value < 0 ? -value : value);
  if (text.size() < 2) text.insert(0, 1, '0');
  return value < 0 ? "-" + text : text;
}

std::optional<double> ParseDecimal(std::string_view text) {
  text = workspace::TrimBlanks(text);
  if (text.starts_with('+')) text.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<int> ParseDigits(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || text.front() == '-' || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> ParseDateTimeText(std::string_view text) {
  text = workspace::TrimBlanks(text);
  // Fixed places: the digits at 0-1, 3-4, 6-9, 11-12, 14-15.
  constexpr std::string_view kForm = "00.00.0000 00:00";
  if (text.size() != kForm.size()) return std::nullopt;
  for (std::size_t i = 0; i < kForm.size(); ++i) {
    if (kForm[i] != '0' && text[i] != kForm[i]) return std::nullopt;
  }
  const auto day = ParseDigits(text.substr(0, 2)), month = ParseDigits(text.substr(3, 2));
  const auto year = ParseDigits(text.substr(6, 4)), hour = ParseDigits(text.substr(11, 2));
  const auto minute = ParseDigits(text.substr(14, 2));
  if (!day || !month || !year || !hour || !minute) return std::nullopt;
  // A shown time may lie an offset past the scale's last day.
  if (*year < workspace::kFirstYear || *year > workspace::kLastYear + 1 || *month < 1 || *month > 12 || *day < 1 ||
      *day > workspace::DaysInMonth(*year, *month) || *hour > 23 || *minute > 59) {
    return std::nullopt;
  }
  return workspace::HoursSince1860({*year, *month, *day, *hour, *minute, 0});
}

}  // namespace kelvara::calendars
