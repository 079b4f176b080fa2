// Geocentric Moon from the compiled ELP/MPP02 tables.
#pragma once

#include "engine/ephemeris/geometry.h"
#include "engine/ephemeris/series.h"

namespace kelvara::engine {

// V, U, r of the inertial mean ecliptic of date from the departure point, with their first and
// second derivatives (rad, km; per day).
struct LunarPlace {
  Jet longitudeRad;
  Jet latitudeRad;
  Jet distanceKm;
};
LunarPlace LunarSeriesPlace(const LunarSeries& series, double julianDayTdb);

// Rectangular km and km/day on the inertial mean ecliptic and equinox of J2000, through
// Laskar's P, Q (ELP/MPP02 notice, section 5.1); the frame of the authors' check values.
StateVector MoonEclipticJ2000Km(const LunarSeries& series, double julianDayTdb);

// Geometric geocentric Moon, mean ecliptic and equinox of date, au, au/day and au/day^2.
MotionState MoonOfDate(double julianDayTdb);

}  // namespace kelvara::engine
