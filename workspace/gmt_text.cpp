#include "workspace/gmt_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "engine/angles.h"
#include "workspace/text_trim.h"

namespace kelvara::workspace {
namespace {

constexpr int kMinutesPerHour = 60;
constexpr int kMaxHoursField = 99;

std::optional<int> Digits(std::string_view text, std::size_t maxLength) {
  if (text.empty() || text.size() > maxLength) return std::nullopt;
  if (text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::string FormatGmtOffset(double offsetHours) {
  if (!std::isfinite(offsetHours)) offsetHours = 0.0;
  const long long totalMinutes = static_cast<long long>(
      engine::RoundHalfAway(std::fabs(offsetHours) * kMinutesPerHour));
  const bool negative = offsetHours < 0.0 && totalMinutes != 0;
  char text[32];
  std::snprintf(text, sizeof(text), "%c%02lld:%02lld", negative ? '-' : '+',
                totalMinutes / kMinutesPerHour, totalMinutes % kMinutesPerHour);
  return text;
}

std::optional<double> ParseGmtOffset(std::string_view text) {
  text = TrimBlanks(text);
  double sign = 1.0;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    sign = text.front() == '-' ? -1.0 : 1.0;
    text.remove_prefix(1);
  }
  const auto colon = text.find(':');
  const auto hours = Digits(text.substr(0, colon), 2);
  if (!hours || *hours > kMaxHoursField) return std::nullopt;
  int minutes = 0;
  if (colon != std::string_view::npos) {
    const auto parsed = Digits(text.substr(colon + 1), 2);
    if (!parsed || *parsed >= kMinutesPerHour) return std::nullopt;
    minutes = *parsed;
  }
  return sign * (*hours + static_cast<double>(minutes) / kMinutesPerHour);
}

}  // namespace kelvara::workspace
