// The Moon's node and apogee.
#pragma once

#include "engine/ephemeris/geometry.h"

namespace kelvara::engine {

// Longitude (deg, mean equinox of date) and its rate (deg/day).
struct LongitudeAndRate {
  double longitudeDeg = 0.0;
  double rateDegPerDay = 0.0;
};

// Mean ascending node, Chapront ELP-2000/82 mean elements (Meeus, Astronomical Algorithms, 47.7).
LongitudeAndRate MeanLunarNode(double julianDayTt);

// Mean apogee: mean longitude minus mean anomaly plus 180 deg (Meeus 47.2 and 47.4), not
// projected onto the ecliptic.
LongitudeAndRate MeanLunarApogee(double julianDayTt);

// Ascending node of the osculating lunar orbit: the orbit's pole from the Moon's places
// kTrueNodeStepDays before, at and after the date; its rate from the poles of the
// osculating orbits at the outer two places. moon is the geometric geocentric Moon at the date
// (au, au/day, au/day^2, mean ecliptic and equinox of date); the outer places follow from its
// Taylor expansion, which stays within a decimetre of the lunar series over the step.
inline constexpr double kTrueNodeStepDays = 0.005;
LongitudeAndRate TrueLunarNode(const MotionState& moon);

}  // namespace kelvara::engine
