// The inner planets as perturbers of the integrated bodies: heliocentric positions on the
// ecliptic and mean equinox of J2000 from the VSOP87D series, truncated to what a perturbing
// force needs. The outer planets are integrated with the other bodies (outer_planets.h).
#pragma once

#include <array>
#include <string>

#include "engine/ephemeris/geometry.h"
#include "tools/seriesgen/series_files.h"

namespace kelvara::tools {

inline constexpr int kInnerPlanetCount = 4;  // Mercury, Venus, Earth, Mars

using PlanetPositions = std::array<engine::Vec3, kInnerPlanetCount>;

class PerturbingPlanets {
 public:
  // Reads VSOP87D.mer ... VSOP87D.mar from vsopFolder and keeps the terms that reach
  // thresholdRad (au for the radius) within maxAbsMillennia of J2000.
  PerturbingPlanets(const std::string& vsopFolder, double thresholdRad, double maxAbsMillennia);

  // Heliocentric positions, au, ecliptic and mean equinox J2000, at a TDB Julian day. The last
  // few days asked are kept, since an integrator step asks the same instants again.
  const PlanetPositions& At(double julianDayTdb);

 private:
  static constexpr int kCacheSize = 16;
  std::array<OwnedVsopSeries, kInnerPlanetCount> series_;
  std::array<double, kCacheSize> cachedDays_;
  std::array<PlanetPositions, kCacheSize> cached_{};
  int nextSlot_ = 0;
};

}  // namespace kelvara::tools
