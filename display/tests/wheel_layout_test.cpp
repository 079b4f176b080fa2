#include "display/wheel_layout.h"

#include <gtest/gtest.h>

#include "display/tests/wheel_fixtures.h"

namespace kelvara::display {
namespace {

struct LayoutCase {
  const char* name;
  bool twoCharts;
  bool houses;
  int r, r2, w, r1, g, m, r3, s;
};

// A working rectangle of 200 pixels: the drawing is 216 wide (216/2/25 = 4 on each side).
TEST(WheelLayout, ValuesOfTheTwoHundredPixelWheels) {
  const LayoutCase cases[] = {
      {"single", false, true, 90, 99, 15, 75, 15, 6, 43, 12},
      {"double", true, true, 76, 100, 12, 64, 15, 5, 35, 10},
      {"houseless", false, false, 99, 108, 16, 83, 17, 7, 46, 13},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    const WheelLayout l = ComputeWheelLayout({{0, 0, 208, 208}, c.twoCharts, c.houses, false});
    EXPECT_EQ(l.work, (platform::Rect{4, 4, 204, 204}));
    EXPECT_EQ(l.r0, 100);
    EXPECT_EQ(l.r, c.r);
    EXPECT_EQ(l.r2, c.r2);
    EXPECT_EQ(l.w, c.w);
    EXPECT_EQ(l.r1, c.r1);
    EXPECT_EQ(l.g, c.g);
    EXPECT_EQ(l.m, c.m);
    EXPECT_EQ(l.r3, c.r3);
    EXPECT_EQ(l.s, c.s);
  }
}

TEST(WheelLayout, ATallScreenWithHexagramsLiftsTheWheelToTheTop) {
  const platform::Rect tall{0, 0, 300, 1200};
  const WheelLayout lifted = ComputeWheelLayout({tall, false, true, true});
  EXPECT_EQ(lifted.centre.y - lifted.r2, lifted.work.top);
  EXPECT_EQ(ComputeWheelLayout({tall, false, true, false}).centre.y, lifted.work.Center().y);
}

TEST(WheelLayout, TheAscendantLiesLeftInTheWestRightInTheAvestanTradition) {
  const workspace::ObjectTable chart = testing::HandMadeChart(100.0);
  WheelOptions options;
  WheelLayout l = ComputeWheelLayout({{0, 0, 208, 208}, false, true, false});
  l.rotationDeg = WheelRotationDeg(chart, options);
  EXPECT_DOUBLE_EQ(ScreenAngleDeg(l, 100.0), 180.0);
  EXPECT_DOUBLE_EQ(ScreenAngleDeg(l, 190.0), 90.0);  // the zodiac runs counter-clockwise: up
  l.avesta = true;
  EXPECT_DOUBLE_EQ(ScreenAngleDeg(l, 100.0), 0.0);
  EXPECT_DOUBLE_EQ(ScreenAngleDeg(l, 190.0), 90.0);
  options.fromAries = true;
  l.avesta = false;
  l.rotationDeg = WheelRotationDeg(chart, options);
  EXPECT_DOUBLE_EQ(ScreenAngleDeg(l, 0.0), 180.0);
  options.manualRotationDeg = 20;  // from Aries with a turn: the turn alone
  EXPECT_DOUBLE_EQ(WheelRotationDeg(chart, options), 20.0);
  EXPECT_DOUBLE_EQ(WheelRotationDeg(testing::HandMadeChart(-1.0), {}), 0.0);
  for (double longitude : {0.0, 45.5, 359.9}) {
    EXPECT_NEAR(LongitudeAtScreenAngle(l, ScreenAngleDeg(l, longitude)), longitude, 1e-9);
  }
  EXPECT_DOUBLE_EQ(NormalizeDeg(-725.0), 355.0);
  EXPECT_EQ(PointAt({100, 100}, 10.0, 90.0), (platform::Point{100, 110}));
}

}  // namespace
}  // namespace kelvara::display
