// The two grids driven through real key and mouse events, offscreen.
#include "platform/qt/grid_ctrl.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <filesystem>

#include "platform/file_io.h"
#include "platform/qt/tests/qt_test_application.h"

namespace kelvara::platform {
namespace {

constexpr Color kColorRefRed = Color::FromColorRef(0x0000FF);
constexpr Color kGreen{0, 128, 0};
const QColor kShownMark(200, 0, 0);

GridCell Cell(std::string text, std::optional<double> number = std::nullopt) {
  return {std::move(text), number, std::nullopt, std::nullopt};
}

QVariant Shown(const QTableView& grid, int row, int column, int role = Qt::DisplayRole) {
  return grid.model()->index(row, column).data(role);
}

// The editor the grid has open, if any; closed ones are gone once deletions are done.
template <typename Editor>
Editor* OpenEditor(const QWidget& grid) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  for (Editor* editor : grid.findChildren<Editor*>()) {
    if (editor->isVisible()) return editor;
  }
  return nullptr;
}

void ClickHeader(QTableView& grid, int column) {
  QHeaderView* header = grid.horizontalHeader();
  const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
}

class ResultGridTest : public ::testing::Test {
 protected:
  ResultGridTest() {
    GridRow moon{{Cell("Луна"), Cell("100", 100)}, true};
    moon.cells[1].background = kColorRefRed;
    moon.cells[1].textColor = kGreen;
    table_.SetRows({moon, {{Cell("Солнце"), Cell("9", 9)}}, {{Cell("Марс"), Cell("10", 10)}}});
    table_.OnRowActivated([this](int row) { activated_.push_back(row); });
    grid_.SetModel(&table_);
    grid_.resize(kWidth, kHeight);
    grid_.show();
    grid_.setCurrentIndex(grid_.model()->index(0, 0));
  }

  std::vector<QString> Names() const {
    std::vector<QString> names;
    for (int row = 0; row < grid_.model()->rowCount(); ++row) names.push_back(Shown(grid_, row, 0).toString());
    return names;
  }

