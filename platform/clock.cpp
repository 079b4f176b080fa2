#include "platform/clock.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>

namespace kelvara::platform {
namespace {

constexpr int kSecondsPerMinute = 60;
constexpr int kDaysSampledPerYear = 366;

std::optional<std::tm> LocalFields(std::time_t when) {
  std::tm fields{};
  if (localtime_r(&when, &fields) == nullptr) return std::nullopt;
  return fields;
}

struct ZoneSample {
  long offsetSeconds;
  std::string name;
};

ZoneSample SampleOf(const std::tm& fields) {
  return {fields.tm_gmtoff, fields.tm_zone ? fields.tm_zone : ""};
}

// The first moment of the year around `when` whose daylight flag is `daylight`.
std::optional<ZoneSample> FindOffsetInYear(std::time_t when, bool daylight) {
  for (int day = -kDaysSampledPerYear / 2; day <= kDaysSampledPerYear / 2; ++day) {
    const auto fields = LocalFields(when + std::time_t(day) * kSecondsPerDay);
    if (fields && (fields->tm_isdst > 0) == daylight) {
      return SampleOf(*fields);
    }
  }
  return std::nullopt;
}

}  // namespace

// localtime_r need not look at TZ again; the public calls run tzset first so that a
// changed TZ counts.
DateTime LocalDateTimeAt(std::time_t when) {
  tzset();
  const auto f = LocalFields(when);
  if (!f) return {};
  // A leap second (tm_sec 60) is shown as the last second of its minute.
  return DateTime::FromFields(f->tm_year + 1900, f->tm_mon + 1, f->tm_mday, f->tm_hour, f->tm_min,
                              f->tm_sec > 59 ? 59 : f->tm_sec);
}

TimeZoneInfo TimeZoneInfoAt(std::time_t when) {
  TimeZoneInfo info;
  tzset();
  const auto now = LocalFields(when);
  if (!now) return info;
  info.known = true;
  info.daylightNow = now->tm_isdst > 0;
  const ZoneSample current = SampleOf(*now);
  const auto other = FindOffsetInYear(when, !info.daylightNow);
  const ZoneSample standard = info.daylightNow ? other.value_or(current) : current;
  const ZoneSample daylight = info.daylightNow ? current : other.value_or(current);
  info.biasMinutes = int(-standard.offsetSeconds / kSecondsPerMinute);
  info.daylightBiasMinutes = int(-(daylight.offsetSeconds - standard.offsetSeconds) / kSecondsPerMinute);
  info.standardName = standard.name;
  info.daylightName = other || info.daylightNow ? daylight.name : std::string();
  return info;
}

DateTime SystemClock::LocalNow() const { return LocalDateTimeAt(std::time(nullptr)); }

TimeZoneInfo SystemClock::TimeZone() const { return TimeZoneInfoAt(std::time(nullptr)); }

std::string SystemZoneName() {
  constexpr std::string_view kZoneFolder = "zoneinfo/";
  const char* tz = std::getenv("TZ");
  std::string name = tz ? tz : "";
  if (!name.empty() && name.front() == ':') name.erase(0, 1);
  if (name.empty()) {
    std::error_code error;
    name = std::filesystem::read_symlink("/etc/localtime", error).string();
  }
  const std::size_t folder = name.rfind(kZoneFolder);
  if (folder != std::string::npos) name.erase(0, folder + kZoneFolder.size());
  // A rule such as "MSK-3" or an absolute file names no zone of the base.
  return name.find('/') == std::string::npos || name.front() == '/' ? std::string() : name;
}

}  // namespace kelvara::platform
