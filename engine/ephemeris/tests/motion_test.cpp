// The shortcuts that keep a cast to one evaluation of each theory: the series' own sine and
// cosine, the Moon's second derivatives with the true node built on them, and light time along
// the Keplerian arc. Each is checked against the long way round.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "engine/ephemeris/apparent.h"
#include "engine/ephemeris/lunar_points.h"
#include "engine/ephemeris/moon.h"
#include "engine/ephemeris/planets.h"
#include "engine/ephemeris/precession.h"
#include "engine/ephemeris/sin_cos.h"

namespace kelvara::engine {
namespace {

constexpr double kRadToArcsec = kRadToDeg * 3600.0;
// Dates spread over the served range, TT.
constexpr double kDates[] = {2400000.5, 2415020.0, 2433282.5, 2451545.0, 2460000.25, 2478000.75, 2499999.5};

TEST(SinCosRad, MatchesTheLibraryToTheLastBitsOverTheSeriesArguments) {
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> small(-10.0, 10.0), large(-8.0e5, 8.0e5);
  double worst = 0.0;
  for (int i = 0; i < 200000; ++i) {
    const double x = i % 2 ? small(random) : large(random);
    const SinCos got = SinCosRad(x);
    worst = std::max({worst, std::fabs(got.sin - std::sin(x)), std::fabs(got.cos - std::cos(x))});
  }
  EXPECT_LT(worst, 4e-16);
  // Exact quadrant boundaries and the hand-over to the library.
  EXPECT_EQ(SinCosRad(0.0).sin, 0.0);
  EXPECT_EQ(SinCosRad(0.0).cos, 1.0);
  EXPECT_NEAR(SinCosRad(-kPi).cos, -1.0, 1e-16);
  EXPECT_NEAR(SinCosRad(1.5 * kPi).sin, -1.0, 1e-16);
  EXPECT_EQ(SinCosRad(1.0e9).sin, std::sin(1.0e9));
  EXPECT_TRUE(std::isnan(SinCosRad(std::numeric_limits<double>::quiet_NaN()).sin));
  EXPECT_TRUE(std::isnan(SinCosRad(std::numeric_limits<double>::infinity()).cos));
}

TEST(SinCosOfAngles, GivesTheSameBitsAsOneAngleAtATime) {
  std::mt19937_64 random(8122026);
  std::uniform_real_distribution<double> angle(-1.0e6, 1.0e6);
  std::vector<double> angles(1000);
  for (double& a : angles) a = angle(random);
  angles[3] = std::numeric_limits<double>::quiet_NaN();
  angles[4] = 1.0e12;
  angles[5] = -std::numeric_limits<double>::infinity();
  std::vector<double> sines(angles.size()), cosines(angles.size());
  SinCosOfAngles(angles.data(), sines.data(), cosines.data(), angles.size());
  for (std::size_t i = 0; i < angles.size(); ++i) {
    const SinCos one = SinCosRad(angles[i]);
    if (std::isnan(one.sin)) {
      EXPECT_TRUE(std::isnan(sines[i]) && std::isnan(cosines[i])) << angles[i];
      continue;
    }
    EXPECT_EQ(sines[i], one.sin) << angles[i];
    EXPECT_EQ(cosines[i], one.cos) << angles[i];
  }
}

TEST(MoonMotion, SecondDerivativesAgreeWithTheChangeOfTheVelocity) {
  constexpr double h = 1.0e-3;
  for (double jd : kDates) {
    const MotionState moon = MoonOfDate(jd);
    const Vec3 difference = (1.0 / (2.0 * h)) * (MoonOfDate(jd + h).velocity - MoonOfDate(jd - h).velocity);
    EXPECT_LT(Norm(moon.acceleration - difference), 1e-6 * Norm(moon.acceleration)) << jd;
  }
}

// The node as first defined: three places taken from the series itself at JD - h, JD, JD + h.
LongitudeAndRate NodeFromThreeEvaluations(double jd) {
  const double h = kTrueNodeStepDays;
  const MotionState before = MoonOfDate(jd - h), after = MoonOfDate(jd + h);
  const auto node = [](const Vec3& r, const Vec3& v) {
    const Vec3 pole = Cross(r, v);
    return std::atan2(pole.x, -pole.y);
  };
  const Vec3 velocity = (1.0 / (2.0 * h)) * (after.position - before.position);
  const double longitude = node(MoonOfDate(jd).position, velocity);
  const double rate = WrapPi(node(after.position, after.velocity) - node(before.position, before.velocity)) / (2.0 * h);
  return {NormalizeDegrees(longitude * kRadToDeg), rate * kRadToDeg};
}

TEST(MoonMotion, TrueNodeFromOneEvaluationMatchesThreeEvaluations) {
  // The three-place difference quotient carries h^2/6 of the Moon's jerk, a few 1e-4".
  constexpr double kToleranceArcsec = 1e-3;
  for (double jd : kDates) {
    const LongitudeAndRate expected = NodeFromThreeEvaluations(jd);
    const LongitudeAndRate got = TrueLunarNode(MoonOfDate(jd));
    EXPECT_LT(std::fabs(std::remainder(got.longitudeDeg - expected.longitudeDeg, 360.0)) * 3600.0, kToleranceArcsec)
        << jd;
    EXPECT_NEAR(got.rateDegPerDay, expected.rateDegPerDay, 1e-6) << jd;
  }
}

// Light time by evaluating the theory again at the emission time until it settles.
Vec3 GeocentricByEvaluation(VsopBody body, double jd, const StateVector& earth) {
  double lightTimeDays = 0.0;
  StateVector emitted;
  for (int i = 0; i < 4; ++i) {
    emitted = PlanetHeliocentricState(body, jd - lightTimeDays);
    lightTimeDays = Norm(emitted.position - earth.position) * kLightDaysPerAu;
  }
  const double turn = GeneralPrecessionInLongitude(jd).rateRadPerDay * lightTimeDays;
  const Vec3& p = emitted.position;
  const Vec3 turned = {std::cos(turn) * p.x - std::sin(turn) * p.y, std::sin(turn) * p.x + std::cos(turn) * p.y, p.z};
  return turned - earth.position;
}

TEST(LightTime, KeplerianStepStaysOnTheTheorysPath) {
  for (VsopBody body : {VsopBody::kMercury, VsopBody::kVenus, VsopBody::kMars}) {
    for (double jd : kDates) {
      const StateVector earth = PlanetHeliocentricState(VsopBody::kEarth, jd);
      const StateVector got = LightTimeCorrected(jd, earth, PlanetHeliocentricState(body, jd));
      const Vec3 expected = GeocentricByEvaluation(body, jd, earth);
      EXPECT_LT(Norm(got.position - expected), 1e-10) << static_cast<int>(body) << " at " << jd;
      EXPECT_LT(Norm(got.position - expected) / Norm(expected) * kRadToArcsec, 1e-4);
    }
  }
}

}  // namespace
}  // namespace kelvara::engine
