// The outer planets integrated from DE405's states of J2000 against DE405's own states of
// 1960, 1980, 2020 and 2060, nothing fitted.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tools/ephemgen/de405.h"
#include "tools/ephemgen/outer_planets.h"

namespace kelvara::tools {
namespace {

const std::string kSource = KELVARA_SOURCE_DIR;

// The model reaches 0.004" (README); leaving out the Sun's post-Newtonian term would cost
// Jupiter 0.09", merging the inner planets into the Sun 2.2".
constexpr double kBoundArcsec = 0.01;

TEST(OuterPlanets, IntegrationFollowsDe405ToItsOtherEpochs) {
  const De405 de405 = ReadDe405(kSource + "/tools/ephemgen/data/de405");
  PerturbingPlanets planets(kSource + "/tools/seriesgen/series/vsop87", 1e-7, 0.4);
  BodyIntegrator integrator(planets, OuterPlanetModel(de405.constants), 8.0);
  const std::vector<EpochCheck> checks =
      CheckAgainstDe405(integrator, OuterPlanetStates(de405, kStartEpochJd, Origin::kSun), de405, Origin::kSun);
  ASSERT_EQ(checks.size(), 4u);
  // Nearest first on either side of J2000.
  const double epochs[] = {2444239.5, 2436950.5, 2458849.5, 2473459.5};
  for (std::size_t e = 0; e < checks.size(); ++e) {
    EXPECT_EQ(checks[e].julianDayTdb, epochs[e]);
    for (int p = 0; p < kOuterPlanetCount; ++p) {
      EXPECT_LT(checks[e].arcsec[p], kBoundArcsec) << "planet " << p << " at JD " << checks[e].julianDayTdb;
    }
  }
}

// The states start heliocentric on the ecliptic: the osculating inclinations of J2000 (Jupiter
// 1.305°, Pluto 17.15°; on the equator they would be 20-odd degrees) and Jupiter's distance
// from the Sun (4.9654 au, against 4.9580 from the barycentre).
TEST(OuterPlanets, StatesAreHeliocentricEcliptic) {
  const De405 de405 = ReadDe405(kSource + "/tools/ephemgen/data/de405");
  const std::vector<engine::StateVector> states = OuterPlanetStates(de405, kStartEpochJd, Origin::kSun);
  const auto inclinationDeg = [](const engine::StateVector& s) {
    const engine::Vec3 h = engine::Cross(s.position, s.velocity);
    return std::acos(h.z / engine::Norm(h)) * engine::kRadToDeg;
  };
  EXPECT_NEAR(inclinationDeg(states[kJupiter]), 1.305, 0.01);
  EXPECT_NEAR(inclinationDeg(states[kPluto]), 17.15, 0.01);
  EXPECT_NEAR(engine::Norm(states[kJupiter].position), 4.9654, 1e-3);
}

}  // namespace
}  // namespace kelvara::tools
