#include "app/qt/interpretation_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "app/qt/message_boxes.h"
#include "app/qt/qt_text.h"
#include "app/qt/section_dialog.h"
#include "app/wheel_picture.h"
#include "interpretation/interpret.h"
#include "platform/codepage.h"
#include "platform/qt/tests/qt_test_application.h"
#include "platform/qt/text_viewer.h"
#include "platform/tests/scratch_dir.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::app {
namespace {

namespace fs = std::filesystem;
namespace ws = workspace;
using platform::TextViewer;

void Write(const fs::path& path, std::string_view utf8) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << platform::Utf8ToCp1251(utf8);
}

void WriteSection(const fs::path& folder, std::string_view name, std::string_view file, std::string_view text) {
  Write(folder / "Name.thm", name);
  Write(folder / "List.fls", std::string(file) + "; ON\r\n");
  Write(folder / file, text);
}

// The window over a scratch library: the program's "TXT_ST" and the user's beside it.
class InterpretationWindowTest : public ::testing::Test {
 protected:
  InterpretationWindowTest() {
    platform::testing::TestApplication();
    if (const char* old = std::getenv("XDG_DATA_HOME")) oldDataHome_ = old;
    setenv("XDG_DATA_HOME", (dir_ / "user").c_str(), 1);
    session_.dataPrefix = (dir_.Path() / "").string();
    session_.textFolder = (dir_ / "TXT_ST/").string();
    session_.charts.main = ws::testing::Person("Иван", {1985, 7, 12, 14, 5, 0}, 4.0);
    SetBoxAnswerer([this](BoxKind, const std::string& text) {
      boxes_.push_back(text);
      return true;
    });
  }
  ~InterpretationWindowTest() override {
    SetBoxAnswerer(nullptr);
    if (oldDataHome_) setenv("XDG_DATA_HOME", oldDataHome_->c_str(), 1);
    else unsetenv("XDG_DATA_HOME");
  }

  CMainFrame& Frame(const fs::path& temporaryFile) {
    frame_ = std::make_unique<CMainFrame>(session_, FrameServices{sky_, &clock_, nullptr, "registry.db"});
    InstallInterpretationTexts(*frame_, session_, temporaryFile);
    frame_->ShowCharts();
    frame_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
    return *frame_;
  }
  QAction* TextCommand() const {
    for (QAction* action : frame_->menuBar()->actions().at(1)->menu()->actions())
      if (action->text() == "Текст интерпретации") return action;
    return nullptr;
  }
  std::vector<TextViewer*> Viewers() const {
    std::vector<TextViewer*> open;
    for (TextViewer* viewer : frame_->findChildren<TextViewer*>())
      if (viewer->isVisible()) open.push_back(viewer);
    return open;
  }
  fs::path Temporary() const { return dir_ / "kelvara_tmp.txt"; }

  platform::test_support::ScratchDir dir_;
  Session session_;
  ws::testing::FakeSky sky_;
  ws::testing::FixedClock clock_{platform::TimeZoneInfo{true, -180, 0, false, "MSK", "MSK"}};
  std::unique_ptr<CMainFrame> frame_;
  std::vector<std::string> boxes_;
  std::optional<std::string> oldDataHome_;
};

// Answers the section dialog once it is up: the names it offers, then OK on `index` or Cancel.
void AnswerSectionDialog(QStringList& offered, std::optional<int> index) {
  QTimer::singleShot(0, [&offered, index] {
    auto* dialog = qobject_cast<SectionDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    for (int i = 0; i < dialog->Sections()->count(); ++i) offered << dialog->Sections()->itemText(i);
    if (!index) return dialog->reject();
    dialog->Sections()->setCurrentIndex(*index);
    dialog->accept();
  });
}

