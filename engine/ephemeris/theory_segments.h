// The layer's costly theories (VSOP87D for the Earth, Mercury, Venus and Mars, ELP/MPP02 for
// the Moon, IAU 2000B nutation) through segments of time.
//
// A chart's Moon and planets come from Taylor segments (taylor_segment.h): a few hours or days
// about a fixed middle, built from one evaluation of the series, so a chart on its own costs
// about what the series cost and charts cast close together share it. A scan names the
// spacing of its moments (its step, in days). Where that spacing asks the Moon or the nutation
// at least once per node of a Chebyshev segment (days long, fitted from the theory at its
// nodes, kept for the scans of the following days, as the calendars run them), the scan takes
// them from Chebyshev segments: for the Moon that is a quarter of the work of its Taylor
// segments over a day. Where a scan's samples lie a Taylor segment or more apart (the year
// scan's days), it takes the planets and the Moon from the theories themselves. Nutation,
// cheap as it is, otherwise comes from the theory. The choice follows from the spacing alone,
// and every segment from its place on a fixed grid, so a moment gets the same values whatever
// was asked before.
#pragma once

#include "engine/ephemeris/geometry.h"
#include "engine/ephemeris/nutation.h"
#include "engine/ephemeris/planets.h"
#include "engine/ephemeris/segment_cache.h"
#include "engine/ephemeris/taylor_segment.h"

namespace kelvara::engine {

// Chebyshev segment lengths (days) and nodes per theory: the fewest nodes that meet each theory
// within its own rounding over 1860-2130 (the Moon's position within 3e-12 of itself, 1e-6").
inline constexpr double kMoonSegmentDays = 4.0;
inline constexpr std::size_t kMoonNodes = 14;
inline constexpr double kNutationSegmentDays = 8.0;
inline constexpr std::size_t kNutationNodes = 16;
// Taylor segments: for each theory the fewest derivatives that keep its place within the
// theory's own rounding over 1860-2130 (5e-12 of the Moon's distance, 3e-12 of a planet's;
// the motions within 3e-11 and 3e-10 of themselves) over the segment length.
struct TaylorPlan {
  double lengthDays;
  std::size_t order;
};
inline constexpr TaylorPlan kMoonTaylor{0.125, 6};
inline constexpr TaylorPlan kMercuryTaylor{1.0, 6};
inline constexpr TaylorPlan kVenusTaylor{4.0, 6};
inline constexpr TaylorPlan kEarthTaylor{2.0, 6};  // the monthly wobble round the barycentre
inline constexpr TaylorPlan kMarsTaylor{4.0, 5};

class TheorySegments {
 public:
  TheorySegments();

  // Heliocentric state on the corrected equinox of date (PlanetHeliocentricState).
  StateVector Planet(VsopBody body, double julianDayTdb, double spacingDays);
  // Geometric geocentric Moon (MoonOfDate).
  MotionState Moon(double julianDayTdb, double spacingDays);
  // Nutation2000B.
  Nutation NutationAt(double julianDayTt, double spacingDays);

 private:
  SegmentCache<9, kMoonNodes> moon_;
  SegmentCache<3, kNutationNodes> nutation_;
  TaylorSegments<3> earthTaylor_;
  TaylorSegments<3> mercuryTaylor_;
  TaylorSegments<3> venusTaylor_;
  TaylorSegments<3> marsTaylor_;
  TaylorSegments<3> moonTaylor_;
};

}  // namespace kelvara::engine
