// One line of a text place file: reading both notations and writing the one with seconds.
#pragma once

#include <string>
#include <string_view>

namespace kelvara::places {

// An unreadable coordinate keeps this many degrees, so the range test rejects it.
inline constexpr double kUnreadableDegrees = 1000.0;

struct PlaceLine {
  std::string name;
  double latitude = kUnreadableDegrees;
  double longitude = kUnreadableDegrees;
  // How far apart two readings of one place may lie given the notation's precision.
  double resolutionDeg = 0.0;
};

// Parses a UTF-8 line "name latitude longitude" in either notation.
PlaceLine ParsePlaceLine(std::string_view line);

// "-33°52'00\"": whole degrees, whole minutes, rounded seconds (which may be 60).
std::string FormatCoordinate(double degrees);

// "name latitude longitude" as SavePlaces writes it, without the line end.
std::string FormatPlaceLine(std::string_view name, double latitude, double longitude);

bool CoordinatesInRange(double latitude, double longitude);

}  // namespace kelvara::places
