#include "app/qt/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QTimer>
#include <QPrinter>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QImage>
#include <QMenuBar>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolBar>
#include <QHeaderView>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "app/chains_picture.h"
#include "app/display_check.h"
#include "app/messages.h"
#include "app/qt/message_boxes.h"
#include "app/event_map_picture.h"
#include "app/qt/day_events_dialog.h"
#include "app/qt/map_day_dialog.h"
#include "app/qt/position_table.h"
#include "app/qt/tests/help_recorder.h"
#include "app/wheel_picture.h"
#include "engine/ephemeris/ephemeris_check.h"
#include "interpretation/tradition_flags.h"
#include "app/qt/qt_text.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/tests/golden_image.h"
#include "platform/qt/tests/qt_test_application.h"
#include "platform/file_io.h"
#include "platform/tests/bmp_writer.h"
#include "platform/tests/scratch_dir.h"
#include "workspace/engine_driver.h"
#include "workspace/position_text.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::app {
namespace {

namespace fs = std::filesystem;
namespace ws = workspace;
using ws::testing::Person;

constexpr int kPatienceMs = 10000;

// Every box the window shows is recorded and answered with `answer`.
struct RecordedBoxes {
  RecordedBoxes() {
    SetBoxAnswerer([this](BoxKind, const std::string& text) {
      texts.push_back(text);
      return answer;
    });
  }
  ~RecordedBoxes() { SetBoxAnswerer(nullptr); }
  std::vector<std::string> texts;
  bool answer = false;
};

// The actions of a menu tree in the window, by caption path ("Команды/Настроить/Koch").
QAction* FindAction(const QList<QAction*>& actions, const QStringList& path) {
  for (QAction* action : actions) {
    if (action->text() != path.front()) continue;
    if (path.size() == 1) return action;
    if (action->menu()) return FindAction(action->menu()->actions(), path.mid(1));
  }
  return nullptr;
}

QStringList Captions(const QList<QAction*>& actions) {
  QStringList captions;
  for (const QAction* action : actions) captions << (action->isSeparator() ? QString("-") : action->text());
  return captions;
}

// Press, move while held, release: the stylus's drag as a user's hand makes it.
void DragOnView(QWidget* view, QPoint from, QPoint to) {
  QTest::mousePress(view, Qt::LeftButton, {}, from);
  QTest::mouseMove(view, to);
  QMouseEvent move(QEvent::MouseMove, to, view->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(view, &move);
  QTest::mouseRelease(view, Qt::LeftButton, {}, to);
}

class MainFrameTest : public ::testing::Test {
 protected:
  MainFrameTest() {
    platform::testing::TestApplication();
    session_.dataPrefix = (dir_.Path() / "").string();
    session_.charts.main = Person("Иван", {1985, 7, 12, 14, 5, 0}, 4.0);
  }
  CMainFrame& Frame() {
    if (!frame_) {
      frame_ = std::make_unique<CMainFrame>(session_, FrameServices{sky_, &clock_, &profile_, "registry.db"});
      frame_->ShowCharts();
      frame_->show();
      frame_->activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
    }
    return *frame_;
  }
  bool Trigger(const QString& path) {
    QAction* action = FindAction(Frame().menuBar()->actions(), path.split('/'));
    if (!action) return false;
    action->trigger();
    return true;
  }

  platform::test_support::ScratchDir dir_;
  platform::Registry registry_{dir_ / "registry.db"};
  platform::Profile profile_{registry_};
  Session session_;
  ws::testing::FakeSky sky_;
  ws::testing::FixedClock clock_{platform::TimeZoneInfo{true, -180, 0, false, "MSK", "MSK"}};
  std::unique_ptr<CMainFrame> frame_;
  RecordedBoxes boxes_;
};

TEST_F(MainFrameTest, TheMenusAreTheCoresTreesAndFollowEveryCommand) {
  CMainFrame& frame = Frame();
  EXPECT_EQ(Captions(frame.menuBar()->actions()), (QStringList{"Файл", "Команды", "Формула Души", "Формат времени", "Вид", "Справка"}));
  EXPECT_EQ(frame.windowTitle(), "Иван — Кельвара[*]");
  QAction* koch = FindAction(frame.menuBar()->actions(), {"Команды", "Настроить", "Системы Домов", "Koch"});
  ASSERT_TRUE(koch);
  EXPECT_FALSE(koch->isChecked());
  koch->trigger();
  EXPECT_EQ(session_.charts.main.houseSystem, ws::kHouseKoch);
  EXPECT_TRUE(FindAction(frame.menuBar()->actions(), {"Команды", "Настроить", "Системы Домов", "Koch"})->isChecked());

  ASSERT_TRUE(Trigger("Формула Души"));
  EXPECT_EQ(session_.displayMode, DisplayMode::kChains);
  EXPECT_EQ(Captions(FindAction(frame.menuBar()->actions(), {"Команды"})->menu()->actions()),
            (QStringList{"Карта событий", "Гороскоп", "Планетарные цепочки", "-", "Лунный календарь",
                         "Планетарные часы", "-", "Сменить исх.данные"}));
  EXPECT_FALSE(frame.findChild<QToolBar*>()->isVisible()) << "the tool bar belongs to the wheel";
  ASSERT_TRUE(Trigger("Команды/Гороскоп"));
  ASSERT_TRUE(Trigger("Формат времени/Не наш (11am, 12am, 1pm,..)"));
  EXPECT_TRUE(session_.settings.twelveHourClock);
}

TEST_F(MainFrameTest, MessagesAndQuestionsAreTheProgramsBoxes) {
  session_.charts.main.name = "Сейчас";
  ASSERT_TRUE(Trigger("Команды/Луна без курса"));
  ASSERT_TRUE(Trigger("Команды/Лунный календарь"));
  EXPECT_EQ(boxes_.texts, (std::vector<std::string>{std::string(kStopNowFirst),
                                                     "\"Лунный календарь\" в этой версии программы еще не работает."}));
}

// The attributions data/README.md and data/fonts/README.md ask for.
TEST_F(MainFrameTest, AboutNamesTheVersionAndEveryAttribution) {
  ASSERT_TRUE(Trigger("Справка/О программе..."));
  ASSERT_EQ(boxes_.texts.size(), 1u);
  const std::string& about = boxes_.texts.front();
  for (const char* piece : {"Кельвара " KELVARA_TEST_VERSION, "GeoNames", "Creative Commons Attribution 4.0",
                            "CLDR", "Unicode License v3", "VSOP87", "JPL", "MPC", "Qt", "LGPL", "SQLite",
                            "DejaVu Sans", "Bitstream Vera"}) {
    EXPECT_NE(about.find(piece), std::string::npos) << piece;
  }
}

TEST_F(MainFrameTest, TheWallpaperLiesUnderTheWheelUntilSwitchedOff) {
  CMainFrame& frame = Frame();
  const std::string file = (dir_ / "обои.bmp").string();
  ASSERT_TRUE(platform::WriteFileAtomically(file, platform::testing::PlainBmp(16, 9, 0x0000FF)));
  frame.SetFileChooser([file](bool, const std::string&) { return std::optional(file); });
  const auto corner = [&frame] { return frame.View()->grab().toImage().pixelColor(2, 2); };
  const QColor plain = corner();
  ASSERT_TRUE(Trigger("Вид/Обои..."));
  EXPECT_EQ(corner(), QColor(0, 0, 255));
  EXPECT_TRUE(FindAction(frame.menuBar()->actions(), {"Вид", "Показывать обои"})->isChecked());
  EXPECT_EQ(session_.settings.wallpaperFile, file);
  ASSERT_TRUE(Trigger("Вид/Показывать обои"));
  EXPECT_EQ(corner(), plain);
  EXPECT_FALSE(session_.settings.wallpaperShown);
}

TEST_F(MainFrameTest, F1OpensTheHelpAtTheModeShown) {
  testing::HelpRecorder help;
  CMainFrame& frame = Frame();
  QTest::keyClick(&frame, Qt::Key_F1);
  ASSERT_TRUE(Trigger("Формула Души"));
  QTest::keyClick(&frame, Qt::Key_F1);
  EXPECT_EQ(help.topics, (QStringList{"#Horoscope", "#Soul"}));
}

TEST_F(MainFrameTest, ADoubleTapFreezesAndReleasesTheNowChart) {
  session_.charts.main.name = "";
  CMainFrame& frame = Frame();
  EXPECT_TRUE(frame.Clock().IsRunning());
  QTest::mouseDClick(frame.View(), Qt::LeftButton, {}, frame.View()->rect().center());
  EXPECT_EQ(session_.charts.main.name, "Останов");
  EXPECT_FALSE(frame.Clock().IsRunning());
  EXPECT_TRUE(FindAction(frame.menuBar()->actions(), {"Команды", "Останов."})->isChecked());
  QTest::keyClick(frame.View(), Qt::Key_Space);
  EXPECT_EQ(session_.charts.main.name, "Сейчас");
  EXPECT_TRUE(frame.Clock().IsRunning());
  // On a glyph a double tap still freezes, and leaves neither a drag nor a window.
  frame.View()->repaint();
  auto* wheel = dynamic_cast<WheelPicture*>(PictureOfMode(frame.Pictures(), DisplayMode::kWheel).Stylus());
  ASSERT_TRUE(wheel && !wheel->Hits().glyphs.empty());
  const platform::Point glyph = wheel->Hits().glyphs.front().square.Center();
  QTest::mouseDClick(frame.View(), Qt::LeftButton, {}, QPoint(glyph.x, glyph.y));
  EXPECT_EQ(session_.charts.main.name, "Останов");
  EXPECT_FALSE(frame.View()->Stylus().Dragging());
  EXPECT_FALSE(frame.View()->InformationWindow());
}

TEST_F(MainFrameTest, TheNowClockRedrawsWithTheRoundsCharts) {
  session_.charts.main.name = "Сейчас";
  CMainFrame& frame = Frame();
  session_.charts.main.local = {};  // a round must put the present moment back
  EXPECT_TRUE(QTest::qWaitFor([this] { return session_.charts.main.local.year == 2024; }, kPatienceMs));
  frame.RunCommand(CommandId::kStopNow);
  EXPECT_FALSE(frame.Clock().IsRunning());
}

TEST_F(MainFrameTest, StepKeysMoveTheChartByItsStep) {
  session_.charts.main.step = {0, 1, 0, 0, 0, 0, 0};
  session_.charts.main.local = {2024, 1, 31, 12, 0, 0};
  CMainFrame& frame = Frame();
  frame.RunCommand(CommandId::kStepShift);
  QTest::keyClick(frame.View(), Qt::Key_Right);
  EXPECT_EQ(session_.charts.main.local, (ws::CalendarMoment{2024, 2, 29, 12, 0, 0}));
  QTest::keyClick(frame.View(), Qt::Key_Left);
  EXPECT_EQ(session_.charts.main.local, (ws::CalendarMoment{2024, 1, 29, 12, 0, 0}));
}

TEST_F(MainFrameTest, ADerivedSecondChartFollowsAStepOfTheMainChart) {
  session_.charts.main.step = {0, 0, 10, 0, 0, 0, 0};
  session_.charts.doubleChart = true;
  session_.charts.second.name = std::string(ws::KindName(ws::ChartKind::kSymbolicDirection));
  session_.charts.second.local = {2020, 1, 1, 12, 0, 0};
  CMainFrame& frame = Frame();
  frame.RunCommand(CommandId::kStepShift);
  const double before = session_.charts.second.objects[ws::kSlotSun].longitude;
  QTest::keyClick(frame.View(), Qt::Key_Right);
  EXPECT_NE(session_.charts.second.objects[ws::kSlotSun].longitude, before);
}

TEST_F(MainFrameTest, ThePartsThatTakeOverCommandsPlugIntoTheFrame) {
  CMainFrame& frame = Frame();
  EXPECT_FALSE(FindAction(frame.menuBar()->actions(), {"Команды", "Текст интерпретации"}));
  int opened = 0;
  frame.Services().interpretationListsTexts = [] { return true; };
  frame.Services().interpretation = [&opened] { ++opened; };
  frame.RunCommand(CommandId::kPlanetDegrees);
  ASSERT_TRUE(Trigger("Команды/Текст интерпретации"));
  EXPECT_EQ(opened, 1);
  EXPECT_TRUE(boxes_.texts.empty());
}

TEST_F(MainFrameTest, SavingThePictureWritesEachFormat) {
  CMainFrame& frame = Frame();
  frame.resize(480, 520);
  for (const char* name : {"wheel.png", "wheel.svg", "wheel.pdf"}) {
    const fs::path file = dir_ / name;
    EXPECT_TRUE(frame.SavePicture(ToQt(file.string())));
    EXPECT_GT(fs::file_size(file), 100u) << name;
  }
  const QImage png(ToQt((dir_ / "wheel.png").string()));
  EXPECT_EQ(png.size(), frame.View()->size());
  EXPECT_FALSE(frame.SavePicture(ToQt((dir_ / "missing" / "w.png").string())));
}

TEST_F(MainFrameTest, ClosingAModifiedChartAsksAndWritesTheSettings) {
  session_.modified = true;
  session_.settings.stepShift = true;
  CMainFrame& frame = Frame();
  boxes_.answer = false;
  EXPECT_TRUE(frame.close());
  EXPECT_EQ(boxes_.texts, std::vector<std::string>{"Сохранить изменения в «Иван»?"});
  EXPECT_TRUE(LoadSettings(profile_).stepShift);
  EXPECT_FALSE(frame.Clock().IsRunning());
}

TEST_F(MainFrameTest, AFailedSaveAtExitKeepsTheWindowOpen) {
  session_.modified = true;
  CMainFrame& frame = Frame();
  frame.SetFileChooser([this](bool, const std::string&) { return std::optional((dir_ / "no" / "x.kvd").string()); });
  boxes_.answer = true;
  EXPECT_FALSE(frame.close());
  EXPECT_TRUE(session_.modified);
}

TEST_F(MainFrameTest, TheDoubleChartButtonRestoresTheSecondChartAcrossAMergedChart) {
  session_.charts.doubleChart = true;
  session_.charts.second = Person("Мария", {1990, 3, 1, 8, 0, 0}, 3.0);
  session_.charts.second.filePath = "/charts/maria.kvd";
  CMainFrame& frame = Frame();
  const auto pressDoubleCharts = [&frame] {
    QAction* button = FindAction(frame.findChild<QToolBar*>()->actions(), {"Двойные карты"});
    ASSERT_TRUE(button);
    button->trigger();
  };
  pressDoubleCharts();
  EXPECT_EQ(session_.charts.second.name, "");
  pressDoubleCharts();
  EXPECT_EQ(session_.charts.second.name, "Мария");
  ASSERT_TRUE(Trigger("Команды/Средняя карта"));
  EXPECT_TRUE(ws::IsMidpointName(session_.charts.main.name));
  EXPECT_EQ(frame.windowTitle(), "Ср.карта (Иван + Мария) — Кельвара[*]");
  ASSERT_TRUE(Trigger("Команды/Средняя карта"));
  EXPECT_EQ(session_.charts.main.name, "Иван");
  EXPECT_EQ(session_.charts.second.name, "Мария");
  EXPECT_EQ(session_.charts.second.filePath, "/charts/maria.kvd");
}

TEST_F(MainFrameTest, SwitchesModeAndTheDocumentComeBackAfterARestart) {
  // The start deletes the scratch file of the current directory: make it the case's own.
  const fs::path previousFolder = fs::current_path();
  fs::current_path(dir_.Path());
  CMainFrame& frame = Frame();
  const std::string document = (dir_ / "Иван.kvd").string();
  frame.SetFileChooser([document](bool, const std::string&) { return std::optional(document); });
  frame.RunCommand(CommandId::kSaveDocument);
  frame.RunCommand(CommandId::kStepShift);
  frame.RunCommand(CommandId::kPlanetDegrees);
  frame.RunCommand(CommandId::kEventMap);
  ASSERT_TRUE(frame.close());

  Session next;
  StartUp({&profile_, nullptr, {dir_ / "state", dir_ / "fonts", dir_ / "card"}, session_.dataPrefix, ""}, next);
  ReopenLastDocuments(next, SessionChartServices(next, sky_, &clock_, nullptr, nullptr));
  EXPECT_EQ(next.displayMode, DisplayMode::kEventMap);
  EXPECT_TRUE(next.settings.stepShift && next.settings.degreesShown);
  EXPECT_EQ(next.charts.main.name, "Иван");
  EXPECT_EQ(next.charts.main.local, session_.charts.main.local);
  fs::current_path(previousFolder);
}

// The view's picture of a fixed chart, drawn as the window draws it.
TEST_F(MainFrameTest, TheWheelMatchesItsGoldenImage) {
  platform::RegisterFontFiles(std::filesystem::path(KELVARA_SOURCE_DIR) / "data" / "fonts");
  session_.charts.main.placeName = "Москва";
  CMainFrame& frame = Frame();
  QImage image(480, 560, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::TextAntialiasing);
  platform::QtCanvas canvas(painter);
  frame.View()->DrawPicture(canvas, MetricsForSize(image.width(), image.height()));
  painter.end();
  std::string why;
  EXPECT_TRUE(platform::testing::MatchesGolden(image, std::string(KELVARA_SOURCE_DIR) + "/app/qt/tests/data/wheel.png", &why))
      << why;
  // A changed chart is a changed picture.
  session_.charts.main.objects[1].SetLongitude(200.0);
  QImage changed(image.size(), QImage::Format_RGB32);
  changed.fill(Qt::white);
  QPainter again(&changed);
  platform::QtCanvas changedCanvas(again);
  frame.View()->DrawPicture(changedCanvas, MetricsForSize(image.width(), image.height()));
  again.end();
  EXPECT_GT(platform::testing::CompareImages(changed, image).differingShare, 0.0);
}

// The stylus on the real view: a dragged glyph keeps its new place, a short tap puts
// the view in information mode, sideways swipes open the position tables.
TEST_F(MainFrameTest, TheWheelTakesDragsTapsAndSwipes) {
  CMainFrame& frame = Frame();
  CKelvaraCView* view = frame.View();
  view->repaint();
  auto* wheel = dynamic_cast<WheelPicture*>(PictureOfMode(frame.Pictures(), DisplayMode::kWheel).Stylus());
  ASSERT_TRUE(wheel);
  const auto sun = std::find_if(wheel->Hits().glyphs.begin(), wheel->Hits().glyphs.end(),
                                [](const display::GlyphHit& hit) { return hit.slot == ws::kSlotSun; });
  ASSERT_NE(sun, wheel->Hits().glyphs.end());
  const QPoint from(sun->square.Center().x, sun->square.Center().y);
  const QPoint to = from + QPoint(15, 25);
  DragOnView(view, from, to);
  EXPECT_NE(session_.charts.main.objects[ws::kSlotSun].display.angleDeg, ws::kNoDisplayAngle);
  view->repaint();
  const auto moved = std::find_if(wheel->Hits().glyphs.begin(), wheel->Hits().glyphs.end(),
                                  [](const display::GlyphHit& hit) { return hit.slot == ws::kSlotSun; });
  EXPECT_LE(std::abs(moved->square.Center().x - to.x()) + std::abs(moved->square.Center().y - to.y()), 2);

  QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(5, 5));  // a tap: information mode
  EXPECT_EQ(view->Stylus().Mode(), display::GestureMode::kInformation);
  QTest::mouseClick(view, Qt::LeftButton, {}, to);
  ASSERT_TRUE(view->InformationWindow());
  EXPECT_TRUE(view->InformationWindow()->text().startsWith(ToQt("Солнце ")));
  const QRect inside = view->InformationWindow()->geometry();
  EXPECT_TRUE(view->rect().contains(inside));
  QTest::keyClick(view, Qt::Key_Escape);
  EXPECT_FALSE(view->InformationWindow());

  QTest::mousePress(view, Qt::LeftButton, {}, QPoint(20, 20));
  QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(101, 20));  // 81 pixels right
  QApplication::processEvents();
  auto* table = frame.findChild<PositionTableWindow*>("positionTable");
  ASSERT_TRUE(table);
  EXPECT_EQ(table->windowTitle(), ToQt("Иван"));
  EXPECT_GT(table->Model().RowCount(), 10);
  table->close();

