#include "engine/angles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

namespace kelvara::engine {
namespace {

TEST(Angles, Mod360FoldsIntoOneTurn) {
  for (const auto& [deg, folded] : {std::pair{360.0, 0.0}, {725.0, 5.0}, {-5.0, 355.0},
                                    {-710.0, 10.0}}) {
    EXPECT_DOUBLE_EQ(folded, Mod360(deg)) << deg;
  }
  EXPECT_EQ(0.0, Mod360(-0.0));
  EXPECT_FALSE(std::signbit(Mod360(-0.0)));
  const double tiny_negative = -1e-14;  // would round onto 360 after adding a turn
  EXPECT_LT(Mod360(tiny_negative), 360.0);
  EXPECT_GE(Mod360(1e300), 0.0);
  EXPECT_LT(Mod360(1e300), 360.0);
  EXPECT_TRUE(std::isnan(Mod360(std::numeric_limits<double>::infinity())));
  EXPECT_TRUE(std::isnan(Mod360(std::nan(""))));
}

TEST(Angles, ModTwoPiCannotHangOnHugeOrNonFiniteValues) {
  EXPECT_NEAR(1.0, ModTwoPi(1.0 + 1000.0 * kTwoPi), 1e-9);
  EXPECT_NEAR(kTwoPi - 1.0, ModTwoPi(-1.0), 1e-15);
  const double huge = ModTwoPi(1e300);
  EXPECT_TRUE(huge >= 0.0 && huge < kTwoPi);
  EXPECT_TRUE(std::isnan(ModTwoPi(-std::numeric_limits<double>::infinity())));
}

TEST(Angles, HugeValuesKeepTheirExactRemainder) {
  // 1e17 is 277777777777777 turns and 280 degrees.
  EXPECT_EQ(280.0, Mod360(1e17));
  // The sidereal offset of a clock time of 1e36 hours once left -7e41 after folding.
  const double offset = -5.4931441206160482e+57;
  EXPECT_EQ(std::fmod(offset, 360.0) + 360.0, Mod360(offset));
  EXPECT_EQ(std::fmod(1e17, kTwoPi), ModTwoPi(1e17));
}

// Angles within a turn or two skip the division; they must fold to the same bits.
TEST(Angles, FoldsNearOneTurnMatchTheDivision) {
  const auto by_division = [](double x) { return FoldBeyondOneTurn(x, 360.0); };
  for (const double base : {-360.0, 0.0, 360.0, 720.0}) {
    for (double step = 1e-13; step < 400.0; step *= 3.7) {
      for (const double x : {base + step, base - step, std::nextafter(base, 0.0), base}) {
        EXPECT_EQ(by_division(x), Mod360(x)) << x;
        EXPECT_FALSE(std::signbit(Mod360(x))) << x;
      }
    }
  }
}

TEST(Angles, DistancesAndDifferencesAcrossAries) {
  EXPECT_DOUBLE_EQ(20.0, MinDistance(350.0, 10.0));
  EXPECT_DOUBLE_EQ(20.0, MinDifference(350.0, 10.0));
  EXPECT_DOUBLE_EQ(-20.0, MinDifference(10.0, 350.0));
  EXPECT_DOUBLE_EQ(180.0, MinDifference(0.0, 180.0));  // (-180, 180]
  EXPECT_DOUBLE_EQ(180.0, MinDistance(90.0, 270.0));
  for (const auto& [a, b, mid] : {std::tuple{350.0, 10.0, 0.0}, {10.0, 30.0, 20.0}, {300.0, 50.0, 355.0}}) {
    EXPECT_DOUBLE_EQ(mid, Midpoint(a, b)) << a << " " << b;
  }
}

TEST(Angles, Mod12AndRounding) {
  for (const auto& [n, folded] : {std::pair{0, 12}, {12, 12}, {13, 1}, {-1, 11}}) {
    EXPECT_EQ(folded, Mod12(n)) << n;
  }
  for (const auto& [x, rounded] : {std::pair{2.5, 3.0}, {-2.5, -3.0}, {2.4999, 2.0}}) {
    EXPECT_EQ(rounded, RoundHalfAway(x)) << x;
  }
}

TEST(Angles, AngleAgreesWithAtan2InEveryQuadrantAndOnTheAxes) {
  for (double deg = 0.0; deg < 360.0; deg += 15.0) {
    const double x = std::cos(deg * kDegToRad), y = std::sin(deg * kDegToRad);
    const double rx = std::fabs(x) < 1e-12 ? 0.0 : x;
    const double ry = std::fabs(y) < 1e-12 ? 0.0 : y;
    EXPECT_NEAR(deg * kDegToRad, Angle(rx, ry), 1e-12) << deg;
  }
  EXPECT_DOUBLE_EQ(kPi / 2.0, Angle(0.0, 0.0));
}

TEST(Angles, SexagesimalDecimalConversions) {
  EXPECT_DOUBLE_EQ(-3.5, DecToDeg(-3.30));
  EXPECT_NEAR(47.36, DegToDec(47.6), 1e-12);
  EXPECT_NEAR(55.75, DecToDeg(55.45), 1e-12);
  for (double deg : {0.0, 12.25, -37.5833, 122.3333}) {
    EXPECT_NEAR(deg, DecToDeg(DegToDec(deg)), 1e-12);
  }
}

TEST(Angles, PolarRectangularRoundTrip) {
  const Rect r = PolarToRect(2.0, 3.0);
  const Polar p = RectToPolar(r.x, r.y);
  EXPECT_NEAR(2.0, p.angle_rad, 1e-12);
  EXPECT_NEAR(3.0, p.radius, 1e-12);
  EXPECT_GT(PolarToRect(0.0, 1.0).y, 0.0);  // exact zero replaced by a tiny angle
}

TEST(Angles, CoorXformRotatesEclipticToEquatorialAndBack) {
  const double eps = 23.44 * kDegToRad;
  // The summer solstice point has right ascension 90 and declination +eps.
  const Spherical solstice = CoorXform(kPi / 2.0, 0.0, eps);
  EXPECT_NEAR(kPi / 2.0, solstice.azi_rad, 1e-12);
  EXPECT_NEAR(eps, solstice.alt_rad, 1e-12);
  for (double lon = 5.0; lon < 360.0; lon += 37.0) {
    const Spherical eq = CoorXform(lon * kDegToRad, 0.1, eps);
    const Spherical back = CoorXform(eq.azi_rad, eq.alt_rad, -eps);
    EXPECT_NEAR(lon * kDegToRad, back.azi_rad, 1e-12);
    EXPECT_NEAR(0.1, back.alt_rad, 1e-12);
  }
}

}  // namespace
}  // namespace kelvara::engine
