#include "workspace/chart_rules.h"

#include <gtest/gtest.h>

#include "workspace/merged_chart.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::workspace {
namespace {

class ChartRulesTest : public ::testing::Test {
 protected:
  ChartRulesTest() {
    state_.main.name = "Анна";
    state_.main.filePath = "/a.kvd";
    state_.main.local = {1980, 1, 1, 12, 0, 0};
    state_.second.name = "Борис";
    state_.second.filePath = "/b.kvd";
    state_.second.local = {1990, 1, 1, 12, 0, 0};
    state_.doubleChart = true;
    state_.nowPlace = "Москва";
  }
  ComputeContext Context() { return {sky_, &state_.main, &clock_, nullptr, state_.nowPlace}; }

  testing::FakeSky sky_;
  testing::FixedClock clock_{{true, -180, 0, false, "", ""}};
  WorkspaceState state_;
};

TEST_F(ChartRulesTest, ChangingSourceDataAsksAccordingToTheCharts) {
  EXPECT_EQ(ChangeSourceDataQuestion(state_), kAskDropSecondChart);
  BuildMidpointChart(state_, Context());
  EXPECT_EQ(ChangeSourceDataQuestion(state_), kAskDropMergedCharts);
  ApplyChangeSourceData(state_);
  EXPECT_EQ(state_.main.name, "Анна");
  EXPECT_FALSE(state_.doubleChart);
  EXPECT_FALSE(state_.merged);
  EXPECT_EQ(ChangeSourceDataQuestion(state_), std::nullopt);
  state_.main.name = "Сейчас";
  state_.main.placeName = "Казань";
  FinishChangeSourceData(state_, Context());
  EXPECT_EQ(state_.nowPlace, "Казань");
}

TEST_F(ChartRulesTest, SavingAndOpeningAreRefusedForMergedAndDoubleCharts) {
  EXPECT_EQ(SaveRefusal(state_), kDoubleNotSaved);
  EXPECT_EQ(OpenRefusal(state_), std::nullopt);
  WorkspaceState midpoint = state_;
  BuildMidpointChart(midpoint, Context());
  EXPECT_EQ(SaveRefusal(midpoint), kMidpointNotSaved);
  EXPECT_EQ(SaveRefusal(midpoint)->substr(0, 1), "C");  // Latin
  EXPECT_EQ(OpenRefusal(midpoint), kNoDoubleWithMerged);
  EXPECT_EQ(SecondChartQuestion(midpoint), kAskNowOverMergedChart);
  BuildCompositeChart(state_, {}, sky_);
  EXPECT_EQ(SaveRefusal(state_), kCompositeNotSaved);
  state_ = WorkspaceState{};
  state_.main.name = "Анна";
  EXPECT_EQ(SaveRefusal(state_), std::nullopt);
}

TEST_F(ChartRulesTest, DoubleChartModeOffAndOnRestoresTheSecondChart) {
  SwitchDoubleChartOff(state_);
  EXPECT_TRUE(state_.second.name.empty());
  EXPECT_TRUE(state_.second.filePath.empty());
  state_.secondAlone = true;
  SwitchDoubleChartOff(state_);  // twice: what the first switch kept stays
  EXPECT_FALSE(state_.secondAlone);
  EXPECT_EQ(SwitchDoubleChartOn(state_, Context()), ComputeResult::kComputed);
  EXPECT_EQ(state_.second.name, "Борис");
  EXPECT_EQ(state_.second.filePath, "/b.kvd");
  EXPECT_EQ(state_.second.title, kTitleNatal);
}

TEST_F(ChartRulesTest, NewDataStartsFromThePresentWhenTheMainChartHasAName) {
  ChartRecord& edited = PrepareNewData(state_, clock_, nullptr);
  EXPECT_EQ(&edited, &state_.second);
  EXPECT_EQ(edited.name, "Сейчас");
  EXPECT_EQ(edited.placeName, "Москва");
  EXPECT_EQ(edited.local, (CalendarMoment{2024, 3, 1, 10, 0, 0}));
  EXPECT_DOUBLE_EQ(edited.gmtOffsetHours, 3.0);
  state_.doubleChart = false;
  state_.main.name.clear();
  ChartRecord& fresh = PrepareNewData(state_, clock_, nullptr);
  EXPECT_EQ(&fresh, &state_.main);
  EXPECT_TRUE(fresh.name.empty());
}

TEST_F(ChartRulesTest, DoubleTapFreezesAndReleasesNowCharts) {
  state_.main.name = "";
  state_.second.name = "Сейчас";
  ToggleNowFreeze(state_);
  EXPECT_EQ(state_.main.name, "Останов");
  EXPECT_EQ(state_.second.name, "Останов");
  ToggleNowFreeze(state_);
  EXPECT_EQ(state_.main.name, "Сейчас");
  EXPECT_EQ(state_.second.name, "Сейчас");
}

}  // namespace
}  // namespace kelvara::workspace
