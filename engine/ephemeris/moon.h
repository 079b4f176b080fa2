// Geocentric Moon from the compiled ELP/MPP02 tables.
#pragma once

#include "engine/ephemeris/geometry.h"
#include "engine/ephemeris/series.h"

namespace kelvara::engine {

// V, U, r with rates: inertial mean ecliptic of date from the departure point (rad, km, per day).
SphericalState LunarSeriesPlace(const LunarSeries& series, double julianDayTdb);

// Rectangular km and km/day on the inertial mean ecliptic and equinox of J2000, through
// Laskar's P, Q (ELP/MPP02 notice, section 5.1); the frame of the authors' check values.
StateVector MoonEclipticJ2000Km(const LunarSeries& series, double julianDayTdb);

// Geometric geocentric Moon, mean ecliptic and equinox of date, au and au/day.
StateVector MoonOfDate(double julianDayTdb);

}  // namespace kelvara::engine
