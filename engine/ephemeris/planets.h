// Heliocentric places from the compiled VSOP87D tables.
#pragma once

#include "engine/ephemeris/geometry.h"
#include "engine/ephemeris/series.h"
#include "engine/ephemeris/taylor_segment.h"

namespace kelvara::engine {

// Bodies with compiled series.
enum class VsopBody { kMercury, kVenus, kEarth, kMars };

// L, B, R with rates from a VSOP87D body series at julianDayTdb (TDB taken as TT):
// mean dynamical ecliptic and equinox of date, rad, au, per day.
SphericalState VsopHeliocentric(const VsopBodySeries& series, double julianDayTdb);

const VsopBodySeries& CompiledVsopSeries(VsopBody body);

// VSOP87D's equinox of date follows the IAU 1976 precession constant; this moves a place onto
// the equinox of the corrected constant (kPrecessionCorrectionArcsecPerCentury), which IAU 2006
// precession and ELP/MPP02 share.
SphericalState WithCorrectedPrecession(SphericalState place, double julianDayTdb);

// VsopHeliocentric moved onto the corrected equinox of date.
SphericalState CorrectedVsopHeliocentric(const VsopBodySeries& series, double julianDayTdb);

// Heliocentric state of a compiled body on the corrected equinox of date, au and au/day.
StateVector PlanetHeliocentricState(VsopBody body, double julianDayTdb);
// The same from a compiled body's TaylorSegment of L, B, R holding the day.
StateVector PlanetHeliocentricState(const TaylorSegment<3>& segment, double julianDayTdb);
// A compiled body's L, B, R about a middle day.
TaylorSegment<3> PlanetTaylorSegment(VsopBody body, double middleDay, std::size_t order);

}  // namespace kelvara::engine
