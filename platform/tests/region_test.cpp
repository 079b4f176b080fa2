#include "platform/region.h"

#include <gtest/gtest.h>

namespace kelvara::platform {
namespace {

TEST(Region, RectangleKeepsLeftTopAndLeavesRightBottomOut) {
  const Region region = Region::FromRect({10, 20, 30, 40});
  EXPECT_TRUE(region.Contains({10, 20}));
  EXPECT_TRUE(region.Contains({29, 39}));
  EXPECT_FALSE(region.Contains({30, 25}));
  EXPECT_FALSE(region.Contains({15, 40}));
  EXPECT_FALSE(region.Contains({9, 25}));
  EXPECT_EQ(region.BoundingRect(), (Rect{10, 20, 30, 40}));
}

TEST(Region, TrapezoidOfADialBand) {
  // Half an hour of a band between radius 80 and 100 at the top of a dial.
  const Point corners[] = {{100, 0}, {126, 3}, {121, 23}, {100, 20}};
  const Region band = Region::FromPolygon(corners);
  EXPECT_TRUE(band.Contains({110, 10}));
  EXPECT_FALSE(band.Contains({99, 10}));
  EXPECT_FALSE(band.Contains({125, 22}));
  EXPECT_FALSE(band.Contains({110, 25}));
}

TEST(Region, ConcaveShapesAndUnions) {
  const Point ell[] = {{0, 0}, {10, 0}, {10, 4}, {4, 4}, {4, 10}, {0, 10}};
  Region region = Region::FromPolygon(ell);
  EXPECT_TRUE(region.Contains({2, 8}));
  EXPECT_FALSE(region.Contains({7, 7}));
  region.Add(Region::FromRect({50, 50, 60, 60}));
  EXPECT_TRUE(region.Contains({55, 55}));
  EXPECT_TRUE(region.Contains({1, 1}));
  EXPECT_EQ(region.BoundingRect(), (Rect{0, 0, 60, 60}));
}

TEST(Region, DegenerateInputGivesAnEmptyRegion) {
  const Point line[] = {{0, 0}, {10, 10}};
  EXPECT_TRUE(Region::FromPolygon(line).IsEmpty());
  EXPECT_TRUE(Region::FromRect({5, 5, 5, 10}).IsEmpty());
  EXPECT_FALSE(Region().Contains({0, 0}));
  const Point flat[] = {{0, 0}, {10, 0}, {20, 0}};
  EXPECT_FALSE(Region::FromPolygon(flat).Contains({5, 0}));
}

}  // namespace
}  // namespace kelvara::platform
