// Delta T, nutation, the lunar points and the request rules of EphemerisPosition.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/ephemeris/apparent.h"
#include "engine/ephemeris/delta_t.h"
#include "engine/ephemeris/ephemeris.h"
#include "engine/ephemeris/nutation.h"
#include "engine/ephemeris/tables.h"
#include "engine/ephemeris/tests/reference_positions.h"

namespace kelvara::engine {
namespace {

const std::string kData = std::string(KELVARA_SOURCE_DIR) + "/data/";
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The place of a body at a TT day, failing the test when the layer cannot serve it.
EphemerisResult AtTt(EphemerisLayer& layer, int body, double julianDayTt) {
  EphemerisResult result;
  EXPECT_TRUE(layer.PositionAtTt(body, julianDayTt, kData, result)) << body << " at " << julianDayTt;
  return result;
}

TEST(Nutation, MatchesTheIau2000BReferenceValue) {
  // SOFA iauNut00b test case, MJD 53736.0 TT.
  const Nutation n = Nutation2000B(2400000.5 + 53736.0);
  EXPECT_NEAR(n.longitudeRad, -0.9632552291148362783e-5, 1e-13);
  EXPECT_NEAR(n.obliquityRad, 0.4063197106621159367e-4, 1e-13);
}

// The view moved linearly by stepDays, the Earth's velocity turned by the Sun's pull.
GeocentricView Moved(GeocentricView view, double stepDays) {
  constexpr double kSunGravityAu3PerDay2 = 0.01720209895 * 0.01720209895;
  const double r = Norm(view.earth.position);
  const Vec3 pull = (-kSunGravityAu3PerDay2 / (r * r * r)) * view.earth.position;
  view.geocentric.position = view.geocentric.position + stepDays * view.geocentric.velocity;
  view.earth.position = view.earth.position + stepDays * view.earth.velocity;
  view.earth.velocity = view.earth.velocity + stepDays * pull;
  return view;
}

TEST(ApparentPlace, RateIsTheDerivativeOfTheApparentLongitude) {
  const StateVector earth{{0.98, 0.17, 0.0}, {-0.003, 0.0169, 0.0}};
  // A planet two degrees from the Sun behind it (deflected and aberrated), and the Moon.
  const GeocentricView planet{{{-1.70, -0.36, 0.02}, {0.012, -0.025, 0.001}}, earth, true, true};
  const GeocentricView moon{{{0.0015, 0.0019, 0.0002}, {-0.00045, 0.00036, 0.00004}}, earth, false, false};
  const Nutation none{};
  constexpr double kStepDays = 1.0e-4;
  for (const GeocentricView& view : {planet, moon}) {
    const double ahead = ApparentFromGeocentric(Moved(view, kStepDays), none).longitudeDeg;
    const double behind = ApparentFromGeocentric(Moved(view, -kStepDays), none).longitudeDeg;
    EXPECT_NEAR(ApparentFromGeocentric(view, none).motionDegPerDay, (ahead - behind) / (2.0 * kStepDays), 1e-8);
  }
}

TEST(DeltaT, FollowsTheMeasuredValues) {
  EXPECT_NEAR(DeltaTSeconds(2441714.5), 43.4724, 1e-9);  // 1973-02-01, first IERS month
  EXPECT_NEAR(DeltaTSeconds(2451544.5), 63.83, 0.05);     // 2000-01-01
  EXPECT_NEAR(DeltaTSeconds(2415020.5), -2.7, 0.3);       // 1900
  // Halfway between two monthly values is their mean.
  const auto& a = kDeltaTTable[kDeltaTTable.size() - 20];
  const auto& b = kDeltaTTable[kDeltaTTable.size() - 19];
  EXPECT_NEAR(DeltaTSeconds((a.julianDayUt + b.julianDayUt) / 2), (a.deltaTSeconds + b.deltaTSeconds) / 2, 1e-9);
}

TEST(DeltaT, ExtrapolationJoinsTheTableAndStaysFinite) {
  for (const DeltaTPoint& edge : {kDeltaTTable.front(), kDeltaTTable.back()}) {
    EXPECT_NEAR(DeltaTSeconds(edge.julianDayUt - 1e-3), DeltaTSeconds(edge.julianDayUt + 1e-3), 1e-3);
  }
  const double in2130 = DeltaTSeconds(2499400.5);
  EXPECT_GT(in2130, DeltaTSeconds(kDeltaTTable.back().julianDayUt));
  EXPECT_LT(in2130, 400.0);
  EXPECT_TRUE(std::isfinite(DeltaTSeconds(-5.0e6)) && std::isfinite(DeltaTSeconds(9.0e6)));
  EXPECT_TRUE(std::isnan(DeltaTSeconds(kNaN)));
}

TEST(DeltaT, AgreesWithTheReferenceModelWhereBothFollowMeasurements) {
  // The reference's Espenak-Meeus polynomials approximate the measured values to about a second
  // before 2005; later they run ahead of the measurements (5.6 s by 2025).
  for (const auto& row : testing::LoadReferencePositions()) {
    if (row.body != "sun" || row.julianDayUt > 2453371.5) continue;
    EXPECT_NEAR(DeltaTSeconds(row.julianDayUt), row.deltaTSeconds, 2.0) << row.julianDayUt;
  }
}

TEST(EphemerisPosition, TakesUniversalTimeAndReportsTheDeltaTUsed) {
  EphemerisLayer layer;
  const double jdUt = 2460000.25;
  EphemerisResult fromUt, global;
  ASSERT_TRUE(layer.Position(kBodyMoon, jdUt, kData, fromUt));
  EXPECT_DOUBLE_EQ(fromUt.longitudeDeg, AtTt(layer, kBodyMoon, jdUt + DeltaTSeconds(jdUt) / kSecondsPerDay).longitudeDeg);
  EXPECT_DOUBLE_EQ(fromUt.deltaTSeconds, DeltaTSeconds(jdUt));
  EXPECT_GT(fromUt.deltaTSeconds, 60.0);
  ASSERT_TRUE(EphemerisPosition(kBodyMoon, jdUt, kData, global));
  EXPECT_DOUBLE_EQ(global.longitudeDeg, fromUt.longitudeDeg);
}

TEST(EphemerisBodyOfObject, MapsTheEngineObjectsOntoTheLayersBodies) {
  struct Case {
    int object;
    bool trueNode;
    int body;
  };
  const Case cases[] = {{1, false, kBodySun},     {2, false, kBodyMoon},      {10, false, kBodyPluto},
                        {11, false, kBodyChiron}, {12, false, kBodyCeres},    {15, false, kBodyVesta},
                        {16, false, kBodyMeanNode}, {16, true, kBodyTrueNode}, {17, true, kBodyLilith}};
  for (const Case& c : cases) EXPECT_EQ(EphemerisBodyOfObject(c.object, c.trueNode), c.body) << c.object;
  for (int object : {0, 18, 21, 40, 87}) EXPECT_FALSE(EphemerisBodyOfObject(object, false)) << object;
}

TEST(EphemerisPosition, RefusesWhatItCannotServe) {
  EphemerisLayer layer;
  EphemerisResult r;
  for (int body : {-1, 18, 40, 88}) EXPECT_FALSE(layer.Position(body, 2451545.0, kData, r)) << body;
  for (double jd : {kNaN, std::numeric_limits<double>::infinity(), 1.0e9}) {
    EXPECT_FALSE(layer.Position(kBodySun, jd, kData, r)) << jd;
  }
  // Outside the files present, or without a data folder.
  for (int body : {kBodyJupiter, kBodyPluto, kBodyChiron, kBodyCeres, kBodyVesta}) {
    EXPECT_FALSE(layer.Position(body, 2600000.0, kData, r)) << body;
    EXPECT_FALSE(layer.Position(body, 2451545.0, "/nonexistent/", r)) << body;
  }
}

TEST(EphemerisPosition, FileBodiesRunSmoothlyAcrossTheFileBoundaries) {
  EphemerisLayer layer;
  for (double boundary : {2400000.0, 2500000.0}) {
    for (int body : {kBodyJupiter, kBodySaturn, kBodyUranus, kBodyNeptune, kBodyPluto, kBodyChiron, kBodyCeres,
                     kBodyPallas, kBodyJuno, kBodyVesta}) {
      const EphemerisResult before = AtTt(layer, body, boundary - 0.5), after = AtTt(layer, body, boundary + 0.5);
      const double step = std::remainder(after.longitudeDeg - before.longitudeDeg, 360.0);
      EXPECT_NEAR(step, (before.motionDegPerDay + after.motionDegPerDay) / 2.0, 2e-5) << body << " " << boundary;
    }
  }
}

TEST(EphemerisPosition, FarDatesStillGiveFiniteNumbers) {
  EphemerisLayer layer;
  for (double jd : {0.0, 1.0e6, 4.5e6, 1.2e7}) {
    for (int body : {kBodySun, kBodyMoon, kBodyMercury, kBodyVenus, kBodyMars, kBodyMeanNode, kBodyTrueNode,
                     kBodyLilith}) {
      EphemerisResult r;
      ASSERT_TRUE(layer.Position(body, jd, kData, r)) << body << " " << jd;
      EXPECT_TRUE(std::isfinite(r.longitudeDeg) && std::isfinite(r.latitudeDeg) && std::isfinite(r.motionDegPerDay))
          << body << " " << jd;
      EXPECT_TRUE(r.longitudeDeg >= 0.0 && r.longitudeDeg < 360.0) << body << " " << jd;
    }
  }
}

TEST(LunarPoints, TrueNodeOscillatesAboutTheMeanNode) {
  EphemerisLayer layer;
  double sumOffset = 0.0;
  int count = 0;
  bool sawDirectMotion = false;
  for (double jd = 2451545.0; jd < 2451545.0 + 3 * 365.25; jd += 1.7, ++count) {
    const EphemerisResult mean = AtTt(layer, kBodyMeanNode, jd), trueNode = AtTt(layer, kBodyTrueNode, jd);
    const double offset = std::remainder(trueNode.longitudeDeg - mean.longitudeDeg, 360.0);
    EXPECT_LT(std::fabs(offset), 2.0) << jd;  // excursions reach about 1.9 deg
    EXPECT_EQ(trueNode.latitudeDeg, 0.0);
    EXPECT_NEAR(mean.motionDegPerDay, -0.05295, 1e-4);
    sumOffset += offset;
    sawDirectMotion = sawDirectMotion || trueNode.motionDegPerDay > 0.0;
  }
  EXPECT_NEAR(sumOffset / count, 0.0, 0.2);
  EXPECT_TRUE(sawDirectMotion);  // the true node stands still and turns direct at times
}

// The rate comes from the osculating orbits either side of the date, the longitude from
// the places around it: both must describe the same moving node.
TEST(LunarPoints, TrueNodeRateMatchesItsLongitudeChange) {
  EphemerisLayer layer;
  constexpr double kHalfStepDays = 0.05;
  for (double jd = 2451545.0; jd < 2451545.0 + 60.0; jd += 3.3) {
    const double before = AtTt(layer, kBodyTrueNode, jd - kHalfStepDays).longitudeDeg;
    const double change = std::remainder(AtTt(layer, kBodyTrueNode, jd + kHalfStepDays).longitudeDeg - before, 360.0);
    EXPECT_NEAR(AtTt(layer, kBodyTrueNode, jd).motionDegPerDay, change / (2.0 * kHalfStepDays), 1e-3) << jd;
  }
}

TEST(LunarPoints, LilithIsTheMeanApogeeOnTheEcliptic) {
  EphemerisLayer layer;
  const EphemerisResult lilith = AtTt(layer, kBodyLilith, 2451545.0);
  // L' - M' + 180 at J2000: 218.3164477 - 134.9633964 + 180, plus the nutation in longitude.
  EXPECT_NEAR(lilith.longitudeDeg, 263.3530513 + Nutation2000B(2451545.0).longitudeRad * kRadToDeg, 1e-7);
  EXPECT_NEAR(lilith.motionDegPerDay, 0.11140, 1e-4);
}

TEST(EphemerisPosition, SunCarriesTheEarthsHeliocentricVector) {
  EphemerisLayer layer;
  const EphemerisResult sun = AtTt(layer, kBodySun, 2451545.0);
  EXPECT_NEAR(Norm(sun.heliocentricAu), 0.98333, 1e-4);
  // The Earth lies opposite the Sun's geocentric longitude.
  const double earthLongitude = std::atan2(sun.heliocentricAu.y, sun.heliocentricAu.x) * kRadToDeg;
  EXPECT_NEAR(std::remainder(earthLongitude + 180.0 - sun.longitudeDeg, 360.0), 0.0, 0.01);
}

}  // namespace
}  // namespace kelvara::engine
