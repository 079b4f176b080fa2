// The calendar commands of the main window driven as a user drives them: the dialog,
// the calculation on its worker with the progress in the status bar, the result window.
#include "app/qt/calendar_runner.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <condition_variable>
#include <thread>

#include <gtest/gtest.h>

#include "app/qt/calendar_place_fields.h"
#include "app/qt/tests/place_dialog_support.h"
#include "calendars/qt/calendar_dialog.h"
#include "calendars/qt/calendar_window.h"
#include "platform/qt/grid_ctrl.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::app {
namespace {

using namespace testing;
namespace cal = calendars;
namespace ws = workspace;

constexpr int kPatienceMs = 10000;

// Lets the worker's day scans through one at a time, so a test sees the progress move.
class DayScanGate {
 public:
  // The Moon rises at 08:30 every day.
  std::optional<std::vector<std::string>> Pass() {
    std::unique_lock lock(mutex_);
    ++waiting_;
    changed_.wait(lock, [this] { return open_ || allowed_ > 0; });
    --waiting_;
    ++passes_;
    if (!open_) --allowed_;
    return std::vector<std::string>{"8:30.0 2 1", "20:10.0 2 3"};
  }
  void Allow(int scans) { Change([&] { allowed_ += scans; }); }
  void Open() { Change([&] { open_ = true; }); }
  // The worker waits in a day scan, everything before it posted, after `passes` scans.
  bool Holding(int passes) {
    std::lock_guard lock(mutex_);
    return waiting_ > 0 && allowed_ == 0 && passes_ == passes;
  }

 private:
  template <typename F>
  void Change(F change) {
    {
      std::lock_guard lock(mutex_);
      change();
    }
    changed_.notify_all();
  }
  std::mutex mutex_;
  std::condition_variable changed_;
  int allowed_ = 0;
  int waiting_ = 0;
  int passes_ = 0;
  bool open_ = false;
};

class CalendarRunnerTest : public ::testing::Test {
 protected:
  CalendarRunnerTest() {
    platform::testing::TestApplication();
    session_.charts.main = ws::testing::Person("Иван", {1985, 7, 12, 14, 5, 0}, 4.0);
  }
  ~CalendarRunnerTest() override { gate_.Open(); }

  CMainFrame& Frame() {
    if (!frame_) {
      frame_ = std::make_unique<CMainFrame>(session_, FrameServices{sky_, &clock_, nullptr, ""});
      runner_ = InstallCalendars(*frame_, session_, sky_, &clock_,
                                 [this](const ws::EngineMoment&) { return gate_.Pass(); });
      frame_->SetTextRequester([this](const std::string& request) { requests_.push_back(request); });
      frame_->ShowCharts();
      ShowAndActivate(*frame_);
    }
    return *frame_;
  }
  CalendarProgressArea& Progress() { return *runner_->Progress(); }
  bool WaitForSteps(int steps) {
    return QTest::qWaitFor([&] { return Progress().Steps() >= steps; }, kPatienceMs);
  }
  static void Press(QDialog& dialog, const char* button) { dialog.findChild<QPushButton*>(button)->click(); }

  Session session_;
  ws::testing::FakeSky sky_;
  ws::testing::FixedClock clock_{platform::TimeZoneInfo{true, -180, 0, false, "MSK", "MSK"}};
  DayScanGate gate_;
  std::unique_ptr<CMainFrame> frame_;
  CalendarRunner* runner_ = nullptr;
  RecordedBoxes boxes_;
  std::vector<std::string> requests_;
};

TEST_F(CalendarRunnerTest, ACalculationShowsItsProgressThenTheEndMessageAndTheResult) {
  CMainFrame& frame = Frame();
  QString dialogTitle;
  WhenModalOpens([&](QDialog& dialog) {
    dialogTitle = dialog.windowTitle();
    Press(dialog, "okButton");
  });
  frame.RunCommand(CommandId::kLunarCalendar);
  EXPECT_EQ(dialogTitle, "Расчет лунного календаря");
  ASSERT_TRUE(runner_->IsRunning(CalendarKind::kLunar));
  ASSERT_TRUE(session_.calendarRequest.has_value());
  EXPECT_EQ(session_.calendarRequest->from, (ws::CalendarMoment{2024, 2, 15}));

  // The phases come first, then one step a day scan; the text and the icons follow each.
  QStringList texts;
  std::vector<int> icons;
  for (int scans = 0; scans < 3; ++scans) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate_.Holding(scans); }, kPatienceMs));
    QCoreApplication::processEvents();  // what the worker posted before it waited
    texts << Progress().Text()->text();
    icons.push_back(Progress().ShownIcon());
    gate_.Allow(1);
  }
  EXPECT_TRUE(Progress().isVisible());
  EXPECT_TRUE(texts[0].startsWith(QString::fromUtf8("ЛунКа=")));
  EXPECT_LT(Progress().Bar()->value(), 99);
  EXPECT_EQ(texts.removeDuplicates(), 0);
  EXPECT_NE(icons[0], icons[1]);
  EXPECT_NE(icons[1], icons[2]);

  std::vector<std::string> windowRows;
  WhenModalOpens([&](QDialog& window) {
    auto* grid = window.findChild<platform::CALXGridCtrl*>();
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
      windowRows.push_back(grid->model()->index(row, 0).data().toString().toStdString());
      if (windowRows.back().starts_with("01-й")) {
        grid->setCurrentIndex(grid->model()->index(row, 0));
        QTest::keyClick(grid, Qt::Key_Return);
      }
    }
    window.reject();
  });
  ShowAndActivate(frame);  // the end message is a box while the user is in the main window
  gate_.Open();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !windowRows.empty(); }, kPatienceMs));
  EXPECT_EQ(boxes_.texts, (std::vector<std::string>{"Расчет лунного календаря закончен"}));
  EXPECT_FALSE(Progress().isVisible());
  EXPECT_FALSE(runner_->IsRunning(CalendarKind::kLunar));
  EXPECT_EQ(windowRows.size(), session_.calendarResults.lunar.lines.size());
  EXPECT_EQ(requests_, (std::vector<std::string>{"1-й лунный день"}));
}