  QWheelEvent turn(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), {}, {0, 120}, Qt::NoButton,
                   Qt::ShiftModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(view, &turn);
  EXPECT_EQ(wheel->TurnDeg(), 10);
  QTest::keyClick(view, Qt::Key_Home);
  EXPECT_EQ(wheel->TurnDeg(), 0);
}

// One table a chart, opened by a swipe or Ctrl+T, following its chart, closing with it,
// keeping its sort and handing a cell's text request on.
TEST_F(MainFrameTest, ThePositionTablesFollowTheirChartsAndAskForTexts) {
  session_.charts.doubleChart = true;
  session_.charts.second = Person("Мария", {1990, 3, 1, 8, 0, 0}, 3.0);
  CMainFrame& frame = Frame();
  std::vector<std::string> requests;
  frame.SetTextRequester([&requests](const std::string& request) { requests.push_back(request); });
  CKelvaraCView* view = frame.View();
  const auto swipe = [view](int dx) {
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(200, 20));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(200 + dx, 20));
    QApplication::processEvents();
  };
  const auto pressDoubleCharts = [&frame] {
    FindAction(frame.findChild<QToolBar*>()->actions(), {"Двойные карты"})->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  };
  QTest::keyClick(&frame, Qt::Key_T, Qt::ControlModifier);
  PositionTableWindow* first = frame.PositionTable(1);
  ASSERT_TRUE(first && first->isVisible());
  swipe(81);
  EXPECT_EQ(frame.PositionTable(1), first) << "opening again raises the same window";
  swipe(-81);
  ASSERT_TRUE(frame.PositionTable(2));
  EXPECT_EQ(frame.PositionTable(2)->windowTitle(), ToQt("Мария"));
  pressDoubleCharts();
  EXPECT_FALSE(frame.PositionTable(2)) << "its chart has gone";
  swipe(-81);
  EXPECT_FALSE(frame.PositionTable(2)) << "the left swipe opens nothing without a double chart";
  ASSERT_EQ(frame.PositionTable(1), first);

  session_.charts.main.local = {2001, 1, 1, 12, 0, 0};
  frame.ShowCharts();
  const display::PositionTableModel& model = first->Model();
  int sun = 0;
  while (model.Facts(sun).slot != ws::kSlotSun) ++sun;
  EXPECT_EQ(model.Cell(sun, display::kPlaceColumn).text,
            ws::SignArcText(ws::RoundedSignArc(session_.charts.main.objects[ws::kSlotSun].longitude)));

  session_.charts.main.objects[ws::kSlotSun].SetLongitude(29.6);
  ASSERT_TRUE(Trigger("Команды/Настроить/Планеты с градусами"));  // redraws, computes nothing
  platform::CALXGridCtrl* grid = first->Grid();
  QHeaderView* header = grid->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(display::kDegreeColumn) + 4, header->height() / 2));
  EXPECT_EQ(session_.settings.positionSort, display::kDegreeColumn + 1);
  const std::vector<int>& shown = grid->Items()->Order().ModelRows();
  const int shownSun = int(std::find(shown.begin(), shown.end(), sun) - shown.begin());
  EXPECT_EQ(shownSun, int(shown.size()) - 1) << "the 30th degree sorts last";
  grid->setCurrentIndex(grid->model()->index(shownSun, display::kDegreeColumn));
  QTest::keyClick(grid, Qt::Key_Return);
  EXPECT_EQ(requests, (std::vector<std::string>{"30-й градус Овна"}));

  const fs::path csv = dir_ / "positions.csv";
  grid->SetCsvFileChooser([&csv](const std::string&, QWidget*) { return std::optional(csv.string()); });
  first->SaveCsv();
  const auto written = platform::ReadFileBytes(csv);
  ASSERT_TRUE(written);
  EXPECT_EQ(written->rfind("Объект,Знак,Положение", 0), 0u) << "no glyph column: " << *written;
}

