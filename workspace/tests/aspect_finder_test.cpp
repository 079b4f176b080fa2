#include "workspace/aspect_finder.h"

#include <cmath>
#include <functional>

#include <gtest/gtest.h>

#include "workspace/chart_compute.h"
#include "workspace/driver_points.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::workspace {
namespace {

constexpr int kTrine = 1;
constexpr int kOpposition = 5;

struct Placed {
  int slot;
  double longitudeDeg;
  double speedDegPerDay;
};

// Only the placed objects have a longitude; the others stand at "not available".
ObjectTable Sky(std::initializer_list<Placed> placed) {
  ObjectTable objects;
  for (ChartObject& object : objects) object.longitude = kNotAvailable;
  for (const Placed& p : placed) {
    objects[p.slot].longitude = p.longitudeDeg;
    objects[p.slot].speed = p.speedDegPerDay;
  }
  return objects;
}

AspectTable WithSeparatingOrbs(AspectTable table) {
  for (AspectRecord& record : table) record.secondOrbs = record.firstOrbs;
  return table;
}

AspectFinderInput Single(const ObjectTable& objects, const AspectTable& table) {
  AspectFinderInput input;
  input.inner = input.outer = &objects;
  input.table = &table;
  return input;
}

AspectFinderInput Double(const ObjectTable& inner, const ObjectTable& outer, const AspectTable& table) {
  AspectFinderInput input = Single(inner, table);
  input.outer = &outer;
  input.twoCharts = true;
  return input;
}

TEST(AspectFinder, ApplyingFollowsTheMotionsTowardsTheExactPoint) {
  struct Case {
    double lA, vA, lB, vB, aspect;
    bool applying;
    const char* why;
  };
  for (const Case& c : {
           Case{0, 1.0, 122, 0.5, 120, true, "A before its exact point and faster"},
           Case{0, 1.0, 118, 0.5, 120, false, "A past its exact point and faster"},
           Case{122, 0.5, 0, 1.0, 120, true, "A ahead of B, B faster"},
           Case{0, -0.5, 122, 0.2, 120, false, "A retrograde, moving away"},
           Case{0, 0.2, 122, -0.5, 120, true, "B retrograde, coming back"},
           Case{0, -0.1, 122, -0.5, 120, true, "both retrograde, B faster back"},
           Case{0, -0.3, 122, -0.3, 120, true, "equal motions before the exact point"},
           Case{0, -0.3, 118, -0.3, 120, false, "equal motions past the exact point"},
           Case{0, 0.0, 122, -0.5, 120, true, "A standing, B coming back"},
           Case{0, 0.0, 118, 0.5, 120, true, "A standing, B moving on to it"},
           Case{0, 0.0, 118, 0.0, 120, false, "both standing"},
           Case{0, 999.0, 122, 0.5, 120, false, "A's unknown speed counts as standing"},
           Case{10, 1.0, 12, 999.0, 0, true, "a conjunction with a point of unknown speed"},
           Case{350, 1.0, 172, 0.0, 180, true, "an opposition across 0 degrees"},
       }) {
    const double distance = std::fabs(AngularSeparationDeg(c.lA, c.lB) - c.aspect);
    EXPECT_EQ(IsApplying(c.lA, c.vA, c.lB, c.vB, c.aspect, distance), c.applying) << c.why;
  }
}

TEST(AspectFinder, WhatHidesAnAspect) {
  // The Sun applies to a trine with the Moon, 2 degrees short, within half of orb 5.
  const AspectTable defaults = DefaultSingleChartAspects();
  const AspectTable separatingOrbs = WithSeparatingOrbs(defaults);
  struct Case {
    const char* change;
    std::function<void(ObjectTable&, AspectFinderInput&)> apply;
    bool found;
  };
  const auto separating = [](ObjectTable& o, AspectFinderInput&) { o[kSlotMoon].longitude = 118.0; };
  for (const Case& c : std::vector<Case>{
           {"nothing", [](ObjectTable&, AspectFinderInput&) {}, true},
           {"the Sun hidden", [](ObjectTable& o, AspectFinderInput&) { o[kSlotSun].visible = 0; }, false},
           {"the Moon out of aspects", [](ObjectTable& o, AspectFinderInput&) { o[kSlotMoon].takesPartInAspects = 0; },
            false},
           {"applying not shown", [](ObjectTable&, AspectFinderInput& in) { in.applyingShown = false; }, false},
           {"separating, with no separating orbs", separating, false},
           {"separating, with separating orbs",
            [&](ObjectTable& o, AspectFinderInput& in) {
              separating(o, in);
              in.table = &separatingOrbs;
            },
            true},
           {"separating not shown",
            [&](ObjectTable& o, AspectFinderInput& in) {
              separating(o, in);
              in.table = &separatingOrbs;
              in.separatingShown = false;
            },
            false},
           {"beyond half the orb", [](ObjectTable& o, AspectFinderInput&) { o[kSlotMoon].longitude = 122.5; }, false},
           {"the Moon's slot past the last one", [](ObjectTable&, AspectFinderInput& in) { in.lastSlot = kSlotSun; },
            false},
       }) {
    ObjectTable objects = Sky({{kSlotSun, 0.0, 1.0}, {kSlotMoon, 122.0, 0.5}});
    AspectFinderInput input = Single(objects, defaults);
    c.apply(objects, input);
    const auto found = FindAspects(input);
    ASSERT_EQ(found.size(), c.found ? 1u : 0u) << c.change;
    if (c.found) {
      EXPECT_EQ(found[0].aspect, kTrine) << c.change;
    }
  }
}

TEST(AspectFinder, TheCuspOppositionIsFoundOnlyBetweenTwoCharts) {
  const ObjectTable cusps = Sky({{kSlotFirstCusp, 10.0, 360.0}, {kSlotSeventhCusp, 190.0, 360.0}});
  const AspectTable table = DefaultSingleChartAspects();
  EXPECT_TRUE(FindAspects(Single(cusps, table)).empty());
  int oppositions = 0;
  for (const FoundAspect& aspect : FindAspects(Double(cusps, cusps, table))) {
    if (aspect.aspect != kOpposition) continue;
    ++oppositions;
    EXPECT_EQ(aspect.innerSlot + aspect.outerSlot, kSlotFirstCusp + kSlotSeventhCusp);
  }
  EXPECT_EQ(oppositions, 2);
}

TEST(AspectFinder, AStandingInnerChartTurnsAnApplyingAspectSeparating) {
  const ObjectTable inner = Sky({{kSlotSun, 0.0, 1.0}});
  const ObjectTable outer = Sky({{kSlotMars, 122.0, 0.5}});
  const AspectTable table = WithSeparatingOrbs(DefaultSingleChartAspects());
  AspectFinderInput input = Double(inner, outer, table);
  for (const bool standing : {false, true}) {
    input.innerStandsStill = standing;
    const auto found = FindAspects(input);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].applying, !standing);
    EXPECT_EQ(found[0].innerSlot, kSlotSun);
    EXPECT_EQ(found[0].outerSlot, kSlotMars);
  }
}