TEST_F(CalendarRunnerTest, TheScanningCalendarsRunFromTheirCommandsToTheirWindows) {
  session_.charts.main = ws::testing::Person("Останов", {2024, 3, 1, 10, 0, 0}, 3.0);
  CMainFrame& frame = Frame();
  for (const auto& [command, title, done] :
       {std::tuple{CommandId::kVoidMoon, "Луна без курса", "Расчет Луны без курса закончен"},
        std::tuple{CommandId::kAspectCalendar, "Календарь аспектов", "Расчет календаря аспектов закончен"}}) {
    boxes_.texts.clear();
    WhenModalOpens([](QDialog& dialog) { Press(dialog, "okButton"); });
    frame.RunCommand(command);
    QString shown;
    WhenModalOpens([&](QDialog& window) {
      shown = window.findChild<QLabel*>("title")->text();
      window.reject();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, kPatienceMs)) << title;
    EXPECT_EQ(shown.toStdString(), title);
    // A box when the main window is active, else the status bar.
    const std::string told = boxes_.texts.empty() ? frame.statusBar()->currentMessage().toStdString() : boxes_.texts[0];
    EXPECT_EQ(told, done);
  }
  EXPECT_FALSE(session_.calendarResults.voidMoon.lines.empty());
  EXPECT_TRUE(session_.calendarResults.aspects.header.starts_with("Tr|Tr|"));
}

TEST_F(CalendarRunnerTest, AStoppedRunKeepsTheOldResult) {
  Frame();
  session_.calendarResults.hours.lines = {"01.03.2024 06:40|Луна (Пт., восход Солнца)"};
  cal::CalendarRequest request;
  request.from = {2024, 3, 1};
  request.to = {2024, 3, 10};
  request.latitudeDeg = 55.75;
  runner_->Start(CalendarKind::kPlanetaryHours, request);
  ASSERT_TRUE(WaitForSteps(1));
  EXPECT_TRUE(Progress().isVisible());
  // The worker waits in a day scan; the gate opens once the stop has been asked for.
  std::thread opener([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    gate_.Open();
  });
  QTest::mouseClick(Progress().Bar(), Qt::LeftButton);
  opener.join();
  QTest::qWait(20);
  EXPECT_FALSE(runner_->IsRunning(CalendarKind::kPlanetaryHours));
  EXPECT_FALSE(Progress().isVisible());
  EXPECT_EQ(session_.calendarResults.hours.lines,
            (std::vector<std::string>{"01.03.2024 06:40|Луна (Пт., восход Солнца)"}));
  EXPECT_TRUE(boxes_.texts.empty());
}

TEST_F(CalendarRunnerTest, AResultOpensFirstAndRecalculateClearsItAndAsksAgain) {
  CMainFrame& frame = Frame();
  session_.calendarResults.lunar.lines = {"* новолуние|10.03.2024 09:00"};
  std::vector<std::string> opened;
  WhenModalOpens([&](QDialog& window) {
    opened.push_back(window.objectName().toStdString());
    WhenModalOpens([&](QDialog& dialog) {
      opened.push_back(dialog.objectName().toStdString());
      dialog.reject();
    });
    Press(window, "recalculate");
  });
  frame.RunCommand(CommandId::kLunarCalendar);
  EXPECT_EQ(opened, (std::vector<std::string>{"calendarWindow", "calendarDialog"}));
  EXPECT_TRUE(session_.calendarResults.lunar.lines.empty());
  EXPECT_FALSE(runner_->IsRunning(CalendarKind::kLunar));
}

TEST_F(CalendarRunnerTest, FixedMomentCalendarsRefuseWhileANowChartRuns) {
  session_.charts.main = ws::testing::Person("Сейчас", {2024, 3, 1, 10, 0, 0}, 3.0);
  CMainFrame& frame = Frame();
  bool dialogOpened = false;
  WhenModalOpens([&](QDialog& dialog) {
    dialogOpened = true;
    dialog.reject();
  }, 20);
  frame.RunCommand(CommandId::kVoidMoon);
  QTest::qWait(150);
  EXPECT_FALSE(dialogOpened);
  EXPECT_EQ(boxes_.texts, (std::vector<std::string>{"Прежде остановите карту двойным кликом по экрану."}));
  frame.Clock().Stop();
}

TEST_F(CalendarRunnerTest, ChoosingAPlaceFillsTheCoordinates) {
  places::PlacesList list = BuiltList({{"Минск", 27.56667, 53.9}, {"Москва", 37.61556, 55.75222}});
  CalendarPlaceSection section(list, RealCityBase());
  ShowAndActivate(section);
  section.ShowPlace("Хутор", 1.0, 2.0);
  TypeAndPick(*section.Picker(), "Минс");
  EXPECT_EQ(section.PlaceName(), "Минск");
  EXPECT_DOUBLE_EQ(section.LatitudeDeg(), 53.9);
  EXPECT_DOUBLE_EQ(section.LongitudeDeg(), 27.56667);
}

}  // namespace
}  // namespace kelvara::app
