// The theories through their Taylor and Chebyshev segments: agreement with the theories, and
// the same values for a moment whatever was asked before.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <thread>
#include <vector>

#include "engine/ephemeris/chebyshev.h"
#include "engine/ephemeris/ephemeris.h"
#include "engine/ephemeris/moon.h"
#include "engine/ephemeris/planets.h"
#include "engine/ephemeris/theory_segments.h"

namespace kelvara::engine {
namespace {

const std::string kData = std::string(KELVARA_SOURCE_DIR) + "/data/";
constexpr double kRiseSetSpacingDays = 0.5 / 24.0;  // the rise/set scan's half hour
constexpr VsopBody kVsopBodies[] = {VsopBody::kMercury, VsopBody::kVenus, VsopBody::kEarth, VsopBody::kMars};

// Moments over 1860-2130 with the bound of the theories' own rounding there, and thousands of
// years out, where the angles are large, the fast sine reduction gives up and the theories'
// rounding grows with them.
struct Moment {
  double julianDay;
  double scale;  // of the bounds
};
std::vector<Moment> Moments() {
  std::mt19937_64 random(17);
  std::uniform_real_distribution<double> day(2400000.0, 2499000.0);
  std::vector<Moment> moments;
  for (int i = 0; i < 150; ++i) moments.push_back({day(random), 1.0});
  for (const double far : {-2.0e6, 5.5e6}) moments.push_back({far + 0.3, 30.0});
  return moments;
}

double Relative(const Vec3& a, const Vec3& b) { return Norm(a - b) / Norm(b); }

// Small series with terms of every power: their Taylor segments against direct evaluation,
// which checks the derivative sums and their combination with the powers of time.
TEST(TaylorSegments, FollowPoissonSeriesOfEveryPower) {
  const VsopTerm l0[] = {{1.7, 0.3, 6283.1}, {0.02, 2.0, 77713.8}}, l1[] = {{0.5, 1.1, 529.7}},
                 l3[] = {{0.01, 4.0, 12566.2}};
  const VsopCoordinate coordinate{{std::span<const VsopTerm>(l0), std::span<const VsopTerm>(l1), {},
                                   std::span<const VsopTerm>(l3), {}, {}}};
  const VsopBodySeries vsop{coordinate, coordinate, coordinate};
  const LunarTerm v0[] = {{0.1, {2.35, 8328.7, 1.5e-4, 2.5e-7, -1.2e-9}}}, v2[] = {{3e-4, {0.8, 16657.4, 3e-4, 5e-7, 0}}};
  const LunarCoordinate lunarCoordinate{{std::span<const LunarTerm>(v0), {}, std::span<const LunarTerm>(v2), {}}};
  const LunarSeries lunar{lunarCoordinate, lunarCoordinate, lunarCoordinate, {3.81, 8399.7, -2.8e-5, 3.2e-8, -1.5e-10}};
  for (const double middle : {2400000.5, 2451545.0, 2488000.25}) {
    const TaylorSegment<3> planet = VsopTaylorSegment(ColumnsOf(vsop), middle, 8);
    const TaylorSegment<3> moon = LunarTaylorSegment(ColumnsOf(lunar), middle, 8);
    for (const double offset : {-0.5, -0.25, 0.0, 0.4, 0.5}) {
      const double day = middle + offset, millennia = (day - kJ2000Jd) / kDaysPerMillennium;
      const SeriesValue exact = EvaluateVsopCoordinate(coordinate, millennia);
      // Within the rounding of the angles, some hundreds of radians, in the direct sums.
      EXPECT_NEAR(planet.At(1, day).value, exact.value, 5e-13) << middle << " " << offset;
      EXPECT_NEAR(planet.At(1, day).rate, exact.rate / kDaysPerMillennium, 1e-14) << middle << " " << offset;
      // The Moon's segments are a few hours long.
      const double hours = middle + offset / 2.0;
      const Jet u = EvaluateLunarCoordinate(lunarCoordinate, CenturiesFromJ2000(hours));
      EXPECT_NEAR(moon.At(1, hours).value, u.value, 5e-13) << middle << " " << offset;
      EXPECT_NEAR(moon.At(1, hours).rate, u.rate / kDaysPerCentury, 1e-13) << middle << " " << offset;
    }
  }
}

// A Chebyshev segment meets its function at the nodes and within rounding between them.
TEST(ChebyshevSegments, FitSmoothFunctionsWithinRounding) {
  const auto theory = [](double day) {
    return std::array<double, 2>{std::sin(0.23 * (day - 2451545.0)), 1e-3 * (day - 2451540.0) * (day - 2451540.0)};
  };
  const auto segment = ChebyshevSegment<2, 14>::Fit(2451540.0, 4.0, theory);
  for (std::size_t k = 0; k < 14; ++k) {
    const double day = ChebyshevSegment<2, 14>::NodeDay(2451540.0, 4.0, k);
    EXPECT_NEAR(segment.At(day)[0], theory(day)[0], 1e-15) << k;
  }
  for (double day = 2451540.0; day <= 2451544.0; day += 0.37) {
    EXPECT_NEAR(segment.At(day)[0], theory(day)[0], 2e-15) << day;
    EXPECT_NEAR(segment.At(day)[1], theory(day)[1], 2e-15) << day;
  }
}

TEST(TheorySegments, FollowTheTheoriesForChartsAndScans) {
  TheorySegments segments;
  for (const double spacing : {0.0, kRiseSetSpacingDays}) {
    for (const auto& [jd, scale] : Moments()) {
      const MotionState moon = segments.Moon(jd, spacing), theory = MoonOfDate(jd);
      EXPECT_LT(Relative(moon.position, theory.position), 2e-11 * scale) << jd << " spacing " << spacing;
      EXPECT_LT(Relative(moon.velocity, theory.velocity), 2e-10 * scale) << jd;
      EXPECT_LT(Relative(moon.acceleration, theory.acceleration), 1e-9 * scale) << jd;
      for (const VsopBody body : kVsopBodies) {
        const StateVector planet = segments.Planet(body, jd, spacing);
        const StateVector exact = PlanetHeliocentricState(body, jd);
        EXPECT_LT(Relative(planet.position, exact.position), 2e-11 * scale) << static_cast<int>(body) << " " << jd;
        EXPECT_LT(Relative(planet.velocity, exact.velocity), 2e-9 * scale) << static_cast<int>(body) << " " << jd;
      }
      const Nutation nutation = segments.NutationAt(jd, spacing), exact = Nutation2000B(jd);
      EXPECT_NEAR(nutation.longitudeRad, exact.longitudeRad, 1e-15 * scale) << jd;
      EXPECT_NEAR(nutation.obliquityRad, exact.obliquityRad, 1e-15 * scale) << jd;
    }
  }
}

void ExpectSamePlace(const EphemerisResult& a, const EphemerisResult& b, int body) {
  EXPECT_EQ(a.longitudeDeg, b.longitudeDeg) << body;
  EXPECT_EQ(a.latitudeDeg, b.latitudeDeg) << body;
  EXPECT_EQ(a.motionDegPerDay, b.motionDegPerDay) << body;
  EXPECT_EQ(a.heliocentricAu.x, b.heliocentricAu.x) << body;
}

// A chart cast again after scans and other charts gives the very same numbers, as does a
// fresh layer: a segment depends only on its place on the grid.
TEST(TheorySegments, AMomentGetsTheSameValuesWhateverCameBefore) {
  constexpr double kMoment = 2460000.337;
  EphemerisLayer first, fresh;
  std::vector<EphemerisResult> before(kBodyVesta + 1);
  for (int body = kBodySun; body <= kBodyVesta; ++body) ASSERT_TRUE(first.Position(body, kMoment, kData, before[body]));
  EphemerisResult scratch;
  for (int step = -60; step <= 60; ++step) {
    for (const double spacing : {0.0, kRiseSetSpacingDays, 1.0}) {
      first.Position(kBodyMoon, kMoment + step * kRiseSetSpacingDays, kData, scratch, spacing);
      first.Position(kBodyMercury, kMoment + step * 0.7, kData, scratch, spacing);
    }
  }
  for (int body = kBodySun; body <= kBodyVesta; ++body) {
    EphemerisResult again, other;
    ASSERT_TRUE(first.Position(body, kMoment, kData, again));
    ASSERT_TRUE(fresh.Position(body, kMoment, kData, other));
    ExpectSamePlace(before[body], again, body);
    ExpectSamePlace(before[body], other, body);
  }
}

// Workers share one set of segments: what each computes is what one thread alone gets.
TEST(TheorySegments, ServeSeveralThreadsAtOnce) {
  TheorySegments shared, alone;
  const auto moment = [](int worker, int i) { return 2455000.0 + worker * 3.1 + i * 0.02; };
  std::vector<std::vector<double>> seen(4);
  std::vector<std::thread> workers;
  for (int w = 0; w < 4; ++w) {
    workers.emplace_back([&, w] {
      for (int i = 0; i < 300; ++i) {
        const double jd = moment(w, i);
        seen[w].push_back(shared.Moon(jd, kRiseSetSpacingDays).position.x +
                          shared.Planet(VsopBody::kEarth, jd, 0.0).position.y);
      }
    });
  }
  for (std::thread& worker : workers) worker.join();
  for (int w = 0; w < 4; ++w) {
    for (int i = 0; i < 300; ++i) {
      const double jd = moment(w, i);
      EXPECT_EQ(alone.Moon(jd, kRiseSetSpacingDays).position.x + alone.Planet(VsopBody::kEarth, jd, 0.0).position.y,
                seen[w][i]);
    }
  }
}

}  // namespace
}  // namespace kelvara::engine
