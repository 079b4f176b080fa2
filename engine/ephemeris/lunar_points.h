// The Moon's node and apogee.
#pragma once

#include <functional>

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

// Geometric geocentric Moon (au, mean ecliptic and equinox of date) at a TT Julian day.
using MoonPositionSource = std::function<Vec3(double julianDayTt)>;

// Ascending node of the osculating lunar orbit: the orbit's pole from the Moon's places
// kTrueNodeStepDays before and after the date, its rate from the nodes half a step apart.
inline constexpr double kTrueNodeStepDays = 0.005;
LongitudeAndRate TrueLunarNode(const MoonPositionSource& moon, double julianDayTt);

}  // namespace kelvara::engine
