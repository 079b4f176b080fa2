#include "workspace/position_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace kelvara::workspace {
namespace {

constexpr int kArcSecondsPerDegree = 3600;
constexpr int kArcSecondsPerMinute = 60;
constexpr int kMinutesPerDegree = 60;

SignArc ArcOfSeconds(long long totalSeconds) {
  return {static_cast<int>(totalSeconds / kArcSecondsPerDegree),
          static_cast<int>(totalSeconds % kArcSecondsPerDegree / kArcSecondsPerMinute),
          static_cast<int>(totalSeconds % kArcSecondsPerMinute)};
}

double WithinSign(double longitudeDeg) { return std::fmod(longitudeDeg, kDegreesPerSign); }

constexpr int kSpeedDecimals = 4;

void AppendTwoDigits(std::string& text, int value) {
  text += char('0' + value / 10 % 10);
  text += char('0' + value % 10);
}

template <typename... Values>
std::string Printf(const char* format, Values... values) {
  char text[64];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

}  // namespace

SignArc TruncatedSignArc(double longitudeDeg) {
  return ArcOfSeconds(static_cast<long long>(std::floor(WithinSign(longitudeDeg) * kArcSecondsPerDegree)));
}

SignArc RoundedSignArc(double longitudeDeg) {
  return ArcOfSeconds(std::llround(WithinSign(longitudeDeg) * kArcSecondsPerDegree));
}

// Built by hand: the position tables make these on every round of the "now" clock.
std::string SignArcText(const SignArc& arc) {
  std::string text = std::to_string(arc.degrees);
  text += "°";
  AppendTwoDigits(text, arc.minutes);
  text += "′";
  AppendTwoDigits(text, arc.seconds);
  text += "″";
  return text;
}

std::string DegreesMinutesText(const ChartObject& object) {
  if (!object.HasLongitude()) return "—";
  // Cut, so 29°59.7' never shows as 30°00' of the same sign.
  const long long totalMinutes = static_cast<long long>(std::floor(WithinSign(object.longitude) * kMinutesPerDegree));
  return Printf("%2lld°%02lld'", totalMinutes / kMinutesPerDegree, totalMinutes % kMinutesPerDegree);
}

std::string SignPositionText(const ChartObject& object) {
  if (!object.HasLongitude()) return "—";
  const int sign = 1 + static_cast<int>(object.longitude / kDegreesPerSign);
  return SignArcText(TruncatedSignArc(object.longitude)) + " " + std::string(SignName(sign));
}

// A cusp's speed is the driver's filler, not a motion a reader could use. As "%+.4f"
// prints it, without the formatted-output machinery.
std::string SpeedText(const ChartObject& object, int slot) {
  if (object.speed == kNotAvailable || IsCuspSlot(slot)) return "";
  char text[64];
  char* start = text + 1;
  const auto [end, error] = std::to_chars(start, text + sizeof text, object.speed, std::chars_format::fixed,
                                          kSpeedDecimals);
  if (error != std::errc()) return Printf("%+.4f", object.speed);
  if (*start != '-') *--start = '+';
  return std::string(start, end);
}

}  // namespace kelvara::workspace
