#include "calendars/qt/calendar_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "calendars/calendar_files.h"
#include "platform/file_io.h"
#include "platform/qt/grid_ctrl.h"
#include "platform/qt/tests/qt_test_application.h"
#include "platform/tests/scratch_dir.h"
#include "workspace/hour_scale.h"

namespace kelvara::calendars {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kLunarLines = {"* новолуние|10.03.2024 09:00", "01-й день луны|10.03.2024 09:00",
                                               "02-й день луны|11.03.2024 07:30", "03-й день луны|12.03.2024 08:10"};

double HoursOf(int year, int month, int day, int hour = 0) {
  return workspace::HoursSince1860({year, month, day, hour, 0, 0});
}

class CalendarWindowTest : public ::testing::Test {
 protected:
  CalendarWindowTest() {
    platform::testing::TestApplication();
    results_.lunar.lines = kLunarLines;
    results_.lunar.timeKind = "Время по Гринвичу";
    results_.lunar.placeText = "Место: Москва";
    results_.lunar.header = "Время по Гринвичу|Место: Москва";
  }

  std::unique_ptr<CCalendarWnd> Open(CalendarViewMode mode, double nowUtc = HoursOf(2024, 3, 11, 12)) {
    CalendarUi ui{[this](const std::string& text) { told_.push_back(text); },
                  [this](bool, std::string_view filter, QWidget*) -> std::optional<fs::path> {
                    filters_.emplace_back(filter);
                    if (chosen_.empty()) return std::nullopt;
                    return chosen_;
                  }};
    auto window = std::make_unique<CCalendarWnd>(CalendarWindowSetup{mode, nullptr, nullptr, nowUtc}, results_, ui);
    window->show();
    window->activateWindow();
    static_cast<void>(QTest::qWaitForWindowActive(window.get()));
    return window;
  }
  static QModelIndex Cell(CCalendarWnd& window, int row, int column) {
    return window.Grid()->model()->index(row, column);
  }
  static QColor Background(CCalendarWnd& window, int row, int column) {
    return Cell(window, row, column).data(Qt::BackgroundRole).value<QColor>();
  }

  platform::test_support::ScratchDir dir_;
  CalendarResults results_;
  std::vector<std::string> told_;
  std::vector<std::string> filters_;
  fs::path chosen_;
};

TEST_F(CalendarWindowTest, LunarRowsAreMarkedOnDaysOnlyAndTheWindowOpensOnTheDayInForce) {
  auto window = Open(CalendarViewMode::kLunar);
  EXPECT_EQ(window->TitleLabel()->text(), "Лунный календарь");
  EXPECT_EQ(window->PlaceLabel()->text(), "Место: Москва");
  EXPECT_TRUE(window->PlaceLabel()->isVisible());
  std::vector<bool> marks;
  for (int row = 0; row < 4; ++row) marks.push_back(Cell(*window, row, 0).data(platform::GridItemModel::kRowMarkRole).toBool());
  EXPECT_EQ(marks, (std::vector<bool>{false, true, true, true}));
  // 11.03 12:00 Greenwich: the second day.
  ASSERT_EQ(window->Grid()->selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(window->Grid()->selectionModel()->selectedRows()[0].row(), 2);

  QSignalSpy requests(window.get(), &CCalendarWnd::textRequested);
  window->Grid()->setCurrentIndex(Cell(*window, 2, 0));
  QTest::keyClick(window->Grid(), Qt::Key_Return);
  window->Grid()->setCurrentIndex(Cell(*window, 0, 0));  // a phase row asks for nothing
  QTest::keyClick(window->Grid(), Qt::Key_Return);
  ASSERT_EQ(requests.size(), 1);
  EXPECT_EQ(requests[0][0].value<std::string>(), "2-й лунный день");
}

TEST_F(CalendarWindowTest, VoidMoonRowsTakeTheirColoursAndAnEmptyPlaceHidesItsLine) {
  results_.voidMoon.lines = {"02#090.00#01#001434000.0000", "02#000.00#20#001434005.0000"};
  auto window = Open(CalendarViewMode::kVoidMoon);
  EXPECT_FALSE(window->PlaceLabel()->isVisible());
  EXPECT_EQ(Cell(*window, 1, 0).data().toString(), "");
  EXPECT_EQ(Cell(*window, 1, 1).data().toString(), "->");
  EXPECT_EQ(Background(*window, 0, 3), QColor(255, 255, 128));
  EXPECT_EQ(Background(*window, 1, 3), QColor(192, 255, 128));
  EXPECT_TRUE(window->Grid()->selectionModel()->selectedRows().isEmpty());  // only lunar days and hours open on "now"
}

TEST_F(CalendarWindowTest, AspectCellsAreShadedAndTwoHeaderClicksReverseTheSort) {
  results_.aspects.header = "Tr|Nt|Иван|c 01.03.2024 по 02.03.2024|Tr: Москва";
  results_.aspects.lines = {"#001434000.0000#01(017.500)#090.000#03(100.000)#-1#9999999999.9999",
                            "#001434001.0000#02(050.000)#000.000#01(022.500)#001433990.0000#001434010.0000",
                            "#001434002.0000#03(040.000)#180.000#02(230.000)#001433995.0000#001434020.0000"};
  auto window = Open(CalendarViewMode::kAspects);
  ASSERT_EQ(window->Grid()->model()->columnCount(), 6);
  EXPECT_EQ(Background(*window, 0, 0), QColor(255, 245, 180));  // 17.5°
  EXPECT_EQ(Background(*window, 1, 2), QColor(235, 205, 220));  // 22.5°
  EXPECT_EQ(Cell(*window, 0, 4).data().toString(), "вне диапазона");

  QHeaderView* header = window->Grid()->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(1) + 5, 5));
  EXPECT_EQ(results_.columnOrder, (ColumnOrder{2, 4, 1, 3, 5, 6}));
  const QString first = Cell(*window, 0, 1).data().toString();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(1) + 5, 5));
  EXPECT_EQ(Cell(*window, 2, 1).data().toString(), first);
  EXPECT_EQ(results_.columnOrder, (ColumnOrder{2, 4, 1, 3, 5, 6}));
}

