#include "app/step_shift.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

namespace kelvara::app {
namespace {

using platform::Rect;
using workspace::CalendarMoment;
using workspace::StepShift;

constexpr StepShift kOneDay{0, 0, 1, 0, 0, 0, 0};
constexpr StepShift kOneSecond{0, 0, 0, 0, 0, 1, 0};
constexpr StepShift kOneMonth{0, 1, 0, 0, 0, 0, 0};

TEST(StepZones, ARowOfThreeBoxesInTheBottomCornerOfEachHalf) {
  ViewMetrics offset;  // halves meet at x = 250
  offset.rect = {10, 20, 490, 380};
  offset.displayScale = 1.5;
  for (const ViewMetrics& metrics : {MetricsForSize(240, 320), offset}) {
    const int middle = metrics.rect.left + metrics.rect.Width() / 2;
    for (const int chart : {kFirstChart, kSecondChart}) {
      const StepZones zones = StepZonesFor(chart, metrics);
      EXPECT_EQ(zones.backward.right, zones.middle.left);
      EXPECT_EQ(zones.middle.right, zones.forward.left);
      for (const StepZone zone : {StepZone::kBackward, StepZone::kMiddle, StepZone::kForward}) {
        const Rect& box = zones.Of(zone);
        EXPECT_FALSE(box.IsEmpty());
        EXPECT_EQ(box.top, zones.middle.top);
        EXPECT_TRUE(chart == kFirstChart ? box.right <= middle : box.left >= middle);
        EXPECT_EQ(HitStepZone(box.Center(), metrics, true), (StepZoneHit{chart, zone}));
        EXPECT_EQ(HitStepZone(box.Center(), metrics, false).has_value(), chart == kFirstChart);
      }
    }
    EXPECT_EQ(HitStepZone(metrics.rect.Center(), metrics, true), std::nullopt);
    EXPECT_EQ(ChartOfPoint({middle - 1, metrics.rect.top}, metrics), kFirstChart);
    EXPECT_EQ(ChartOfPoint({middle, metrics.rect.top}, metrics), kSecondChart);
  }
  const ViewMetrics small = MetricsForSize(240, 320);
  EXPECT_EQ(StepZonesFor(kFirstChart, small).backward, (Rect{5, 299, 20, 315}));
  EXPECT_EQ(StepZonesFor(kSecondChart, small).forward, (Rect{220, 299, 235, 315}));
  EXPECT_EQ(StepZonesFor(kFirstChart, MetricsForSize(480, 640)).backward, (Rect{10, 598, 40, 630}));
}

TEST(StepShiftMoment, MovesByCalendarMonthsAndThenBySpan) {
  const struct {
    CalendarMoment from;
    StepShift step;
    int times;
    std::optional<CalendarMoment> to;
  } cases[] = {
      {{1999, 12, 31, 23, 30, 0}, {0, 0, 1, 1, 0, 0, 0}, 1, CalendarMoment{2000, 1, 2, 0, 30, 0}},
      {{2024, 1, 31, 12, 0, 0}, kOneMonth, 1, CalendarMoment{2024, 2, 29, 12, 0, 0}},
      {{2024, 2, 29, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0}, 1, CalendarMoment{2025, 2, 28, 0, 0, 0}},
      {{2001, 3, 31, 8, 0, 0}, kOneMonth, -2, CalendarMoment{2001, 1, 31, 8, 0, 0}},
      {{2024, 3, 1, 0, 0, 0}, kOneDay, -1, CalendarMoment{2024, 2, 29, 0, 0, 0}},
      {{2000, 1, 1, 0, 0, 0}, {0, 0, 0, 0, 1, 0, 0}, 1000000, CalendarMoment{2001, 11, 25, 10, 40, 0}},
      // The month comes first: 31 January + 1 month + 1 day is 1 March, not 2 March.
      {{2023, 1, 31, 0, 0, 0}, {0, 1, 1, 0, 0, 0, 0}, 1, CalendarMoment{2023, 3, 1, 0, 0, 0}},
      {{2130, 12, 31, 23, 59, 58}, kOneSecond, 1, CalendarMoment{2130, 12, 31, 23, 59, 59}},
      {{1980, 5, 5, 5, 5, 5}, {3, 4, 5, 6, 7, 8, 0}, 0, CalendarMoment{1980, 5, 5, 5, 5, 5}},
      // Refused: off the scale by either part, overflowing, or from an impossible date.
      {{2130, 12, 31, 23, 59, 59}, kOneSecond, 1, std::nullopt},
      {{1860, 1, 1, 0, 0, 0}, kOneSecond, -1, std::nullopt},
      {{1860, 12, 31, 0, 0, 0}, {0, 12, 0, 0, 0, 0, 0}, -1, std::nullopt},
      {{2000, 1, 1, 0, 0, 0}, {INT_MAX, INT_MAX, 0, 0, 0, 0, 0}, INT_MAX, std::nullopt},
      {{2000, 1, 1, 0, 0, 0}, {0, 0, INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0}, INT_MIN, std::nullopt},
      {{2000, 4, 31, 0, 0, 0}, kOneDay, 1, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShiftMoment(c.from, c.step, c.times), c.to)
        << c.from.year << "-" << c.from.month << "-" << c.from.day << " x" << c.times;
  }
}

TEST(StepShiftMoment, ForwardThenBackWithoutMonthsReturnsToTheStart) {
  std::mt19937 random(20240301);
  const auto draw = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  for (int round = 0; round < 2000; ++round) {
    const CalendarMoment start{draw(1870, 2060), draw(1, 12), draw(1, 28), draw(0, 23), draw(0, 59), draw(0, 59)};
    const StepShift step{0, 0, draw(0, 500), draw(0, 500), draw(0, 500), draw(0, 500), 0};
    const int count = draw(1, 40);
    const auto there = ShiftMoment(start, step, count);
    ASSERT_TRUE(there);
    EXPECT_EQ(ShiftMoment(*there, step, -count), start);
  }
}

TEST(StepShiftChart, ANowChartCountsItsStepsAndAZeroStepClearsTheCount) {
  EXPECT_TRUE(IsZeroStep({0, 0, 0, 0, 0, 0, 7}));  // the counter is not a part of the step
  EXPECT_FALSE(IsZeroStep({1, -12, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(IsZeroStep(kOneSecond));
  workspace::ChartRecord chart;
  chart.name = "Сейчас";
  chart.local = {2024, 3, 1, 10, 0, 0};
  chart.step = kOneDay;
  for (const int direction : {1, 1, -1}) ASSERT_TRUE(StepChart(chart, direction));
  EXPECT_EQ(chart.local, (CalendarMoment{2024, 3, 2, 10, 0, 0}));
  EXPECT_EQ(chart.step.counter, 1);
  chart.name = "Анна";
  ASSERT_TRUE(StepChart(chart, 1));
  EXPECT_EQ(chart.step.counter, 1);
  chart.local = {2130, 12, 31, 12, 0, 0};
  const workspace::ChartRecord before = chart;
  EXPECT_FALSE(StepChart(chart, 1));
  EXPECT_EQ(chart, before);

  StoreEditedStep(chart.step, {0, 0, 2, 3, 0, 0, 0});
  EXPECT_EQ(chart.step, (StepShift{0, 0, 2, 3, 0, 0, 1}));
  StoreEditedStep(chart.step, {});
  EXPECT_EQ(chart.step, StepShift{});
}

class StepControllerTest : public ::testing::Test {
 protected:
  // Ticks every 500 ms from `fromMs` to `toMs`, gathering what they ask for.
  std::vector<StepAction> Ticks(double fromMs, double toMs) {
    std::vector<StepAction> all;
    for (double at = fromMs; at <= toMs; at += kStepTickMs) {
      for (const StepAction& action : controller_.Tick(at)) all.push_back(action);
    }
    return all;
  }
  static std::vector<StepAction> Steps(int chart, int direction, int count) {
    return std::vector<StepAction>(count, {StepCommand::kStep, chart, direction});
  }

  StepController controller_;
  const StepZoneHit forward1_{kFirstChart, StepZone::kForward};
  const StepZoneHit backward1_{kFirstChart, StepZone::kBackward};
  const StepZoneHit middle1_{kFirstChart, StepZone::kMiddle};
  const StepZoneHit forward2_{kSecondChart, StepZone::kForward};
};

TEST_F(StepControllerTest, ATapStepsOnceAndTheMiddleOrAZeroStepOpensTheDialog) {
  EXPECT_EQ(controller_.Press(backward1_, kOneDay, 0.0), (StepAction{StepCommand::kStep, 1, -1}));
  EXPECT_EQ(controller_.Pressed(), backward1_);
  EXPECT_TRUE(Ticks(500.0, 1500.0).empty());
  controller_.Release();
  EXPECT_EQ(controller_.Pressed(), std::nullopt);
  EXPECT_FALSE(controller_.NeedsTicks());
  EXPECT_TRUE(Ticks(2000.0, 6000.0).empty());
  EXPECT_EQ(controller_.Press(middle1_, kOneDay, 0.0), (StepAction{StepCommand::kOpenDialog, 1, 0}));
  EXPECT_EQ(controller_.Press(forward2_, {}, 0.0), (StepAction{StepCommand::kOpenDialog, 2, 0}));
  EXPECT_FALSE(controller_.NeedsTicks());
}

TEST_F(StepControllerTest, AHoldOfMoreThanThreeSecondsRepeatsUntilTheMiddleIsTapped) {
  controller_.Press(forward1_, kOneDay, 100.0);
  EXPECT_TRUE(Ticks(600.0, 3100.0).empty());  // exactly 3 s is not more than 3 s
  EXPECT_EQ(controller_.Tick(3600.0), (std::vector<StepAction>{{StepCommand::kStartRepeating, 1, 1}}));
  controller_.Release();
  EXPECT_EQ(Ticks(4100.0, 5600.0), Steps(1, 1, 4));
  // A tap the other way steps once and turns the repetition round.
  EXPECT_EQ(controller_.Press(backward1_, kOneDay, 5700.0), (StepAction{StepCommand::kStep, 1, -1}));
  controller_.Release();
  EXPECT_EQ(Ticks(6100.0, 6600.0), Steps(1, -1, 2));
  EXPECT_EQ(controller_.Press(middle1_, kOneDay, 6700.0), (StepAction{StepCommand::kStopRepeating, 1, 0}));
  EXPECT_FALSE(controller_.NeedsTicks());
  EXPECT_TRUE(Ticks(7100.0, 9000.0).empty());
  // A zero step ends a repetition as the middle zone does.
  controller_.Press(forward1_, kOneDay, 10000.0);
  controller_.Tick(13500.0);
  EXPECT_EQ(controller_.Press(forward1_, {}, 14000.0), (StepAction{StepCommand::kStopRepeating, 1, 0}));
}

TEST_F(StepControllerTest, TheChartsRepeatApartAndARefusedStepEndsARepetition) {
  controller_.Press(forward1_, kOneDay, 0.0);
  controller_.Tick(3500.0);
  controller_.Release();
  EXPECT_EQ(controller_.Press({kSecondChart, StepZone::kMiddle}, kOneDay, 3600.0),
            (StepAction{StepCommand::kOpenDialog, 2, 0}));
  EXPECT_EQ(controller_.Press(forward2_, kOneDay, 4000.0), (StepAction{StepCommand::kStep, 2, 1}));
  EXPECT_EQ(controller_.Tick(4500.0), Steps(1, 1, 1));
  EXPECT_EQ(controller_.Tick(7500.0),
            (std::vector<StepAction>{{StepCommand::kStartRepeating, 2, 1}, {StepCommand::kStep, 1, 1}}));
  controller_.StopRepeating(kFirstChart);
  controller_.StopRepeating(kSecondChart);
  EXPECT_FALSE(controller_.AnyRepeating());
  EXPECT_TRUE(Ticks(8000.0, 12000.0).empty());  // still pressed, but the hold is spent
  EXPECT_EQ(controller_.Pressed(), forward2_);
}

}  // namespace
}  // namespace kelvara::app
