// The search of a moment at which a chart angle (the Midheaven or the Ascendant) of a
// place reaches a given longitude; used by the solar-arc Midheaven and the composite
// chart's houses for a place.
#pragma once

#include <functional>

namespace kelvara::workspace {

// The angles turn once a sidereal day: about 15.04 degrees an hour.
inline constexpr double kAngleRateDegPerHour = 360.98564736629 / 24.0;
inline constexpr double kMaxAngleStepHours = 24.0;
inline constexpr double kAngleSearchPrecisionHours = 1.0 / 3600.0;

// Steps of at most 24 hours in the direction that reduces the difference, refined by the
// secant of the last two trials, until a step falls below one second. Returns the moment
// (hours since 1860, kept within 1860-2130). A bounded number of trials guards against
// an angle that never reaches the target.
double SearchAngleMoment(double startHours, double targetDeg,
                         const std::function<double(double hours)>& angleAt);

}  // namespace kelvara::workspace
