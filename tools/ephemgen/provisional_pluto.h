// Pluto for the set-1 files: PLUTO95 inside its validity; before and after it a two-body
// orbit about the solar-system barycentre started from PLUTO95's first or last days,
// because PLUTO95's own series run away within years of its ends.
#pragma once

#include <vector>

#include "engine/ephemeris/geometry.h"
#include "tools/ephemgen/pluto95.h"
#include "tools/seriesgen/series_files.h"

namespace kelvara::tools {

inline constexpr double kPluto95FirstJd = 2341972.5;  // 1700-01-01
inline constexpr double kPluto95LastJd = 2488092.5;   // 2100-01-24

class ProvisionalPluto {
 public:
  // outerPlanets: full VSOP87D series of Jupiter, Saturn, Uranus and Neptune, in that order.
  ProvisionalPluto(Pluto95Tables tables, const std::vector<OwnedVsopSeries>& outerPlanets);

  // Heliocentric position, au, ecliptic and equinox of date (TT).
  engine::Vec3 EclipticOfDate(double julianDay) const;

 private:
  engine::Vec3 HeliocentricEclipticJ2000(double julianDay) const;
  engine::StateVector SunFromBarycentre(double julianDay) const;
  engine::Vec3 TwoBodyFrom(double anchorJd, double julianDay) const;

  Pluto95Tables tables_;
  const std::vector<OwnedVsopSeries>& outerPlanets_;
};

// Two-body motion: the state after elapsedDays under gravitational parameter mu (au^3/day^2).
engine::StateVector PropagateKepler(const engine::StateVector& start, double mu, double elapsedDays);

}  // namespace kelvara::tools
