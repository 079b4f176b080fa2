#include "engine/format.h"

#include <cmath>
#include <cstdio>

#include "engine/angles.h"

namespace kelvara::engine {
namespace {

// Whole units and minutes of an H.MM or D.MM magnitude. Values that do not fit an int
// (a non-numeric entry reads as 10000.0, but far larger ones can be typed) are folded
// first, so the text stays short and the conversion stays defined.
struct UnitsMinutes {
  int units;
  int minutes;
};

UnitsMinutes SplitUnits(double magnitude, double minute_rounding) {
  if (!std::isfinite(magnitude)) magnitude = 0.0;
  magnitude = std::fmod(std::fabs(magnitude), 1.0e6);
  const double whole = std::floor(magnitude);
  return {static_cast<int>(whole),
          static_cast<int>(std::floor((magnitude - whole) * 100.0 + minute_rounding))};
}

char PlaceSeparator(const FormatOptions& options) {
  switch (options.place_separator) {
    case 1: return static_cast<char>(0xF8);
    case 2: return static_cast<char>(0x80);
    default: return ':';
  }
}

}  // namespace

std::string FormatTime(int hours, int minutes, const FormatOptions& options) {
  long long h = static_cast<long long>(hours) + minutes / 60;
  const int m = ((minutes % 60) + 60) % 60;
  h = ((h % 24) + 24) % 24;
  char text[32];
  if (options.clock_24h) {
    std::snprintf(text, sizeof text, "%2d:%02d", static_cast<int>(h), m);
  } else {
    std::snprintf(text, sizeof text, "%2d:%02d%cm", Mod12(static_cast<int>(h)), m,
                  h < 12 ? 'a' : 'p');
  }
  return text;
}

std::string FormatClock(double hmm, const FormatOptions& options) {
  const UnitsMinutes split = SplitUnits(hmm, 1.0 / 1200.0);
  const double folded = std::isfinite(hmm) ? std::fmod(hmm, 1.0e6) : 0.0;
  return FormatTime(static_cast<int>(std::floor(folded)), split.minutes, options);
}

std::string FormatZone(double hmm) {
  const UnitsMinutes split = SplitUnits(hmm, 1.0 / 120.0);
  char text[32];
  std::snprintf(text, sizeof text, "%c%d:%02d", hmm > 0.0 ? '-' : '+', split.units,
                split.minutes);
  return text;
}

std::string FormatPlace(double longitude_dmm, double latitude_dmm,
                        const FormatOptions& options) {
  const UnitsMinutes lon = SplitUnits(longitude_dmm, 0.5);
  const UnitsMinutes lat = SplitUnits(latitude_dmm, 0.5);
  const char lon_letter = longitude_dmm < 0.0 ? 'E' : 'W';
  const char lat_letter = latitude_dmm < 0.0 ? 'S' : 'N';
  char text[64];
  if (options.place_separator == 3) {
    std::snprintf(text, sizeof text, "%3.0f%c%02d%3.0f%c%02d", double(lon.units), lon_letter,
                  lon.minutes, double(lat.units), lat_letter, lat.minutes);
  } else {
    const char sep = PlaceSeparator(options);
    std::snprintf(text, sizeof text, "%3.0f%c%02d%c%3.0f%c%02d%c", double(lon.units), sep,
                  lon.minutes, lon_letter, double(lat.units), sep, lat.minutes, lat_letter);
  }
  return text;
}

}  // namespace kelvara::engine
