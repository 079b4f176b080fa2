#include "engine/aspects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace kelvara::engine {
namespace {

TEST(Aspects, AbbreviationsCarryTheDegreeByte) {
  EXPECT_EQ(std::string("  0\xB0"), AspectTable()[1].abbreviation);
  EXPECT_EQ(std::string(" CP "), DefaultAspectAbbreviations()[kContraparallel]);
}

TEST(Aspects, OrbOnlyEnablesAnAspect) {
  for (int aspect = 1; aspect <= 18; ++aspect) EXPECT_TRUE(AspectAllowed(1, aspect, 2));
  EXPECT_FALSE(AspectAllowed(1, kContraparallel, 2));
  EXPECT_TRUE(AspectTriedInScan(1, kContraparallel, 2));
  EXPECT_FALSE(AspectAllowed(1, 0, 2));
  EXPECT_FALSE(AspectAllowed(1, 20, 2));
  EXPECT_FALSE(AspectTriedInScan(1, -5, 2));
}

TEST(Aspects, CrossingInsideAStepIsInterpolated) {
  StepExactness e = AspectExactInStep(0.0, {10.0, 12.0, 11.0, 11.0});
  EXPECT_TRUE(e.exact);
  EXPECT_TRUE(e.a_is_moving);
  EXPECT_DOUBLE_EQ(0.5, e.fraction);
  // Opposition, across Aries, and the faster second object.
  EXPECT_TRUE(AspectExactInStep(180.0, {189.0, 191.0, 10.0, 10.0}).exact);
  EXPECT_TRUE(AspectExactInStep(0.0, {359.0, 1.0, 0.0, 0.0}).exact);
  e = AspectExactInStep(60.0, {100.0, 100.0, 30.0, 50.0});
  EXPECT_TRUE(e.exact);
  EXPECT_FALSE(e.a_is_moving);
  EXPECT_DOUBLE_EQ(0.5, e.fraction);
}

TEST(Aspects, SquareOnEitherSide) {
  EXPECT_TRUE(AspectExactInStep(90.0, {88.0, 92.0, 0.0, 0.0}).exact);
  EXPECT_TRUE(AspectExactInStep(90.0, {268.0, 272.0, 0.0, 0.0}).exact);
  EXPECT_FALSE(AspectExactInStep(90.0, {92.0, 96.0, 0.0, 0.0}).exact);
}

TEST(Aspects, PassingTheOppositePointIsNoConjunction) {
  EXPECT_FALSE(AspectExactInStep(0.0, {179.0, 181.0, 0.0, 0.0}).exact);
}

TEST(Aspects, ExactAtASampleIsReportedOnceInTheStepItEnds) {
  const StepExactness ending = AspectExactInStep(0.0, {10.0, 11.0, 11.0, 11.0});
  EXPECT_TRUE(ending.exact);
  EXPECT_DOUBLE_EQ(1.0, ending.fraction);
  EXPECT_FALSE(AspectExactInStep(0.0, {11.0, 12.0, 11.0, 11.0}).exact);
}

TEST(Aspects, ParallelsWorkOnDeclinations) {
  const StepExactness e = AspectExactInStep(0.0, {-1.0, 1.0, 0.5, 0.5});
  EXPECT_TRUE(e.exact);
  EXPECT_DOUBLE_EQ(0.75, e.fraction);
  // Contraparallel: the caller negates one declination.
  EXPECT_TRUE(AspectExactInStep(0.0, {-20.5, -19.5, -(20.0), -(20.0)}).exact);
}

// Over short steps the test must report exactly the steps in which the separation of the
// two, followed continuously, passes the aspect angle on either side.
TEST(Aspects, ShortStepsReportEveryTrueCrossingAndNoOther) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> place(0.0, 360.0), move(-8.0, 8.0);
  int crossings = 0;
  for (int trial = 0; trial < 20000; ++trial) {
    const double a0 = place(random), b0 = place(random), da = move(random), db = move(random);
    const StepPositions p{a0, a0 + da, b0, b0 + db};
    const double s0 = std::remainder(a0 - b0, 360.0), s1 = s0 + da - db;
    for (int aspect = 1; aspect < kParallel; ++aspect) {
      const double angle = AspectTable()[aspect].angle_deg;
      bool crossed = false;
      for (const double target : {angle, -angle, angle - 360.0, 360.0 - angle}) {
        crossed |= (s0 < target && target <= s1) || (s1 <= target && target < s0);
      }
      const StepExactness e = AspectExactInStep(angle, p);
      EXPECT_EQ(crossed, e.exact) << a0 << " " << da << " " << b0 << " " << db << " " << angle;
      crossings += crossed;
    }
  }
  EXPECT_GT(crossings, 1000);
}

}  // namespace
}  // namespace kelvara::engine
