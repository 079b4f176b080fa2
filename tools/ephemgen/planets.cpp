#include "tools/ephemgen/planets.h"

#include <limits>

#include "engine/ephemeris/planets.h"
#include "engine/ephemeris/precession.h"

namespace kelvara::tools {

PerturbingPlanets::PerturbingPlanets(const std::string& vsopFolder, double thresholdRad, double maxAbsMillennia) {
  const char* files[kInnerPlanetCount] = {"mer", "ven", "ear", "mar"};
  for (int i = 0; i < kInnerPlanetCount; ++i) {
    series_[i] = TruncateVsop(ReadVsop87File(vsopFolder + "/VSOP87D." + files[i]), thresholdRad, maxAbsMillennia);
  }
  cachedDays_.fill(std::numeric_limits<double>::quiet_NaN());
}

const PlanetPositions& PerturbingPlanets::At(double julianDayTdb) {
  for (int slot = 0; slot < kCacheSize; ++slot) {
    if (cachedDays_[slot] == julianDayTdb) return cached_[slot];
  }
  const int slot = nextSlot_;
  nextSlot_ = (nextSlot_ + 1) % kCacheSize;
  for (int i = 0; i < kInnerPlanetCount; ++i) {
    const engine::SphericalState ofDate = engine::CorrectedVsopHeliocentric(series_[i].View(), julianDayTdb);
    cached_[slot][i] =
        engine::PrecessEclipticDateToJ2000(engine::SphericalToRectangular(ofDate).position, julianDayTdb);
  }
  cachedDays_[slot] = julianDayTdb;
  return cached_[slot];
}

}  // namespace kelvara::tools
