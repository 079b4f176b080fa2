#include "engine/aspects.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kelvara::engine