TEST_F(InterpretationWindowTest, TheCommandAsksForASectionAndOpensAViewerForEach) {
  Frame(Temporary());
  EXPECT_FALSE(TextCommand()) << "no library, no command";
  WriteSection(dir_ / "user/kelvara/TXT_ST/NT/basics", "Основы", "PL_ZS.TXT", "");
  frame_->ShowCharts();
  ASSERT_TRUE(TextCommand());

  QStringList offered;
  AnswerSectionDialog(offered, std::nullopt);
  TextCommand()->trigger();
  EXPECT_EQ(offered, (QStringList{"Кельвара", "Основы"}));
  EXPECT_FALSE(fs::exists(Temporary())) << "Отмена writes nothing";
  EXPECT_TRUE(Viewers().empty());

  for (int round = 0; round < 2; ++round) {
    AnswerSectionDialog(offered, 1);
    TextCommand()->trigger();
  }
  const std::vector<TextViewer*> viewers = Viewers();
  ASSERT_EQ(viewers.size(), 2u) << ::testing::PrintToString(boxes_);
  EXPECT_EQ(viewers[0]->windowTitle(), "Основы — Иван");
  EXPECT_TRUE(viewers[0]->ShownText().startsWith("Тематический раздел: \"Основы\" (Натал)\n\n"))
      << viewers[0]->ShownText().toStdString();
  EXPECT_EQ(viewers[1]->SaveSuggestion().filename(), "Иван — Основы.txt");
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(InterpretationWindowTest, ADegreeCellOpensItsOnlySectionWithoutTheDialog) {
  WriteSection(dir_ / "TXT_ST/Degrees/symbols", "Символы", "DEGREES.TXT",
               "#30-й градус Овна\r\nПоследний градус Овна.\r\n");
  Frame(Temporary());
  frame_->OpenPositionTable(1);
  PositionTableWindow* table = frame_->PositionTable(1);
  ASSERT_TRUE(table);
  session_.charts.main.objects[ws::kSlotSun].SetLongitude(29.6);
  frame_->RunCommand(CommandId::kPlanetDegrees);  // redraws the table, computes nothing
  const display::PositionTableModel& model = table->Model();
  int sun = 0;
  while (model.Facts(sun).slot != ws::kSlotSun) ++sun;
  platform::CALXGridCtrl* grid = table->Grid();
  const std::vector<int>& shown = grid->Items()->Order().ModelRows();
  const int row = int(std::find(shown.begin(), shown.end(), sun) - shown.begin());
  grid->setCurrentIndex(grid->model()->index(row, display::kDegreeColumn));
  QTest::keyClick(grid, Qt::Key_Return);
  const std::vector<TextViewer*> viewers = Viewers();
  ASSERT_EQ(viewers.size(), 1u) << ::testing::PrintToString(boxes_);
  EXPECT_EQ(viewers[0]->windowTitle(), "Символы — Иван");
  EXPECT_TRUE(viewers[0]->ShownText().contains("Последний градус Овна."));
}

TEST_F(InterpretationWindowTest, ABusyTemporaryFileIsReportedAndOpensNothing) {
  WriteSection(dir_ / "TXT_ST/NT/basics", "Основы", "PL_ZS.TXT", "");
  Frame(dir_ / "no-such-folder/kelvara_tmp.txt");
  ASSERT_TRUE(TextCommand());
  TextCommand()->trigger();
  EXPECT_EQ(boxes_, std::vector<std::string>{std::string(interpretation::kFileBusyMessage)});
  EXPECT_TRUE(Viewers().empty());
}

TEST_F(InterpretationWindowTest, ATapOnAHexagramShowsItsShortText) {
  WriteSection(dir_ / "TXT_ST/IChing/classic", "Классика", "ICHING.TXT", "");
  session_.settings.iChing = true;
  Frame(Temporary());
  frame_->View()->repaint();  // the hexagrams' places are those of the last paint
  auto* wheel = dynamic_cast<WheelPicture*>(PictureOfMode(frame_->Pictures(), DisplayMode::kWheel).Stylus());
  ASSERT_TRUE(wheel && !wheel->Hits().hexagrams.empty());
  const display::HexagramHit& hit = wheel->Hits().hexagrams.front();
  ASSERT_GT(hit.number, 0);
  Write(dir_ / "TXT_ST/IChing/classic/ICHING.TXT",
        "#" + std::to_string(hit.number) + "\r\nНомер\r\nНазвание\r\nСуть гексаграммы.\r\n");
  const QPoint centre((hit.rect.left + hit.rect.right) / 2, (hit.rect.top + hit.rect.bottom) / 2);
  QTest::mousePress(frame_->View(), Qt::LeftButton, {}, centre);
  QTest::mouseRelease(frame_->View(), Qt::LeftButton, {}, centre);
  QLabel* window = frame_->View()->InformationWindow();
  ASSERT_TRUE(window) << ::testing::PrintToString(boxes_);
  EXPECT_TRUE(window->text().startsWith("<b>Название</b>")) << window->text().toStdString();
  EXPECT_EQ(session_.settings.iChingFolder, "IChing/classic");
}

}  // namespace
}  // namespace kelvara::app
