#include "calendars/calendar_view.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "calendars/calendar_texts.h"
#include "workspace/hour_scale.h"

namespace kelvara::calendars {
namespace {

using platform::Color;

double At(int year, int month, int day, int hour, int minute) {
  return workspace::HoursSince1860({year, month, day, hour, minute, 0});
}

std::string VoidLineText(int moving, double angle, int base, double hours) {
  char text[64];
  std::snprintf(text, sizeof text, "%02d#%06.2f#%02d#%014.4f", moving, angle, base, hours);
  return text;
}

// A line in the initial column order: culmination, moving, aspect, base, start, end.
std::string AspectLineText(int moving, double movingLon, double angle, int base, double baseLon, double culmination,
                           std::string start, std::string end) {
  char text[160];
  std::snprintf(text, sizeof text, "#%014.4f#%02d(%07.3f)#%07.3f#%02d(%07.3f)#%s#%s", culmination, moving, movingLon,
                angle, base, baseLon, start.c_str(), end.c_str());
  return text;
}

TEST(CalendarView, LunarRowsAreMarkedOnlyOnLunarDaysAndAnEmptyPlaceHidesItsLine) {
  CalendarResults results;
  results.lunar = {{"* новолуние|29.01.2025 15:36", "01-й день луны|29.01.2025 15:36", "02-й день луны|30.01.2025 09:05",
                    "* 1-я четверть|05.02.2025 11:02"},
                   "Время местное", "", "Время местное|", ""};
  CalendarView view(CalendarViewMode::kLunar, results);
  ASSERT_EQ(view.RowCount(), 4);
  EXPECT_EQ(std::vector<bool>({view.RowMarked(0), view.RowMarked(1), view.RowMarked(2), view.RowMarked(3)}),
            std::vector<bool>({false, true, true, false}));
  EXPECT_EQ(view.HeaderText(0), "Время местное");
  EXPECT_EQ(view.Title(), "Лунный календарь");
  EXPECT_EQ(view.PlaceLine(), "");
  results.lunar.header = "Время местное|Место: Москва";
  EXPECT_EQ(view.PlaceLine(), "Место: Москва");
  // The window opens on the row in force; a header click keeps the order of the lines.
  EXPECT_EQ(view.RowInForce(At(2025, 1, 30, 9, 5)), 2);
  EXPECT_EQ(view.RowInForce(At(2025, 1, 30, 9, 4)), 1);
  EXPECT_EQ(view.RowInForce(At(2025, 1, 1, 0, 0)), std::nullopt);
  EXPECT_TRUE(view.HeaderClicked(0));
  EXPECT_EQ(view.Cell(3, 0).text, "* 1-я четверть|05.02.2025 11:02");
}

TEST(CalendarView, VoidMoonRowsShowAspectsAndIngressesInTheirColours) {
  CalendarResults results;
  results.voidMoon.header = "c 01.01.2025 по 31.01.2025|ме.время: Москва";
  results.voidMoon.lines = {VoidLineText(2, 90, 7, At(2025, 1, 10, 12, 29) + 0.6 / 60), VoidLineText(2, 0, 18, At(2025, 1, 10, 20, 5)),
                            "02#abc#07", "02#090.00#99#0001000000.0000"};
  const CalendarView view(CalendarViewMode::kVoidMoon, results);
  ASSERT_EQ(view.RowCount(), 4);
  const auto texts = [&](int row) {
    std::vector<std::string> cells;
    for (int c = 0; c < view.ColumnCount(); ++c) cells.push_back(view.Cell(row, c).text);
    return cells;
  };
  EXPECT_EQ(texts(0), std::vector<std::string>({"Луна", "90°", "Сатурн", " 10.01.25 12:30", "без курса"}));
  EXPECT_EQ(texts(1), std::vector<std::string>({"", "->", "Телец", " 10.01.25 20:05", "в курсе"}));
  EXPECT_EQ(view.Cell(0, 2).background, Color(kVoidYellow));
  EXPECT_EQ(view.Cell(1, 4).background, Color(kIngressGreen));
  // Lines that do not read show as they are.
  EXPECT_EQ(texts(2), std::vector<std::string>({"02#abc#07", "", "", "", ""}));
  EXPECT_EQ(view.Cell(3, 0).text, "02#090.00#99#0001000000.0000");
  EXPECT_EQ(view.PlaceLine(), "c 01.01.2025 по 31.01.2025 - ме.время: Москва");
  EXPECT_EQ(view.HeaderText(3), "Время");
}

TEST(CalendarView, AspectCellsAreShadedByDegreeAndTheRowTakesTheAspectsColour) {
  CalendarResults results;
  results.aspects.header = "Tr|Nt|Иван|c 01.01.2025 по 02.01.2025|Tr: Москва";
  const double culmination = At(2025, 1, 1, 14, 0);
  results.aspects.lines = {
      AspectLineText(1, 17.5, 90, 7, 333.5, culmination, "-1", "9999999999.9999"),
      AspectLineText(2, 17.0, 120, 5, 129.999, culmination, "0001441000.0000", "0001441200.0000"),
      "#broken"};
  workspace::AspectTable table{};
  table[0].angle = 90.0;  // a disabled twin comes first and must not colour the row
  table[0].firstColor = 0x0000FF;
  table[1].enabled = true;
  table[1].angle = 90.0004;
  table[1].firstColor = 0x00FF00;
  const CalendarView view(CalendarViewMode::kAspects, results, &table);
  EXPECT_EQ(std::vector<std::string>({view.HeaderText(0), view.HeaderText(1), view.HeaderText(2)}),
            std::vector<std::string>({"Tr", "Асп", "Nt"}));
  EXPECT_EQ(view.PlaceLine(), "Иван - c 01.01.2025 по 02.01.2025 - Tr: Москва");
  EXPECT_EQ(view.Cell(0, 0).text, "Солнце 17Ов30");
  EXPECT_EQ(view.Cell(0, 0).background, Color(kDegreeYellow));
  EXPECT_EQ(view.Cell(0, 2).text, "Сатурн 03Рб30");
  EXPECT_EQ(view.Cell(0, 2).background, Color(kDegreeViolet));
  EXPECT_EQ(view.Cell(0, 1).text, "90°");
  EXPECT_EQ(view.Cell(0, 3).background, Color(kIngressGreen));
  EXPECT_EQ(view.Cell(0, 4).text, "вне диапазона");
  EXPECT_EQ(view.Cell(0, 4).background, Color(kVoidYellow));
  EXPECT_EQ(view.Cell(0, 5).text, "вне диапазона");
  EXPECT_EQ(view.Cell(0, 5).background, Color(kEndCyan));
  EXPECT_EQ(view.Cell(0, 3).textColor, Color::FromColorRef(0x00FF00));
  // On a span's border the cell is white; minutes that round to 60 carry into the sign.
  EXPECT_EQ(view.Cell(1, 0).background, platform::kWhite);
  EXPECT_EQ(view.Cell(1, 2).text, "Марс 10Лв00");
  EXPECT_EQ(view.Cell(1, 4).background, platform::kWhite);
  EXPECT_EQ(view.Cell(1, 1).textColor, std::nullopt);
  EXPECT_EQ(view.Cell(2, 0).text, "#broken");

  results.aspects.header.clear();
  EXPECT_EQ(ColumnsOf(CalendarViewMode::kAspects, results.aspects).headers[0], "П2");
  EXPECT_EQ(ColumnsOf(CalendarViewMode::kAspects, results.aspects).headers[2], "П1");
}

TEST(CalendarView, SortingByAColumnMovesItsFieldFirstAndASecondClickReverses) {
  CalendarResults results;
  results.aspects.lines = {AspectLineText(1, 10, 90, 7, 100, 1000, "-1", "2000.0000"),
                           AspectLineText(3, 10, 0, 5, 10, 3000, "-1", "4000.0000"),
                           AspectLineText(2, 10, 180, 6, 190, 2000, "-1", "3000.0000")};
  CalendarView view(CalendarViewMode::kAspects, results);
  const auto column = [&](int c) {
    std::vector<std::string> cells;
    for (int r = 0; r < view.RowCount(); ++r) cells.push_back(view.Cell(r, c).text);
    return cells;
  };
  const auto shownBefore = view.Cell(0, 0);
  ASSERT_TRUE(view.HeaderClicked(1));  // the aspect column
  EXPECT_EQ(results.columnOrder, (ColumnOrder{2, 4, 1, 3, 5, 6}));
  EXPECT_TRUE(results.aspects.lines[0].starts_with("#000.000#"));
  const auto firstSort = column(1);
  EXPECT_EQ(firstSort, std::vector<std::string>({"0°", "90°", "180°"}));
  EXPECT_EQ(view.Cell(1, 0).text, shownBefore.text);  // the columns stay where they were

  ASSERT_TRUE(view.HeaderClicked(1));
  EXPECT_EQ(column(1), std::vector<std::string>(firstSort.rbegin(), firstSort.rend()));
  EXPECT_EQ(results.columnOrder, (ColumnOrder{2, 4, 1, 3, 5, 6}));

  view.HeaderClicked(3);  // culmination: back to time order
  EXPECT_EQ(results.columnOrder, (ColumnOrder{4, 2, 1, 3, 5, 6}));
  EXPECT_EQ(column(1), std::vector<std::string>({"90°", "180°", "0°"}));
}

TEST(CalendarView, HoursRowInForceSkipsBlankLines) {
  CalendarResult hours{{"01.01.2025 08:57|Меркурий (Ср., восход Солнца)", "01.01.2025 09:30|Луна", "",
                        "02.01.2025 08:57|Юпитер (Чт., восход Солнца)"},
                       "Время по Гринвичу", "", "Время по Гринвичу|", ""};
  EXPECT_TRUE(ShowsGreenwichTime(hours));
  EXPECT_EQ(RowInForce(CalendarViewMode::kPlanetaryHours, hours, At(2025, 1, 1, 23, 0)), 1);
  EXPECT_EQ(RowInForce(CalendarViewMode::kPlanetaryHours, hours, At(2025, 1, 2, 9, 0)), 3);
  EXPECT_EQ(RowsOf(CalendarViewMode::kPlanetaryHours, hours, kInitialColumnOrder, nullptr)[1].cells[0].text,
            "01.01.2025 09:30|Луна ");
  EXPECT_EQ(AngleText(0.5), ".5");
  EXPECT_EQ(AngleText(0), "0");
  EXPECT_EQ(AngleText(150), "150");
}

}  // namespace
}  // namespace kelvara::calendars