TEST_F(CalendarWindowTest, RecalculateClosesWithCodeTwoFromTheButtonAndF5) {
  auto window = Open(CalendarViewMode::kLunar);
  window->findChild<QPushButton*>("recalculate")->click();
  EXPECT_EQ(window->result(), CCalendarWnd::kRecalculate);
  window = Open(CalendarViewMode::kLunar);
  QTest::keyClick(window.get(), Qt::Key_F5);
  EXPECT_EQ(window->result(), CCalendarWnd::kRecalculate);
  window = Open(CalendarViewMode::kLunar);
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_EQ(window->result(), QDialog::Rejected);
}

TEST_F(CalendarWindowTest, SavedFilesReadBackAndABadFileLeavesTheResult) {
  auto window = Open(CalendarViewMode::kLunar);
  chosen_ = dir_.Path() / "march.moo";
  window->Save();
  ASSERT_TRUE(fs::exists(chosen_));
  EXPECT_EQ(filters_.back(), "Лунный календарь (*.MOO)|*.moo||");

  results_.lunar.lines.pop_back();
  window->Open();
  EXPECT_EQ(results_.lunar.lines.size(), 4u);
  EXPECT_EQ(window->Grid()->model()->rowCount(), 4);

  ASSERT_TRUE(platform::WriteFileAtomically(dir_.Path() / "bad.moo", "not a calendar\r\n"));
  chosen_ = dir_.Path() / "bad.moo";
  window->Open();
  EXPECT_EQ(told_, (std::vector<std::string>{"Неверная структура файла!"}));
  EXPECT_EQ(results_.lunar.lines.size(), 4u);

  chosen_.clear();  // Cancel
  window->Open();
  EXPECT_EQ(told_.size(), 1u);
}

TEST_F(CalendarWindowTest, TheIcsExportWritesTheEvents) {
  auto window = Open(CalendarViewMode::kLunar);
  chosen_ = dir_.Path() / "march.ics";
  window->SaveIcs();
  const auto text = platform::ReadFileBytes(chosen_);
  ASSERT_TRUE(text);
  EXPECT_NE(text->find("BEGIN:VCALENDAR"), std::string::npos);
  EXPECT_NE(text->find("DTSTART:20240310T090000Z"), std::string::npos);
}

}  // namespace
}  // namespace kelvara::calendars