TEST_F(MainFrameTest, APositionTableFollowsTheNowClocksRounds) {
  session_.charts.main.name = "Сейчас";
  CMainFrame& frame = Frame();
  ws::ObjectTable& objects = session_.charts.main.objects;
  objects[ws::kSlotSun].SetLongitude(123.0);  // until a round puts the present Sun back
  session_.charts.main.local = {};
  frame.OpenPositionTable(1);
  ASSERT_TRUE(QTest::qWaitFor([this] { return session_.charts.main.local.year == 2024; }, kPatienceMs));
  const display::PositionTableModel& model = frame.PositionTable(1)->Model();
  int sun = 0;
  while (model.Facts(sun).slot != ws::kSlotSun) ++sun;
  EXPECT_NE(objects[ws::kSlotSun].longitude, 123.0);
  EXPECT_EQ(model.Cell(sun, display::kPlaceColumn).text,
            ws::SignArcText(ws::RoundedSignArc(objects[ws::kSlotSun].longitude)));
  frame.RunCommand(CommandId::kStopNow);
}

// The chains picture on the real view: a kind key switches to it, the chains submenu
// checks the kind, a dragged glyph stays where it was dropped for its kind only.
TEST_F(MainFrameTest, TheChainsPictureKeepsAGlyphDraggedByHandForItsKind) {
  using interpretation::ChainPlace;
  CMainFrame& frame = Frame();
  CKelvaraCView* view = frame.View();
  QTest::keyClick(&frame, Qt::Key_2, Qt::ControlModifier);
  EXPECT_EQ(session_.displayMode, DisplayMode::kChains);
  EXPECT_EQ(session_.chainKind, ChainKind::kExaltation);
  EXPECT_TRUE(session_.settings.viewSoul && !session_.settings.viewCircle && !session_.settings.viewTransit);
  ASSERT_TRUE(Trigger("Команды/Планетарные цепочки/по управлению"));
  EXPECT_TRUE(FindAction(frame.menuBar()->actions(), {"Команды", "Планетарные цепочки", "по управлению"})->isChecked());
  EXPECT_FALSE(FindAction(frame.menuBar()->actions(), {"Команды", "Планетарные цепочки", "по экзальтации"})->isChecked());

  view->repaint();
  auto* chains = dynamic_cast<ChainsPicture*>(PictureOfMode(frame.Pictures(), DisplayMode::kChains).Stylus());
  ASSERT_TRUE(chains);
  const auto squareOf = [chains](int object) {
    for (const interpretation::ChainGlyph& glyph : chains->Drawing().glyphs) {
      if (glyph.object == object) return QRect(glyph.square.left, glyph.square.top, glyph.square.Width(), glyph.square.Height());
    }
    return QRect();
  };
  const interpretation::ChainDrawing& drawing = chains->Drawing();
  const QPoint centre(drawing.centre.x, drawing.centre.y);
  const QPoint above = centre - QPoint(0, drawing.pictureSide / 4);
  ASSERT_FALSE(squareOf(ws::kSlotSun).isNull());
  DragOnView(view, squareOf(ws::kSlotSun).center(), above);
  const ChainPlace& sun = session_.mainChainLayout.At(ChainKind::kRulership, ws::kSlotSun);
  EXPECT_NEAR(sun.angleDeg, 270.0, 1e-9) << "straight above the centre, y growing downwards";
  EXPECT_NEAR(sun.fraction, 0.5, 0.01);
  view->repaint();
  EXPECT_LE((squareOf(ws::kSlotSun).center() - above).manhattanLength(), 2);
  EXPECT_FALSE(session_.modified) << "the places are not part of the document";

  DragOnView(view, squareOf(ws::kSlotSun).center(), centre);
  EXPECT_NEAR(sun.angleDeg, 270.0, 1e-9) << "the centre has no direction: the glyph stays";
  DragOnView(view, squareOf(ws::kSlotMoon).center(), QPoint(view->width() + 300, centre.y()));
  const ChainPlace& moon = session_.mainChainLayout.At(ChainKind::kRulership, ws::kSlotMoon);
  EXPECT_NEAR(moon.angleDeg, 0.0, 0.5);
  EXPECT_NEAR(moon.fraction, (view->width() - 1 - centre.x()) / (drawing.pictureSide / 2.0), 0.01) << "kept in the view";

  const ChainPlace dragged = sun;
  ASSERT_TRUE(Trigger("Команды/Планетарные цепочки/по экзальтации"));
  view->repaint();
  EXPECT_FALSE(session_.mainChainLayout.Kept(ChainKind::kExaltation));
  EXPECT_NE(session_.mainChainLayout.At(ChainKind::kExaltation, ws::kSlotSun), dragged);
  ASSERT_TRUE(Trigger("Команды/Планетарные цепочки/по управлению"));
  EXPECT_EQ(session_.mainChainLayout.At(ChainKind::kRulership, ws::kSlotSun), dragged);

  QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(5, 5));  // information mode
  view->repaint();
  QTest::mouseClick(view, Qt::LeftButton, {}, squareOf(ws::kSlotSun).center());
  ASSERT_TRUE(view->InformationWindow());
  EXPECT_TRUE(view->InformationWindow()->text().startsWith(ToQt("Солнце ")));
  EXPECT_TRUE(view->InformationWindow()->text().contains(ToQt(kDispositorsCaption)));
}

