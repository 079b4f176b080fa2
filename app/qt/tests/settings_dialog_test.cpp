#include "app/qt/settings_dialog.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "app/help_topics.h"
#include "app/qt/asp_page_widgets.h"
#include "app/qt/main_frame.h"
#include "app/qt/message_boxes.h"
#include "app/qt/tests/help_recorder.h"
#include "app/wheel_input.h"
#include "platform/file_io.h"
#include "platform/qt/tests/qt_test_application.h"
#include "platform/recording_canvas.h"
#include "platform/tests/scratch_dir.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::app {
namespace {

namespace fs = std::filesystem;
namespace ws = workspace;
using platform::Color;

constexpr int kTrine = 1;
constexpr int kSextile = 2;
constexpr Color kChosen{10, 20, 30};

// Runs `act` on the settings dialog once it is up; the dialog is cancelled afterwards
// unless `act` closed it.
void WhenDialogOpens(std::function<void(CSettingsDlg&)> act, int triesLeft = 500) {
  QTimer::singleShot(5, [act, triesLeft] {
    if (auto* dialog = qobject_cast<CSettingsDlg*>(QApplication::activeModalWidget())) {
      act(*dialog);
      if (dialog->isVisible()) dialog->reject();
    } else if (triesLeft > 0) {
      WhenDialogOpens(act, triesLeft - 1);
    }
  });
}

QAction* FindAction(const QList<QAction*>& actions, const QStringList& path) {
  for (QAction* action : actions) {
    if (action->text() != path.front()) continue;
    if (path.size() == 1) return action;
    if (action->menu()) return FindAction(action->menu()->actions(), path.mid(1));
  }
  return nullptr;
}

// The editor F2 opened in a grid: a line edit or a list of names.
QWidget* OpenEditor(const QWidget& grid) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  for (QWidget* editor : grid.findChildren<QWidget*>()) {
    if (editor->isVisible() && (qobject_cast<QLineEdit*>(editor) || qobject_cast<QComboBox*>(editor))) return editor;
  }
  return nullptr;
}

// F2 on a grid's cell, then keys for the editor it opens, which Enter closes.
void EditCell(platform::GridView& grid, int row, int column, const std::function<void(QWidget&)>& inEditor = {}) {
  grid.setCurrentIndex(grid.model()->index(row, column));
  QTest::keyClick(&grid, Qt::Key_F2);
  if (!inEditor) return;
  QWidget* editor = OpenEditor(grid);
  ASSERT_TRUE(editor);
  inEditor(*editor);
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();
}

std::string Bytes(const fs::path& path) { return platform::ReadFileBytes(path).value_or("(none)"); }

class SettingsDialogTest : public ::testing::Test {
 protected:
  SettingsDialogTest() {
    platform::testing::TestApplication();
    SetBoxAnswerer([this](BoxKind, const std::string& text) {
      boxes_.push_back(text);
      return true;
    });
    session_.dataPrefix = Prefix();
    session_.settings.avesta = true;  // where "Лилит" is shown by default
    session_.settings.west = false;
    session_.charts.main = ws::testing::Person("Иван", {1985, 7, 12, 14, 5, 0}, 4.0);
    frame_ = std::make_unique<CMainFrame>(session_, FrameServices{sky_, &clock_, &profile_, "registry.db"});
    frame_->ShowCharts();
  }
  ~SettingsDialogTest() override { SetBoxAnswerer(nullptr); }
  std::string Prefix() const { return (dir_.Path() / "").string(); }
  void Trigger(const QString& path) {
    QAction* action = FindAction(frame_->menuBar()->actions(), path.split('/'));
    ASSERT_TRUE(action) << path.toStdString();
    action->trigger();
  }
  std::vector<double> AspectAngles(Session& session) {
    std::vector<double> angles;
    for (const AspectListRow& row : ShownAspectRows(session, session.aspectTables)) angles.push_back(row.angleDeg);
    return angles;
  }

  platform::test_support::ScratchDir dir_;
  platform::Registry registry_{dir_ / "registry.db"};
  platform::Profile profile_{registry_};
  Session session_;
  ws::testing::FakeSky sky_;
  ws::testing::FixedClock clock_{platform::TimeZoneInfo{true, -180, 0, false, "MSK", "MSK"}};
  std::unique_ptr<CMainFrame> frame_;
  std::vector<std::string> boxes_;
};

TEST_F(SettingsDialogTest, EachCommandOpensItsPage) {
  testing::HelpRecorder help;
  const std::vector<std::pair<QString, SettingsPage>> commands = {
      {"Команды/Настроить/Планеты", SettingsPage::kPlanets},
      {"Команды/Настроить/Аспекты", SettingsPage::kAspects},
      {"Команды/Настроить/Сис.управ.", SettingsPage::kRulers},
      {"Команды/Таблица аспектов", SettingsPage::kAspectTable}};
  for (const auto& [command, page] : commands) {
    bool opened = false;
    WhenDialogOpens([&, page = page](CSettingsDlg& dialog) {
      opened = dialog.Tabs()->currentWidget() == dialog.PageWidget(page);
      QTest::mouseClick(dialog.findChild<QPushButton*>("helpButton"), Qt::LeftButton);
    });
    Trigger(command);
    EXPECT_TRUE(opened) << command.toStdString();
  }
  EXPECT_EQ(help.topics, (QStringList{"#Planets", "#Aspects", "#Rulers", "#AspTable"}));
  EXPECT_TRUE(boxes_.empty());
  frame_->OpenSettings(SettingsPage::kPlanets2);
  EXPECT_EQ(boxes_, std::vector<std::string>{NotYetWorkingText(CommandId::kPagePlanets2)});
}