// The orb arrays end at slot 33: the second lot takes the Part of Fortune's orb.
TEST(AspectFinder, TheSecondLotSharesTheLastOrb) {
  AspectTable table{};
  table[kTrine].enabled = true;
  table[kTrine].angle = 120.0;
  const ObjectTable objects = Sky({{kSlotSun, 0.0, 1.0}, {kSlotSecondLot, 121.5, kNotAvailable}});
  table[kTrine].firstOrbs[0] = 4.0;
  EXPECT_TRUE(FindAspects(Single(objects, table)).empty());
  table[kTrine].firstOrbs[kOrbSlotCount - 1] = 4.0;
  const auto found = FindAspects(Single(objects, table));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].outerSlot, kSlotSecondLot);
  EXPECT_EQ(found[0].orbDeg, 2.0);
  EXPECT_TRUE(found[0].applying);
}

TEST(AspectFinder, OrbOfSlotStaysInsideTheArray) {
  OrbArray orbs{};
  for (int slot = 0; slot < kOrbSlotCount; ++slot) orbs[slot] = slot + 1.0;
  EXPECT_EQ(OrbOfSlot(orbs, 0), 1.0);
  EXPECT_EQ(OrbOfSlot(orbs, kOrbSlotCount - 1), kOrbSlotCount);
  EXPECT_EQ(OrbOfSlot(orbs, kOrbSlotCount), kOrbSlotCount);
  EXPECT_EQ(OrbOfSlot(orbs, kOrbSlotCount + 1), 0.0);
  EXPECT_EQ(OrbOfSlot(orbs, -1), 0.0);
}

TEST(AspectFinder, TextsNameTheAspect) {
  for (const auto& [angle, text] : {std::pair{120.0, "120"}, {22.5, "22.5"}, {0.0, "0"}, {51.428571, "51.428571"},
                                    {0.0000004, "0"}}) {
    EXPECT_EQ(AspectAngleText(angle), text) << angle;
  }
  EXPECT_EQ(AspectDescription("Солнце", 120.0, "Луна"), "Солнце + 120 + Луна");
}

TEST(AspectFinder, OuterChartsThatMoveOverAStandingInnerChart) {
  for (std::string_view name :
       {std::string_view(), kNameNow, kNameStopped, KindName(ChartKind::kSecondaryProgression),
        KindName(ChartKind::kSymbolicDirection), KindName(ChartKind::kProfection),
        KindName(ChartKind::kSolarArcMidheaven), KindName(ChartKind::kSolarArcDirection)}) {
    EXPECT_TRUE(StandsStillForOuter(name)) << name;
  }
  for (std::string_view name : {std::string_view("Иван"), KindName(ChartKind::kSolarReturnForward),
                                KindName(ChartKind::kLunarReturnBackward), std::string_view("Ср.карта (А-Б)")}) {
    EXPECT_FALSE(StandsStillForOuter(name)) << name;
  }
}