// A picture with one object to place says so once, after it is painted.
TEST_F(MainFrameTest, ALayoutWithNothingToPlaceAgainstIsToldOnce) {
  for (int slot = interpretation::kFirstChainObject; slot <= interpretation::kLastChainObject; ++slot) {
    ActiveObjectSettings(session_, 1)[slot].visible = slot == ws::kSlotMoon;
  }
  CMainFrame& frame = Frame();
  ASSERT_TRUE(Trigger("Формула Души"));
  for (int paint = 0; paint < 3; ++paint) {
    frame.View()->repaint();
    QApplication::processEvents();
  }
  EXPECT_EQ(boxes_.texts, std::vector<std::string>{std::string(interpretation::kLayoutFailedText)});
}

TEST_F(MainFrameTest, TheTraditionCommandHidesTheFiveObjectsOfTheAvestanTables) {
  CMainFrame& frame = Frame();
  ASSERT_TRUE(Trigger("Команды/Настроить/Внешний вид/Авестийская традиция"));
  EXPECT_EQ(session_.dignityTables, DefaultDignityTables(Tradition::kAvestan));
  EXPECT_EQ(session_.charts.main.objects[ws::kSlotProserpina].visible, 1);
  ASSERT_TRUE(Trigger("Команды/Настроить/Внешний вид/Западная традиция"));
  EXPECT_EQ(session_.dignityTables, DefaultDignityTables(Tradition::kWestern));
  for (int slot : interpretation::kAvestanSlots) EXPECT_EQ(session_.charts.main.objects[slot].visible, 0) << slot;
  EXPECT_FALSE(FindAction(frame.menuBar()->actions(), {"Команды", "Настроить", "Внешний вид", "Западная традиция"}))
      << "only the tradition not in use is offered";
}

