#include "app/event_map_picture.h"

#include <gtest/gtest.h>

#include "app/settings.h"
#include "platform/recording_canvas.h"
#include "platform/tests/scratch_dir.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;

class EventMapPictureTest : public ::testing::Test {
 protected:
  EventMapPictureTest() {
    session_.charts.main = ws::testing::Person("Иван", {1985, 7, 12, 14, 5, 0}, 4.0);
    ws::ComputeChart(session_.charts.main, {sky_, nullptr, nullptr, nullptr, ""});
  }
  void Draw(EventMapPicture& picture) {
    platform::RecordingCanvas canvas;
    picture.Draw(canvas, MetricsForSize(600, 640), session_);
  }

  Session session_;
  ws::testing::FakeSky sky_;
  ws::testing::FixedClock clock_{platform::TimeZoneInfo{true, -180, 0, false, "MSK", "MSK"}};
};

TEST_F(EventMapPictureTest, TheDayIsTheSecondChartsInDoubleModeElseTodayAtTheNowPlace) {
  session_.charts.second = ws::testing::Person("Мария", {2001, 2, 3, 4, 5, 6}, 2.0, 50.0, 30.0, "Киев");
  session_.charts.doubleChart = true;
  EXPECT_EQ(ChooseEventMapDay(session_, &clock_), (EventMapDay{{2001, 2, 3}, "Киев", 50.0, 30.0, 2.0}));
  session_.charts.doubleChart = false;
  session_.charts.nowPlace = "Нигде";  // not in the (empty) base: the natal place stands in
  EXPECT_EQ(ChooseEventMapDay(session_, &clock_), (EventMapDay{{2024, 3, 1}, "Москва", 55.75, 37.6, 3.0}));
  EXPECT_EQ(ChooseEventMapDay(session_, nullptr).day, (ws::CalendarMoment{1985, 7, 12}));
}

TEST_F(EventMapPictureTest, ShiftedDaysCrossMonthsYearsAndLeapDays) {
  EXPECT_EQ(ShiftedDay({2024, 3, 1, 13, 30}, -1), (ws::CalendarMoment{2024, 2, 29}));
  EXPECT_EQ(ShiftedDay({2023, 12, 31}, 1), (ws::CalendarMoment{2024, 1, 1}));
  EXPECT_EQ(ShiftedDay({2100, 2, 28}, 1), (ws::CalendarMoment{2100, 3, 1}));
}

// A day the scan refuses keeps the last day's dial and says why; the scan runs again only
// when what it reads changed.
TEST_F(EventMapPictureTest, ARefusedDayKeepsThePreviousDialAndScansRunOnlyOnChange) {
  EventMapPicture picture(sky_, nullptr, &clock_);
  Draw(picture);
  ASSERT_TRUE(picture.Lists());
  const auto shown = picture.Lists()->exact;
  const int runs = sky_.runs;
  Draw(picture);
  EXPECT_EQ(sky_.runs, runs) << "nothing changed, nothing scanned";
  session_.aspectTables.between[0].firstOrbs.fill(session_.aspectTables.between[0].firstOrbs[1] + 0.5);
  Draw(picture);
  EXPECT_GT(sky_.runs, runs) << "a changed aspect table is scanned again";

  const auto before = picture.Lists()->exact;
  picture.ShiftDay(200 * 366);
  Draw(picture);
  EXPECT_NE(picture.Caption().find(eventmap::kDayOutOfRange), std::string::npos) << picture.Caption();
  EXPECT_NE(picture.Caption().find("01.03.2024"), std::string::npos) << "the dial shown is still that day's";
  EXPECT_EQ(picture.Lists()->exact.size(), before.size());
}

TEST(EventMapSettings, StepsADayOutsideTheirChoicesFallBackToTwentyFour) {
  platform::test_support::ScratchDir dir;
  platform::Registry registry{dir / "registry.db"};
  platform::Profile profile{registry};
  EXPECT_EQ(LoadSettings(profile).mapSteps, kDefaultMapSteps);
  profile.WriteInt(kSettingsSection, "MapSteps", 3);
  EXPECT_EQ(LoadSettings(profile).mapSteps, 3);
  profile.WriteInt(kSettingsSection, "MapSteps", 8);
  EXPECT_EQ(LoadSettings(profile).mapSteps, kDefaultMapSteps);
}

}  // namespace
}  // namespace kelvara::app
