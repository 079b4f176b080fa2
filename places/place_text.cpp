#include "places/place_text.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include "places/text_util.h"

namespace kelvara::places {
namespace {

constexpr std::string_view kDegreeSign = "\u00B0";
constexpr double kSecondsResolutionDeg = 1.0 / 3600.0;
constexpr double kMinutesResolutionDeg = 1.0 / 60.0;
constexpr int kMaxDigits = 9;
constexpr int kMinutesPerDegree = 60;
constexpr int kMaxSeconds = 60;  // SavePlaces may write a rounded 60

enum class Axis { kLatitude, kLongitude };

// Reads an optionally signed decimal integer, like "%d".
std::optional<int> ReadInt(std::string_view& text) {
  std::size_t at = 0;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  const std::size_t digitsStart = at;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  const std::size_t digits = at - digitsStart;
  if (digits == 0 || digits > kMaxDigits) return std::nullopt;
  const int value = std::stoi(std::string(text.substr(0, at)));
  text.remove_prefix(at);
  return value;
}

bool ReadLiteral(std::string_view& text, std::string_view literal) {
  if (!text.starts_with(literal)) return false;
  text.remove_prefix(literal.size());
  return true;
}

bool IsNegative(std::string_view token, Axis axis) {
  const char hemisphere = axis == Axis::kLatitude ? 'S' : 'W';
  return token.find('-') != std::string_view::npos ||
         (token.size() > 1 && token.find(hemisphere, 1) != std::string_view::npos);
}

double Combine(int degrees, int minutes, int seconds, std::string_view token, Axis axis) {
  if (minutes < 0 || minutes >= kMinutesPerDegree || seconds < 0 || seconds > kMaxSeconds) {
    return kUnreadableDegrees;
  }
  const double value = std::abs(degrees) + minutes / 60.0 + seconds / 3600.0;
  return IsNegative(token, axis) ? -value : value;
}

// Degrees, minutes and seconds as "%d°%d'%d\"": fields not read keep their start values.
double ReadWithSeconds(std::string_view token, Axis axis) {
  std::string_view rest = token;
  int degrees = static_cast<int>(kUnreadableDegrees), minutes = 0, seconds = 0;
  if (auto d = ReadInt(rest)) {
    degrees = *d;
    if (ReadLiteral(rest, kDegreeSign)) {
      if (auto m = ReadInt(rest)) {
        minutes = *m;
        if (ReadLiteral(rest, "'")) {
          if (auto s = ReadInt(rest)) seconds = *s;
        }
      }
    }
  }
  return Combine(degrees, minutes, seconds, token, axis);
}

// Degrees and minutes as "%d.%d".
double ReadWithMinutes(std::string_view token, Axis axis) {
  std::string_view rest = token;
  int degrees = static_cast<int>(kUnreadableDegrees), minutes = 0;
  if (auto d = ReadInt(rest)) {
    degrees = *d;
    if (ReadLiteral(rest, ".")) {
      if (auto m = ReadInt(rest)) minutes = *m;
    }
  }
  return Combine(degrees, minutes, 0, token, axis);
}

std::vector<std::string_view> SplitOnBlanks(std::string_view text) {
  std::vector<std::string_view> pieces;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && IsBlankOrTab(text[at])) ++at;
    const std::size_t start = at;
    while (at < text.size() && !IsBlankOrTab(text[at])) ++at;
    if (at > start) pieces.push_back(text.substr(start, at - start));
  }
  return pieces;
}

PlaceLine ParseSecondsNotation(std::string_view line) {
  PlaceLine place;
  place.resolutionDeg = kSecondsResolutionDeg;
  const std::size_t degree = line.find(kDegreeSign);
  std::size_t nameEnd = 0;
  if (degree != std::string_view::npos) {
    const std::size_t blank = line.substr(0, degree).find_last_of(" \t");
    nameEnd = blank == std::string_view::npos ? 0 : blank;
  } else {
    nameEnd = line.size();
  }
  place.name = TrimBlanksAndTabs(line.substr(0, nameEnd));
  const auto coordinates = SplitOnBlanks(line.substr(nameEnd));
  if (coordinates.size() >= 1) place.latitude = ReadWithSeconds(coordinates[0], Axis::kLatitude);
  if (coordinates.size() >= 2) place.longitude = ReadWithSeconds(coordinates[1], Axis::kLongitude);
  return place;
}

// The last two pieces are the coordinates and the rest is the name, so a name of
// several words or a single blank between the coordinates reads as well as two.
PlaceLine ParseMinutesNotation(std::string_view line) {
  PlaceLine place;
  place.resolutionDeg = kMinutesResolutionDeg;
  const auto pieces = SplitOnBlanks(line);
  if (pieces.size() < 2) {
    place.name = TrimBlanksAndTabs(line);
    return place;
  }
  const std::string_view latitude = pieces[pieces.size() - 2];
  place.name = TrimBlanksAndTabs(line.substr(0, latitude.data() - line.data()));
  place.latitude = ReadWithMinutes(latitude, Axis::kLatitude);
  place.longitude = ReadWithMinutes(pieces.back(), Axis::kLongitude);
  return place;
}

}  // namespace

PlaceLine ParsePlaceLine(std::string_view line) {
  return line.find('"') != std::string_view::npos ? ParseSecondsNotation(line)
                                                  : ParseMinutesNotation(line);
}

std::string FormatCoordinate(double degrees) {
  const double magnitude = std::fabs(degrees);
  const double whole = std::floor(magnitude);
  const double minutesFull = (magnitude - whole) * 60.0;
  const double minutes = std::floor(minutesFull);
  const double seconds = std::round((minutesFull - minutes) * 60.0);
  char text[64];
  std::snprintf(text, sizeof(text), "%s%d\u00B0%02d'%02d\"", degrees < 0 ? "-" : "",
                static_cast<int>(whole), static_cast<int>(minutes), static_cast<int>(seconds));
  return text;
}

std::string FormatPlaceLine(std::string_view name, double latitude, double longitude) {
  return std::string(name) + " " + FormatCoordinate(latitude) + " " + FormatCoordinate(longitude);
}

bool CoordinatesInRange(double latitude, double longitude) {
  return latitude >= -90.0 && latitude <= 90.0 && longitude >= -180.0 && longitude <= 180.0;
}

}  // namespace kelvara::places