// A refused ephemeris file is told in a box once, after the charts it spoiled.
TEST_F(MainFrameTest, ADamagedEphemerisFileIsToldOnce) {
  CMainFrame& frame = Frame();
  boxes_.texts.clear();
  engine::ReportDamagedEphemerisFile((dir_ / "data" / "_25").string(), "_25");
  frame.ShowCharts();
  frame.ShowCharts();
  EXPECT_EQ(boxes_.texts, std::vector<std::string>{std::string(kEphemerisDamaged) + "_25"});
}

// Without an off-screen picture the view says so once, until a picture can be made again.
TEST_F(MainFrameTest, AViewThatCannotMakeItsPictureSaysSoOnce) {
  CMainFrame& frame = Frame();
  QApplication::processEvents();
  boxes_.texts.clear();
  frame.View()->SetImageFactory([](QSize) { return QImage(); });
  frame.View()->repaint();
  frame.View()->repaint();
  QApplication::processEvents();
  EXPECT_EQ(boxes_.texts, std::vector<std::string>{kGraphicsResourcesShort});
}

// Copy puts the picture on the clipboard; printing paints it onto a page.
TEST_F(MainFrameTest, TheWheelIsCopiedAndPrinted) {
  CMainFrame& frame = Frame();
  QApplication::clipboard()->clear();
  QTest::keyClick(frame.View(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->image().size(), frame.View()->size());
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  const fs::path pdf = dir_ / "wheel.pdf";
  printer.setOutputFileName(ToQt(pdf.string()));
  ASSERT_TRUE(frame.View()->PrintPicture(printer));
  EXPECT_GT(fs::file_size(pdf), 1000u);
}

// The clock of today's chart ticks every second; another day's chart has none.
TEST_F(MainFrameTest, TheClockTicksOnlyForTodaysChart) {
  session_.settings.clock = true;
  CMainFrame& frame = Frame();
  frame.View()->repaint();
  EXPECT_FALSE(frame.View()->ClockTicking());
  const platform::DateTime now = clock_.LocalNow();
  session_.charts.main.local = {now.Year(), now.Month(), now.Day(), 10, 0, 0};
  frame.View()->repaint();
  EXPECT_TRUE(frame.View()->ClockTicking());
}

// The event map on the real view: today's dial, a tap on an arc shows its events, the
// arrow keys change the day, "Список аспектов" lists the day's events, "Часы сего дня"
// puts the clock over today's dial, and a resized view draws a resized dial.
TEST_F(MainFrameTest, TheEventMapShowsTheDaysTransitsAndAnswersTheUser) {
  session_.settings.clock = false;
  CMainFrame& frame = Frame();
  CKelvaraCView* view = frame.View();
  ASSERT_TRUE(Trigger("Команды/Карта событий"));
  view->repaint();
  auto& map = static_cast<EventMapPicture&>(*frame.Pictures().eventMap);
  EXPECT_EQ(map.Caption(), "Карта событий 01.03.2024, Москва");
  ASSERT_TRUE(map.Lists());
  ASSERT_FALSE(map.Drawn().arcs.empty()) << "the fast Moon makes aspects every day";

  const eventmap::ArcRegion& arc = map.Drawn().arcs.front();
  const platform::Point middle = eventmap::DialPoint(map.Drawn().geometry.centre, (arc.startHour + arc.endHour) / 2,
                                                     (arc.outerRadius + arc.innerRadius) / 2.0);
  QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(middle.x, middle.y));
  ASSERT_TRUE(view->InformationWindow());
  EXPECT_TRUE(view->InformationWindow()->text().contains(ToQt(eventmap::EventPairText(arc.event))));
  QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(map.Drawn().geometry.centre.x, map.Drawn().geometry.centre.y));
  EXPECT_FALSE(view->InformationWindow()) << "the hub holds no event";

  QTest::keyClick(view, Qt::Key_Right);
  view->repaint();
  EXPECT_EQ(map.Caption(), "Карта событий 02.03.2024, Москва");
  QTest::keyClick(view, Qt::Key_Left);
  QTest::keyClick(view, Qt::Key_Left);
  view->repaint();
  EXPECT_EQ(map.Caption(), "Карта событий 29.02.2024, Москва");
  QTest::keyClick(view, Qt::Key_Home);
  view->repaint();
  EXPECT_EQ(map.Caption(), "Карта событий 01.03.2024, Москва");

  // The date field opens on the day shown; the arrows then step from the day picked.
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<MapDayDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      ADD_FAILURE() << "no date field open";
      return;
    }
    EXPECT_EQ(dialog->DateField()->date(), QDate(2024, 3, 1));
    dialog->DateField()->setDate(QDate(2031, 6, 15));
    dialog->accept();
  });
  QTest::keyClick(view, Qt::Key_G, Qt::ControlModifier);
  QApplication::setActiveWindow(&frame);  // as the window manager does once the dialog is gone
  QTest::keyClick(view, Qt::Key_Right);
  view->repaint();
  EXPECT_EQ(map.Caption(), "Карта событий 16.06.2031, Москва");
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<MapDayDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      ADD_FAILURE() << "no date field open";
      return;
    }
    dialog->DateField()->setDate(QDate(2200, 1, 1));
    EXPECT_EQ(dialog->Day().year, 2130) << "a day the scan cannot cover is not offered";
    dialog->reject();
  });
  QTest::keyClick(view, Qt::Key_G, Qt::ControlModifier);
  view->repaint();
  EXPECT_EQ(map.Caption(), "Карта событий 16.06.2031, Москва");
  QApplication::setActiveWindow(&frame);
  QTest::keyClick(view, Qt::Key_Home);
  view->repaint();

  ASSERT_TRUE(Trigger("Команды/Список аспектов"));
  auto* list = frame.findChild<AspectListDialog*>("aspectList");
  ASSERT_TRUE(list);
  const double dayStart = ws::HoursSince1860({2024, 3, 1});
  int exactOfTheDay = 0;
  for (const eventmap::EventRecord& event : map.Lists()->exact) {
    exactOfTheDay += !event.IsHidden() && event.culminationHours >= dayStart && event.culminationHours < dayStart + 24;
  }
  const QAbstractItemModel& shown = *list->Grid()->model();
  int exactRows = 0;
  for (int row = 0; row < shown.rowCount(); ++row) {
    exactRows += shown.index(row, 0).data().toString() == ToQt(eventmap::kKindExact);
  }
  EXPECT_EQ(exactRows, exactOfTheDay);
  EXPECT_GT(exactRows, 0);
  const std::string gridCsv = list->Grid()->ToCsv();
  EXPECT_EQ(gridCsv.substr(0, gridCsv.find('\r')), "Вид,Транзит,Аспект,К точке,Вход,Точный,Выход");
  EXPECT_EQ(list->Csv().rfind("kind,moving,aspect,base,entry,exact,exit\r\n", 0), 0u) << "the buttons' form";
  list->close();

  ASSERT_TRUE(Trigger("Команды/Настроить/Часы сего дня"));
  EXPECT_TRUE(session_.settings.clock);
  EXPECT_TRUE(FindAction(frame.menuBar()->actions(), {"Команды", "Настроить", "Часы сего дня"})->isChecked());
  view->repaint();
  EXPECT_TRUE(view->ClockTicking());
  QTest::keyClick(view, Qt::Key_Right);
  view->repaint();
  EXPECT_FALSE(view->ClockTicking()) << "only today's dial has the clock";

  const int outer = map.Drawn().geometry.outer;
  view->resize(view->width() / 2, view->height() / 2);
  view->repaint();
  EXPECT_LT(map.Drawn().geometry.outer, outer);
}

