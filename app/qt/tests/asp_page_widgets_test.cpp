// The aspect pages driven through their grids' keys, offscreen.
#include "app/qt/asp_page_widgets.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/qt/tests/place_dialog_support.h"
#include "app/session.h"
#include "platform/qt/pen_style_picker.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;
constexpr int kTrine = 1;
constexpr int kSextile = 2;
constexpr platform::Color kChosen{0, 128, 0};

template <typename Editor>
Editor* OpenEditor(const QWidget& grid) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  for (Editor* editor : grid.findChildren<Editor*>()) {
    if (editor->isVisible()) return editor;
  }
  return nullptr;
}

bool Shows(const QImage& image, platform::Color colour) {
  const QRgb wanted = qRgb(colour.red, colour.green, colour.blue);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF)) return true;
    }
  }
  return false;
}

class AspectPagesWidgetTest : public ::testing::Test, public testing::ApplicationFirst {
 protected:
  AspectPagesWidgetTest() {
    session_.charts.main = ws::testing::Person("Иван", {1985, 7, 12, 14, 5, 0}, 4.0);
    ws::ComputeChart(session_.charts.main, {sky_, nullptr, nullptr, nullptr, ""});
    list_.Refresh();
    QObject::connect(&page_, &AspectsPageWidget::edited, &list_, &AspectTablePageWidget::Refresh);
    grid().SetColorChooser([](platform::Color, QWidget*) { return std::optional(kChosen); });
    page_.resize(900, 600);
    page_.show();
  }
  platform::CRegGridCtrl& grid() { return page_.AspectGrid(); }
  void GoTo(int row, int column) { grid().setCurrentIndex(grid().model()->index(row, column)); }
  // F2, the text over the old one, Enter.
  void Type(int row, int column, const char* text) {
    GoTo(row, column);
    QTest::keyClick(&grid(), Qt::Key_F2);
    QLineEdit* editor = OpenEditor<QLineEdit>(grid());
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
  }

  testing::RecordedBoxes boxes_;
  ws::testing::FakeSky sky_;
  Session session_;
  AspectTables draft_;
  AspectsPageWidget page_{draft_, kSingleChartTable};
  AspectTablePageWidget list_{[this] { return ShownAspectRows(session_, draft_); }};
};

TEST_F(AspectPagesWidgetTest, KeysEditTheDraftAndTheListFollows) {
  QSignalSpy edits(&page_, &AspectsPageWidget::edited);
  const int listed = list_.Grid().model()->rowCount();
  Type(kTrine, kAspectApplyingOrb, "6,5");
  EXPECT_EQ(draft_.single[kTrine].firstOrbs[ws::kSlotMars], 6.5);
  EXPECT_EQ(page_.OrbGrid().model()->index(ws::kSlotMars, kOrbApplying).data().toString(), QString("6.50"));

  GoTo(kSextile, kAspectEnabled);
  QTest::keyClick(&grid(), Qt::Key_Space);
  EXPECT_FALSE(draft_.single[kSextile].enabled);
  EXPECT_LT(list_.Grid().model()->rowCount(), listed);

  GoTo(kTrine, kAspectColour);
  QTest::keyClick(&grid(), Qt::Key_Return);
  EXPECT_EQ(draft_.single[kTrine].firstColor, kChosen.ToColorRef());

  GoTo(kTrine, kAspectStyle);
  QTest::keyClick(&grid(), Qt::Key_F2);
  auto* styles = OpenEditor<platform::PenStylePicker>(grid());
  ASSERT_NE(styles, nullptr);
  QTest::keyClick(styles, Qt::Key_Down);
  QTest::keyClick(styles, Qt::Key_Down);
  EXPECT_TRUE(Shows(styles->grab().toImage(), kChosen));  // the samples take the row's colour
  QTest::keyClick(styles, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(draft_.single[kTrine].penStyle, kPenDots);
  EXPECT_EQ(edits.count(), 4);
  EXPECT_TRUE(boxes_.texts.empty());

  // The grid's style cell draws its line too, in the row's colour.
  const QRect cell = grid().visualRect(grid().model()->index(kTrine, kAspectStyle));
  EXPECT_TRUE(Shows(grid().viewport()->grab(cell).toImage(), kChosen));
}

TEST_F(AspectPagesWidgetTest, RefusalsAndTheDefaultsQuestionGoThroughTheProgramsBoxes) {
  Type(kTrine, kAspectWidth, "21");
  EXPECT_EQ(boxes_.texts, std::vector<std::string>{"Введите число от 0 до 20"});
  EXPECT_EQ(draft_.single[kTrine].penWidth, 1);

  page_.Model().SeparatingLikeApplying();
  boxes_.answer = false;
  for (QPushButton* button : page_.findChildren<QPushButton*>()) {
    if (button->text() == testing::Q("По умолчанию")) button->click();
  }
  EXPECT_EQ(boxes_.texts.back(), kAspectDefaultsQuestion);
  EXPECT_NE(draft_.single, DefaultSingleChartAspects());
}

}  // namespace
}  // namespace kelvara::app