// Against the engine: a found aspect applies exactly when the pair is nearer to exact
// an hour later.
class AspectFinderEngineTest : public ::testing::Test {
 protected:
  static const EngineDriver& Engine() {
    static const EngineDriver driver(std::string(KELVARA_BIN_DIR) + "/");
    return driver;
  }
  static ChartRecord Cast(ChartRecord chart) {
    EXPECT_EQ(ComputeChart(chart, {Engine(), nullptr, nullptr, nullptr, ""}), ComputeResult::kComputed);
    // Every cusp lists the same nominal motion and the lots none: the bodies alone move
    // as their speeds say.
    for (int slot = kSlotFirstCusp; slot <= kSlotLastCusp; ++slot) chart.objects[slot].takesPartInAspects = 0;
    for (int slot : {kSlotFortune, kSlotSecondLot}) chart.objects[slot].takesPartInAspects = 0;
    return chart;
  }
  static ChartRecord HourLater(ChartRecord chart) {
    chart.local = MomentFromHours(HoursSince1860(chart.local) + 1.0);
    return Cast(chart);
  }

  // The found aspects checked against the same pairs in the later tables; the number
  // of aspects that could be checked.
  static int CheckAgainstLater(const AspectFinderInput& now, const ObjectTable& innerLater,
                               const ObjectTable& outerLater) {
    int checked = 0;
    for (const FoundAspect& f : FindAspects(now)) {
      const ChartObject& a0 = (*now.inner)[f.innerSlot];
      const ChartObject& b0 = (*now.outer)[f.outerSlot];
      const ChartObject& a1 = innerLater[f.innerSlot];
      const ChartObject& b1 = outerLater[f.outerSlot];
      const double later = std::fabs(AngularSeparationDeg(a1.longitude, b1.longitude) - f.angleDeg);
      const double change = later - f.distanceDeg;
      const double turn = SignedDifference(SignedDifference(b1.longitude, a1.longitude),
                                           SignedDifference(b0.longitude, a0.longitude));
      // Too slow to tell, or passing the exact point (or the fold) within the hour.
      if (std::fabs(change) < 1e-6 || std::fabs(change) < std::fabs(turn) - 1e-9) continue;
      EXPECT_EQ(f.applying, change < 0.0) << "aspect " << f.aspect << " slots " << f.innerSlot << "-"
                                          << f.outerSlot << " distance " << f.distanceDeg << " -> " << later;
      ++checked;
    }
    return checked;
  }

  const std::vector<ChartRecord> charts_ = {
      Cast(testing::Person("Анна", {1985, 7, 12, 14, 5, 0}, 4.0)),
      Cast(testing::Person("Борис", {1962, 2, 4, 5, 30, 0}, 3.0)),
      Cast(testing::Person("Вера", {2001, 9, 11, 8, 46, 0}, -4.0, 40.71, -74.0, "Нью-Йорк")),
      Cast(testing::Person("Глеб", {1930, 3, 15, 22, 10, 0}, 1.0, 52.52, 13.4, "Берлин")),
      Cast(testing::Person("Дина", {2024, 4, 8, 18, 20, 0}, 10.0, 43.12, 131.9, "Владивосток")),
      Cast(testing::Person("Егор", {1899, 12, 31, 23, 59, 0}, 2.0, 59.93, 30.3, "Петербург")),
  };
  const AspectTable table_ = WithSeparatingOrbs(DefaultSingleChartAspects());
};

TEST_F(AspectFinderEngineTest, ASingleChartsAspectsApplyWhenTheyCloseIn) {
  int checked = 0;
  for (const ChartRecord& chart : charts_) {
    const ChartRecord later = HourLater(chart);
    checked += CheckAgainstLater(Single(chart.objects, table_), later.objects, later.objects);
  }
  EXPECT_GE(checked, 100);
}

TEST_F(AspectFinderEngineTest, AnOuterChartsAspectsToAStandingNatalChartApplyWhenTheyCloseIn) {
  int checked = 0;
  for (std::size_t i = 0; i < charts_.size(); ++i) {
    const ChartRecord& natal = charts_[i];
    const ChartRecord& outer = charts_[(i + 1) % charts_.size()];
    AspectFinderInput input = Double(natal.objects, outer.objects, table_);
    input.innerStandsStill = true;
    checked += CheckAgainstLater(input, natal.objects, HourLater(outer).objects);
  }
  EXPECT_GE(checked, 200);
}

}  // namespace
}  // namespace kelvara::workspace