TEST_F(SettingsDialogTest, EditsOnThePagesAreWrittenAtOnceAndComeBackAfterARestart) {
  ASSERT_NE(std::ranges::count(AspectAngles(session_), 60.0), 0) << "the charts have a sextile to lose";
  WhenDialogOpens([](CSettingsDlg& dialog) {
    platform::CRegGridCtrl& aspects = dialog.AspectsPage()->AspectGrid();
    aspects.SetColorChooser([](Color, QWidget*) { return std::optional(kChosen); });
    EditCell(aspects, kTrine, kAspectApplyingOrb, [](QWidget& editor) {
      static_cast<QLineEdit&>(editor).selectAll();
      QTest::keyClicks(&editor, "6,5");
    });
    EditCell(aspects, kSextile, kAspectEnabled);
    EditCell(aspects, kTrine, kAspectColour);
    EditCell(aspects, kTrine, kAspectStyle, [](QWidget& editor) { QTest::keyClick(&editor, Qt::Key_End); });

    for (int back = 0; back < 3; ++back) {  // to "Планеты", past the event map's two
      QTest::keyClick(dialog.Tabs(), Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    }
    ASSERT_EQ(dialog.Tabs()->currentWidget(), dialog.PageWidget(SettingsPage::kPlanets));
    platform::CRegGridCtrl& planets = *dialog.PlanetsGrid(SettingsPage::kPlanets);
    EditCell(planets, ws::kSlotLilith - 1, 2);  // "Показ"
    dialog.Tabs()->setCurrentIndex(dialog.Tabs()->count() - 1);  // "Вид"
    QTest::keyClick(dialog.SwitchBox(CommandId::kApplyingAspects), Qt::Key_Space);
    QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
  });
  Trigger("Команды/Настроить/Аспекты");
  EXPECT_TRUE(boxes_.empty()) << boxes_.front();

  EXPECT_EQ(platform::Profile(registry_).GetInt(kSettingsSection, "b_SHOD", 1), 0);
  std::string error;
  const auto stored = DecodeAspectTable(Bytes(Prefix() + "asp1."), error);
  ASSERT_TRUE(stored) << error;
  const AspectRecord& trine = (*stored)[kTrine];
  EXPECT_EQ(trine.firstOrbs[ws::kSlotSun], 6.5);
  EXPECT_EQ(trine.firstColor, kChosen.ToColorRef());
  EXPECT_EQ(trine.penStyle, kPenDots);
  EXPECT_FALSE((*stored)[kSextile].enabled);
  EXPECT_FALSE(fs::exists(Prefix() + "asp2.")) << "the table left alone is not written";

  Session restarted;
  platform::Registry registry(dir_ / "registry.db");
  platform::Profile profile(registry);
  StartUp({&profile, nullptr, {}, Prefix(), ""}, restarted);
  restarted.charts.main = session_.charts.main;
  ApplyObjectSettingsToCharts(restarted);
  EXPECT_FALSE(restarted.settings.applyingShown);
  EXPECT_EQ(restarted.aspectTables.single, *stored);
  EXPECT_EQ(restarted.charts.main.objects[ws::kSlotLilith].visible, 0);
  EXPECT_EQ(std::ranges::count(AspectAngles(restarted), 60.0), 0);
  platform::RecordingCanvas canvas;
  const auto input = WheelInputOf(restarted.charts, restarted.aspectTables, WheelOptionsOf(restarted.settings, 0), false);
  EXPECT_EQ(display::DrawWheel(canvas, {0, 0, 400, 400}, input).aspects.size(), AspectAngles(restarted).size());
}

TEST_F(SettingsDialogTest, CancelLeavesFilesAndStoreAsTheyWere) {
  ASSERT_TRUE(SaveSettings(profile_, session_.settings));
  ASSERT_TRUE(platform::WriteFileAtomically(Prefix() + "pl1.", "damaged"));
  const std::string store = Bytes(dir_ / "registry.db");
  const Settings settings = session_.settings;
  WhenDialogOpens([](CSettingsDlg& dialog) {
    EditCell(*dialog.PlanetsGrid(SettingsPage::kPlanets), 0, 2);
    QTest::keyClick(dialog.SwitchBox(CommandId::kApplyingAspects), Qt::Key_Space);
    QTest::mouseClick(dialog.findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
  });
  Trigger("Команды/Настроить/Планеты");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_NE(boxes_[0].find("pl1."), std::string::npos);
  EXPECT_EQ(Bytes(Prefix() + "pl1."), "damaged");
  EXPECT_EQ(Bytes(dir_ / "registry.db"), store);
  EXPECT_EQ(session_.settings, settings);
  EXPECT_EQ(session_.charts.main.objects[ws::kSlotSun].visible, 1);
}

}  // namespace
}  // namespace kelvara::app