// The program itself, as a user starts it.
class KelvaraProcess : public ::testing::Test {
 protected:
  KelvaraProcess() {
    platform::testing::TestApplication();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
    environment.insert("KELVARA_REGISTRY", ToQt((dir_ / "registry.db").string()));
    environment.insert("XDG_STATE_HOME", ToQt((dir_ / "state").string()));
    environment.insert("XDG_DATA_HOME", ToQt((dir_ / "share").string()));
    environment.insert("XDG_RUNTIME_DIR", ToQt(dir_.Path().string()));
    process_.setProcessEnvironment(environment);
  }
  int Run(const QStringList& arguments) {
    process_.start(ToQt(std::string(KELVARA_BIN_DIR) + "/kelvara"), arguments);
    EXPECT_TRUE(process_.waitForFinished(60000));
    return process_.exitCode();
  }

  platform::test_support::ScratchDir dir_;
  QProcess process_;
};

TEST_F(KelvaraProcess, WithoutADisplayItSaysSoAndEnds) {
  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(QString::fromUtf8(process_.readAllStandardError()).trimmed(), ToQt(kNoDisplayMessage));
}

TEST_F(KelvaraProcess, AScreenshotPaintsTheWindowOnceAndEnds) {
  const std::string file = (dir_ / "shot.png").string();
  EXPECT_EQ(Run({"--screenshot", ToQt(file), "--size", "500x560"}), 0) << process_.readAllStandardError().data();
  const QImage image(ToQt(file));
  EXPECT_EQ(image.size(), QSize(500, 560));
  EXPECT_EQ(Run({"--screenshot", ToQt(file), "--mode", "spiral"}), 2);
}

}  // namespace
}  // namespace kelvara::app
