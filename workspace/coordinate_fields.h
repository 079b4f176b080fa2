// Latitude or longitude as the dialogs edit it: whole degrees, minutes and the
// hemisphere button.
#pragma once

#include <cmath>

namespace kelvara::workspace {

inline constexpr double kMinutesPerDegree = 60.0;

struct AngleFields {
  int degrees = 0;
  double minutes = 0.0;
  bool negative = false;  // "Ю.Ш." or "З.Д."

  double Degrees() const { return (degrees + minutes / kMinutesPerDegree) * (negative ? -1.0 : 1.0); }

  static AngleFields FromDegrees(double value) {
    const double magnitude = std::fabs(value);
    const double whole = std::floor(magnitude);
    return {static_cast<int>(whole), (magnitude - whole) * kMinutesPerDegree, value < 0.0};
  }
};

}  // namespace kelvara::workspace
