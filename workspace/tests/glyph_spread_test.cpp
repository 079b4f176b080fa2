#include "workspace/glyph_spread.h"

#include <algorithm>
#include <numeric>

#include <gtest/gtest.h>

#include "workspace/driver_points.h"

namespace kelvara::workspace {
namespace {

constexpr double kExact = 1e-9;

TEST(GlyphSpread, PairsMoveApartSymmetricallyAlsoAcrossAries) {
  struct Case {
    std::vector<double> longitudes;
    double separation;
    std::vector<double> spread;
    int passes;
  };
  for (const Case& c : {Case{{100.0, 100.0}, 6.0, {103.0, 97.0}, 2},
                        Case{{359.0, 1.0}, 6.0, {357.0, 3.0}, 2},
                        Case{{0.5, 358.5}, 5.0, {2.0, 357.0}, 2},
                        Case{{0.0, 90.0, 180.0, 270.0}, 6.0, {0.0, 90.0, 180.0, 270.0}, 1},
                        Case{{10.0, 15.95}, 6.0, {10.0, 15.95}, 1}}) {  // within the slack of 0.1
    std::vector<double> longitudes = c.longitudes;
    EXPECT_EQ(SpreadAlongCircle(longitudes, c.separation), c.passes) << c.longitudes[0];
    ASSERT_EQ(longitudes.size(), c.spread.size());
    for (std::size_t i = 0; i < c.spread.size(); ++i) EXPECT_NEAR(longitudes[i], c.spread[i], kExact) << i;
  }
}

TEST(GlyphSpread, ClustersSpreadInTheirOrderToNearlyTheSeparation) {
  const double separation = 5.0;
  for (const std::vector<double>& cluster :
       {std::vector<double>{10.5, 10.0, 11.0, 10.7}, {40.0, 40.0, 40.0}, {359.5, 0.2, 359.9}}) {
    std::vector<int> order(cluster.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return cluster[a] < cluster[b]; });
    std::vector<double> longitudes = cluster;
    EXPECT_LT(SpreadAlongCircle(longitudes, separation), kMaxSpreadPasses);
    // Going round the circle once meets the glyphs in their old order, each nearly a
    // separation after the one before.
    double round = 0.0;
    for (std::size_t k = 0; k < order.size(); ++k) {
      const int glyph = order[(k + 1) % order.size()];
      const double gap = Normalise360(longitudes[glyph] - longitudes[order[k]]);
      EXPECT_GE(gap + 0.1, separation - kExact) << cluster[0] << " glyph " << glyph;
      round += gap;
    }
    EXPECT_NEAR(round, 360.0, kExact) << cluster[0];
  }
}

// Overlapping glyphs remain; the passes end at the limit or where a pass moves nothing.
TEST(GlyphSpread, AClusterThatCannotFitStopsAtThePassLimitOrAtRest) {
  const std::vector<double> cluster(22, 40.0);  // 22 glyphs of 20 degrees cannot share the circle
  std::vector<double> limited = cluster;
  EXPECT_EQ(SpreadAlongCircle(limited, 20.0, 7), 7);
  std::vector<double> longitudes = cluster;
  const int passes = SpreadAlongCircle(longitudes, 20.0);
  ASSERT_LE(passes, kMaxSpreadPasses);
  std::vector<double> again = longitudes;
  if (passes < kMaxSpreadPasses) {
    EXPECT_EQ(SpreadAlongCircle(again, 20.0), 1);
    EXPECT_EQ(again, longitudes);
  }
}

}  // namespace
}  // namespace kelvara::workspace