  static constexpr int kWidth = 400;
  static constexpr int kHeight = 300;
  QApplication& application_ = testing::TestApplication();  // before any widget
  GridTable table_{{"Объект", "Градус"}, {0.5, 0.25}};
  CALXGridCtrl grid_;
  std::vector<int> activated_;
};

TEST_F(ResultGridTest, ArrowsMoveEnterActivatesAndCtrlCCopiesTheSelectedRows) {
  std::vector<int> signalled;
  QObject::connect(&grid_, &CALXGridCtrl::rowActivated, [&](int row) { signalled.push_back(row); });
  QTest::keyClick(&grid_, Qt::Key_Down);
  QTest::keyClick(&grid_, Qt::Key_Down);
  QTest::keyClick(&grid_, Qt::Key_Up);
  QTest::keyClick(&grid_, Qt::Key_Return);
  EXPECT_EQ(activated_, std::vector<int>{1});
  EXPECT_EQ(signalled, std::vector<int>{1});

  QTest::keyClick(&grid_, Qt::Key_Down, Qt::ShiftModifier);
  QTest::keyClick(&grid_, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QString("Солнце\t9\nМарс\t10\n"));

  // Sorted, the shown rows still activate and copy the model's rows.
  ClickHeader(grid_, 1);
  grid_.setCurrentIndex(grid_.model()->index(2, 0));
  QTest::keyClick(&grid_, Qt::Key_Enter);
  EXPECT_EQ(activated_, (std::vector<int>{1, 0}));
  QTest::keyClick(&grid_, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QString("Луна\t100\n"));
  EXPECT_EQ(grid_.ToCsv(), "Объект,Градус\r\nСолнце,9\r\nМарс,10\r\nЛуна,100\r\n");
}

TEST_F(ResultGridTest, HeaderClicksSortByValueThenReverse) {
  ClickHeader(grid_, 1);
  EXPECT_EQ(Names(), (std::vector<QString>{"Солнце", "Марс", "Луна"}));
  EXPECT_EQ(grid_.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
  ClickHeader(grid_, 1);
  EXPECT_EQ(Names(), (std::vector<QString>{"Луна", "Марс", "Солнце"}));
  EXPECT_EQ(grid_.horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);

  // New rows come in sorted; a model that sorts itself is shown as it is.
  table_.SetRows({{{Cell("А"), Cell("1", 1)}}, {{Cell("Я"), Cell("2", 2)}}});
  EXPECT_EQ(Names(), (std::vector<QString>{"Я", "А"}));
  table_.OnHeaderClicked([](int) { return true; });
  ClickHeader(grid_, 0);
  EXPECT_EQ(Names(), (std::vector<QString>{"А", "Я"}));
  EXPECT_FALSE(grid_.horizontalHeader()->isSortIndicatorShown());
}

TEST_F(ResultGridTest, ShowsCellColoursRowMarksAndWidthsFromShares) {
  EXPECT_EQ(Shown(grid_, 0, 1, Qt::BackgroundRole).value<QColor>(), QColor(255, 0, 0));
  EXPECT_EQ(Shown(grid_, 0, 1, Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 0));
  EXPECT_FALSE(Shown(grid_, 1, 1, Qt::BackgroundRole).isValid());

  grid_.clearSelection();
  grid_.setCurrentIndex({});
  const QImage painted = grid_.viewport()->grab().toImage();
  const QRect marked = grid_.visualRect(grid_.model()->index(0, 0));
  const QRect plain = grid_.visualRect(grid_.model()->index(1, 0));
  const QRect red = grid_.visualRect(grid_.model()->index(0, 1));
  EXPECT_EQ(painted.pixelColor(marked.left() + 1, marked.center().y()), kShownMark);
  EXPECT_NE(painted.pixelColor(plain.left() + 1, plain.center().y()), kShownMark);
  EXPECT_EQ(painted.pixelColor(red.left() + 2, red.top() + 2), QColor(255, 0, 0));

  const int viewport = grid_.viewport()->width();
  EXPECT_EQ(grid_.columnWidth(0), std::lround(0.5 * viewport));
  EXPECT_NEAR(grid_.columnWidth(1), 0.25 * viewport, 1);
  // A text wider than its column's share widens the column, and the grid scrolls sideways.
  const std::string wide(120, 'W');
  table_.SetRows({{{Cell("Луна"), Cell(wide)}}});
  QCoreApplication::processEvents();
  EXPECT_GE(grid_.columnWidth(1), grid_.fontMetrics().horizontalAdvance(QString::fromStdString(wide)));
  EXPECT_GT(grid_.horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(grid_.columnWidth(0), std::lround(0.5 * grid_.viewport()->width()));
}

// A glyph column is a picture only; copying and CSV leave it out.
class GlyphedTable : public GridTable {
 public:
  GlyphedTable() : GridTable({"", "Объект"}) {}
  bool ColumnExported(int column) const override { return column != 0; }
};

// Chooses the context menu's action `caption` once the menu is up.
void ChooseFromContextMenu(QAbstractScrollArea& grid, const QString& caption) {
  QTimer::singleShot(0, [caption] {
    QWidget* popup = QApplication::activePopupWidget();
    if (!popup) {
      ADD_FAILURE() << "no context menu";
      return;
    }
    for (QAction* action : popup->actions()) {
      if (action->text() == caption) action->trigger();
    }
    popup->close();
  });
  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), grid.viewport()->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(grid.viewport(), &click);
}

TEST(ResultGridMenuTest, CopiesAndSavesWithoutPictureColumnsAndReportsAFailedWrite) {
  testing::TestApplication();
  const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "grid_menu";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  GlyphedTable table;
  table.SetRows({{{Cell("\xEE\x80\x81"), Cell("Луна")}}, {{Cell("\xEE\x80\x82"), Cell("Марс, Сатурн")}}});
  CALXGridCtrl grid;
  grid.setWindowTitle("Позиции");
  grid.SetModel(&table);
  grid.resize(300, 200);
  grid.show();
  std::vector<std::string> suggested, told;
  std::filesystem::path chosen = dir / "a.csv";
  grid.SetCsvFileChooser([&](const std::string& name, QWidget*) {
    suggested.push_back(name);
    return std::optional(chosen.string());
  });
  grid.SetMessageSink([&](const std::string& text) { told.push_back(text); });

  grid.setCurrentIndex(grid.model()->index(1, 1));
  ChooseFromContextMenu(grid, "Копировать");
  EXPECT_EQ(QApplication::clipboard()->text(), QString("Марс, Сатурн\n"));
  ChooseFromContextMenu(grid, "Сохранить как CSV…");
  EXPECT_EQ(suggested, std::vector<std::string>{"Позиции.csv"});
  EXPECT_EQ(ReadFileBytes(chosen), std::optional<std::string>("Объект\r\nЛуна\r\n\"Марс, Сатурн\"\r\n"));
  EXPECT_TRUE(told.empty());

  chosen = dir / "нет" / "b.csv";
  grid.SaveCsv();
  EXPECT_EQ(told, std::vector<std::string>{"Не удается записать файл " + chosen.string()});
  EXPECT_FALSE(std::filesystem::exists(dir / "нет"));
}

class SettingsGridTest : public ::testing::Test {
 protected:
  enum Column { kName, kOrb, kShown, kColour, kPen, kSize };

  SettingsGridTest() {
    model_.SetRows(
        {{EditCell::Label("Луна"), EditCell::Number(5, {0, 180, 1}), EditCell::Check(false), EditCell::Colour(kWhite),
          EditCell::Pen(PenStyle::Solid), EditCell::Choice({"Малый", "Большой"}, 0)},
         {EditCell::Label("Солнце"), EditCell::Number(8, {0, 180, 1}), EditCell::Check(true), EditCell::Colour(kBlack),
          EditCell::Pen(PenStyle::Dot), EditCell::Choice({"Малый", "Большой"}, 1)}});
    grid_.SetModel(&model_);
    grid_.SetRefusalSink([this](const std::string& reason) { refusals_.push_back(reason); });
    grid_.SetColorChooser([this](Color current, QWidget*) {
      offered_.push_back(current);
      return chosen_;
    });
    grid_.resize(600, 200);
    grid_.show();
    GoTo(0, kOrb);
  }

  void GoTo(int row, int column) { grid_.setCurrentIndex(grid_.model()->index(row, column)); }
  QModelIndex Current() const { return grid_.currentIndex(); }
  // Types into the line edit that F2 opens, then ends with `key`.
  void Type(const char* text, Qt::Key key) {
    QTest::keyClick(&grid_, Qt::Key_F2);
    QLineEdit* editor = OpenEditor<QLineEdit>(grid_);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QString::fromUtf8(text));
    QTest::keyClick(editor, key);
    QCoreApplication::processEvents();  // the commit is queued
    EXPECT_EQ(OpenEditor<QLineEdit>(grid_), nullptr);
  }

  QApplication& application_ = testing::TestApplication();
  EditableGridModel model_{{"Объект", "Орбис", "Показ", "Цвет", "Линия", "Размер"}};
  CRegGridCtrl grid_;
  std::vector<std::string> refusals_;
  std::vector<Color> offered_;
  std::optional<Color> chosen_ = kColorRefRed;
};

TEST_F(SettingsGridTest, F2TypingAndEnterCommitsEscCancelsAndRefusalsKeepTheOldValue) {
  Type("6,5", Qt::Key_Return);
  EXPECT_EQ(model_.At(0, kOrb).number, 6.5);
  Type("120", Qt::Key_Escape);
  EXPECT_EQ(model_.At(0, kOrb).number, 6.5);
  EXPECT_TRUE(refusals_.empty());

  Type("nan", Qt::Key_Enter);
  Type("181", Qt::Key_Enter);
  EXPECT_EQ(refusals_, (std::vector<std::string>{"Введите число", "Введите число от 0 до 180"}));
  EXPECT_EQ(Shown(grid_, 0, kOrb), QString("6.5"));

  // Arrows move on from the cell edited; Enter opens the editor as F2 does.
  QTest::keyClick(&grid_, Qt::Key_Down);
  EXPECT_EQ(Current(), grid_.model()->index(1, kOrb));
  QTest::keyClick(&grid_, Qt::Key_Return);
  EXPECT_NE(OpenEditor<QLineEdit>(grid_), nullptr);
  QTest::keyClick(OpenEditor<QLineEdit>(grid_), Qt::Key_Escape);
  QTest::keyClick(&grid_, Qt::Key_Left);
  QTest::keyClick(&grid_, Qt::Key_F2);
  EXPECT_EQ(OpenEditor<QLineEdit>(grid_), nullptr);  // a label is not edited
}

TEST_F(SettingsGridTest, SpaceTogglesChecksColoursComeFromTheChooserStylesFromAList) {
  QTest::keyClick(&grid_, Qt::Key_Space);
  EXPECT_EQ(model_.At(0, kOrb).number, 5);
  QTest::keyClick(&grid_, Qt::Key_Right);
  QTest::keyClick(&grid_, Qt::Key_Space);
  EXPECT_TRUE(model_.At(0, kShown).checked);
  EXPECT_EQ(Shown(grid_, 0, kShown, Qt::CheckStateRole).toInt(), Qt::Checked);
  QTest::keyClick(&grid_, Qt::Key_Space);
  EXPECT_FALSE(model_.At(0, kShown).checked);

  QTest::keyClick(&grid_, Qt::Key_Right);
  QTest::keyClick(&grid_, Qt::Key_F2);
  EXPECT_EQ(model_.At(0, kColour).color, kColorRefRed);
  EXPECT_EQ(Shown(grid_, 0, kColour, Qt::BackgroundRole).value<QColor>(), QColor(255, 0, 0));
  chosen_.reset();  // cancelled
  const QRect swatch = grid_.visualRect(grid_.model()->index(1, kColour));
  QTest::mouseClick(grid_.viewport(), Qt::LeftButton, {}, swatch.center());  // the press a double click follows
  QTest::mouseDClick(grid_.viewport(), Qt::LeftButton, {}, swatch.center());
  EXPECT_EQ(offered_, (std::vector<Color>{kWhite, kBlack}));
  EXPECT_EQ(model_.At(1, kColour).color, kBlack);

  GoTo(1, kPen);
  QTest::keyClick(&grid_, Qt::Key_F2);
  QComboBox* styles = OpenEditor<QComboBox>(grid_);
  ASSERT_NE(styles, nullptr);
  EXPECT_EQ(styles->currentText(), QString("Пунктирная"));
  QTest::keyClick(styles, Qt::Key_Up);
  QTest::keyClick(styles, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(model_.At(1, kPen).index, int(PenStyle::Dash));
  EXPECT_EQ(Shown(grid_, 1, kPen), QString("Штриховая"));
}

TEST_F(SettingsGridTest, CtrlVPastesEveryCellOrNone) {
  QApplication::clipboard()->setText("1,5\tда\n2\tнет\n");
  QTest::keyClick(&grid_, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(model_.At(0, kOrb).number, 1.5);
  EXPECT_TRUE(model_.At(0, kShown).checked);
  EXPECT_EQ(model_.At(1, kOrb).number, 2);

  QApplication::clipboard()->setText("3\tнет\n999\tда\n");
  QTest::keyClick(&grid_, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(refusals_, std::vector<std::string>{"Введите число от 0 до 180"});
  EXPECT_EQ(model_.At(0, kOrb).number, 1.5);
  EXPECT_TRUE(model_.At(0, kShown).checked);

  QTest::keyClick(&grid_, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QString("Луна\t1.5\tда\t#FFFFFF\tСплошная\tМалый\n"));
}

}  // namespace
}  // namespace kelvara::platform
