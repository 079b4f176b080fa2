// Geocentric Moon from the compiled ELP/MPP02 tables.
#pragma once

#include "engine/ephemeris/geometry.h"
#include "engine/ephemeris/series.h"
#include "engine/ephemeris/taylor_segment.h"

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
// The same from the series' V, U, r at that day (as LunarSeriesPlace gives them).
MotionState MoonOfDate(LunarPlace place, double julianDayTdb);
// The compiled ELP/MPP02 about a middle day (TaylorSegment components V, U, r), and the
// place it gives at a day of the segment.
TaylorSegment<3> MoonTaylorSegment(double middleDay, std::size_t order);
LunarPlace LunarPlaceOf(const TaylorSegment<3>& segment, double julianDayTdb);

}  // namespace kelvara::engine
