#include "platform/grid_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <tuple>

#include "platform/editable_grid_model.h"

namespace kelvara::platform {
namespace {

GridCell Text(std::string text) { return {std::move(text), std::nullopt, std::nullopt, std::nullopt}; }
GridCell Number(double value) { return {std::to_string(int(value)), value, std::nullopt, std::nullopt}; }

std::vector<int> AfterClicks(GridModel& model, GridRowOrder& order, std::initializer_list<int> columns) {
  for (const int column : columns) order.HeaderClicked(model, column);
  return order.ModelRows();
}

// Textually "10" comes before "9"; the degrees column must sort by value.
TEST(GridRowOrder, SortsByKeyStablyAndReversesOnTheSecondClick) {
  GridTable table({"Градус", "Имя"});
  table.SetRows({{{Number(10), Text("в")}},
                 {{Number(9), Text("а")}},
                 {{Number(10), Text("б")}},
                 {{Text("—"), Text("г")}},
                 {{Number(-1), Text("д")}}});
  GridRowOrder order;
  order.Refresh(table);
  EXPECT_EQ(order.ModelRows(), (std::vector<int>{0, 1, 2, 3, 4}));

  // Equal keys keep the model's order both ways; a cell without a number goes after the numbers.
  EXPECT_EQ(AfterClicks(table, order, {0}), (std::vector<int>{4, 1, 0, 2, 3}));
  EXPECT_EQ(AfterClicks(table, order, {0}), (std::vector<int>{3, 0, 2, 1, 4}));
  EXPECT_TRUE(order.Descending());
  EXPECT_EQ(AfterClicks(table, order, {1}), (std::vector<int>{1, 2, 0, 3, 4}));
  EXPECT_FALSE(order.Descending());
  EXPECT_EQ(AfterClicks(table, order, {1, 1}), (std::vector<int>{1, 2, 0, 3, 4}));

  // New rows come in under the sort in force.
  table.SetRows({{{Number(2), Text("б")}}, {{Number(1), Text("а")}}});
  order.Refresh(table);
  EXPECT_EQ(order.ModelRows(), (std::vector<int>{1, 0}));
  EXPECT_EQ(order.SortColumn(), 1);
}

TEST(GridRowOrder, ModelThatSortsItselfIsShownInItsOwnOrder) {
  GridTable table({"Дата", "Событие"});
  table.SetRows({{{Text("02.01"), Text("а")}}, {{Text("01.01"), Text("б")}}, {{Text("03.01"), Text("в")}}});
  std::vector<int> clicked;
  table.OnHeaderClicked([&](int column) {
    clicked.push_back(column);
    if (column != 0) return false;
    std::vector<GridRow> rows = table.Rows();
    std::reverse(rows.begin(), rows.end());
    table.SetRows(std::move(rows));
    return true;
  });
  GridRowOrder order;
  order.Refresh(table);
  EXPECT_EQ(AfterClicks(table, order, {1, 1}), (std::vector<int>{2, 1, 0}));
  EXPECT_EQ(AfterClicks(table, order, {0}), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(order.SortColumn(), std::nullopt);
  EXPECT_EQ(table.Cell(0, 0).text, "03.01");
  EXPECT_EQ(clicked, (std::vector<int>{1, 1, 0}));
}

TEST(ColumnPixelWidths, SharesOfTheWidthNeverNarrowerThanTheText) {
  const std::vector<double> shares = {224.0 / 240, 16.0 / 240};
  EXPECT_EQ(ColumnPixelWidths(shares, std::vector<int>{50, 10}, 240), (std::vector<int>{224, 16}));
  EXPECT_EQ(ColumnPixelWidths(shares, std::vector<int>{50, 10}, 480), (std::vector<int>{448, 32}));
  // The second column's text is wider than its share, so the grid must scroll.
  EXPECT_EQ(ColumnPixelWidths(shares, std::vector<int>{50, 40}, 240), (std::vector<int>{224, 40}));
  // Ten tenths of 898 pixels fill them exactly, though each rounds to 90.
  const std::vector<int> tenths = ColumnPixelWidths(std::vector<double>(10, 0.1), std::vector<int>(10, 0), 898);
  EXPECT_EQ(std::accumulate(tenths.begin(), tenths.end(), 0), 898);
  EXPECT_EQ(*std::min_element(tenths.begin(), tenths.end()), 89);
  // A column without a share is as wide as its text.
  EXPECT_EQ(ColumnPixelWidths(std::vector<double>{0.5}, std::vector<int>{10, 70, 30}, 100),
            (std::vector<int>{50, 70, 30}));
}

TEST(GridText, ClipboardRowsAreTabSeparatedAndCsvIsQuoted) {
  GridTable table({"Имя", "Заметка, с запятой"});
  table.SetRows({{{Text("Луна"), Text("a\tb")}}, {{Text("Солнце \"Ра\""), Text("две\nстроки")}}, {{Text("x")}}});
  EXPECT_EQ(TabSeparatedRows(table, std::vector<int>{1, 0}), "Солнце \"Ра\"\tдве строки\nЛуна\ta b\n");
  EXPECT_EQ(TabSeparatedRows(table, std::vector<int>{2}), "x\t\n");
  EXPECT_EQ(GridToCsv(table, std::vector<int>{0, 1}),
            "Имя,\"Заметка, с запятой\"\r\n"
            "Луна,a\tb\r\n"
            "\"Солнце \"\"Ра\"\"\",\"две\nстроки\"\r\n");
}

class EditableGridModelTest : public ::testing::Test {
 protected:
  EditableGridModelTest() {
    model_.SetRows(
        {{EditCell::Label("Луна"), EditCell::Number(5, {0, 180, 1}), EditCell::Check(false),
          EditCell::Colour({0, 0, 255}), EditCell::Pen(PenStyle::Solid), EditCell::Choice({"Малый", "Большой"}, 0)},
         {EditCell::Label("Солнце"), EditCell::Number(10, {0.5, 10, 2}), EditCell::Check(true),
          EditCell::Colour(kWhite), EditCell::Pen(PenStyle::Dot), EditCell::Choice({"Малый", "Большой"}, 1)}});
    model_.SetChangeListener([this] { ++changes_; });
  }

  enum Column { kName, kOrb, kShown, kColour, kPen, kSize };
  EditableGridModel model_{{"Объект", "Орбис", "Показ", "Цвет", "Линия", "Размер"}};
  int changes_ = 0;
};

TEST_F(EditableGridModelTest, NumbersTakeEitherSeparatorAndRefusalsKeepTheOldValue) {
  EXPECT_EQ(model_.SetCell(0, kOrb, "6,5"), std::nullopt);
  EXPECT_EQ(model_.At(0, kOrb).number, 6.5);
  EXPECT_EQ(model_.SetCell(0, kOrb, " 7.25 "), std::nullopt);  // rounded to the one decimal shown
  EXPECT_EQ(model_.Cell(0, kOrb).text, "7.3");
  EXPECT_EQ(model_.Cell(0, kOrb).sortNumber, 7.3);
  EXPECT_EQ(changes_, 2);

  for (const char* text : {"nan", "inf", "-inf", "", "  ", "1e2", "6,5,1", "шесть", "0x10"}) {
    EXPECT_EQ(model_.SetCell(0, kOrb, text), "Введите число") << text;
  }
  for (const char* text : {"180,1", "-0.1", "1000"}) {
    EXPECT_EQ(model_.SetCell(0, kOrb, text), "Введите число от 0 до 180") << text;
  }
  EXPECT_EQ(model_.SetCell(1, kOrb, "0,4"), "Введите число от 0.5 до 10");
  EXPECT_EQ(model_.At(0, kOrb).number, 7.3);
  EXPECT_EQ(model_.At(1, kOrb).number, 10);
  EXPECT_EQ(changes_, 2);
}

TEST_F(EditableGridModelTest, OtherKindsTakeTheTextsTheyShowAndRefuseTheRest) {
  EXPECT_EQ(model_.Cell(0, kShown).text, "нет");
  EXPECT_EQ(model_.Cell(0, kColour).text, "#0000FF");
  EXPECT_EQ(model_.Cell(0, kColour).background, (Color{0, 0, 255}));
  EXPECT_EQ(model_.Cell(1, kPen).text, "Пунктирная");
  EXPECT_EQ(model_.Cell(1, kSize).text, "Большой");

  EXPECT_EQ(model_.SetCell(0, kShown, "да"), std::nullopt);
  EXPECT_EQ(model_.SetCell(1, kShown, "0"), std::nullopt);
  EXPECT_EQ(model_.SetCell(0, kColour, "#ff8000"), std::nullopt);
  EXPECT_EQ(model_.SetCell(0, kPen, "Штриховая"), std::nullopt);
  EXPECT_EQ(model_.SetCell(0, kSize, "Большой"), std::nullopt);
  EXPECT_TRUE(model_.At(0, kShown).checked);
  EXPECT_FALSE(model_.At(1, kShown).checked);
  EXPECT_EQ(model_.At(0, kColour).color, (Color{255, 128, 0}));
  EXPECT_EQ(model_.At(0, kPen).index, int(PenStyle::Dash));
  EXPECT_EQ(model_.At(0, kSize).index, 1);

  EXPECT_EQ(model_.SetCell(0, kShown, "может быть"), "Введите «да» или «нет»");
  EXPECT_EQ(model_.SetCell(0, kColour, "#FF80"), "Введите цвет в виде #RRGGBB");
  EXPECT_EQ(model_.SetCell(0, kColour, "#-FFFFF"), "Введите цвет в виде #RRGGBB");
  EXPECT_EQ(model_.SetCell(0, kPen, "Волнистая"), "Выберите одно из значений: Сплошная, Штриховая, Пунктирная");
  EXPECT_EQ(model_.SetCell(0, kSize, "Средний"), "Выберите одно из значений: Малый, Большой");
  EXPECT_EQ(model_.SetCell(0, kName, "Марс"), "Эту ячейку изменить нельзя");
  EXPECT_EQ(model_.SetChecked(0, kOrb, true), "Эту ячейку изменить нельзя");
  EXPECT_EQ(model_.SetColor(0, kName, kBlack), "Эту ячейку изменить нельзя");
  EXPECT_EQ(model_.Cell(0, kName).text, "Луна");
  EXPECT_EQ(model_.Cell(0, kColour).text, "#FF8000");
  EXPECT_EQ(model_.Cell(0, kPen).text, "Штриховая");
  EXPECT_EQ(model_.Cell(0, kSize).text, "Большой");

  EXPECT_EQ(model_.SetColor(1, kColour, kBlack), std::nullopt);
  EXPECT_EQ(model_.Cell(1, kColour).text, "#000000");
}

TEST_F(EditableGridModelTest, PasteTakesEveryCellOrNone) {
  const std::string copied = TabSeparatedRows(model_, std::vector<int>{0, 1});
  EXPECT_EQ(model_.Paste(0, kOrb, "1,5\tда\r\n2\tнет\r\n"), std::nullopt);
  EXPECT_EQ(changes_, 1);
  EXPECT_EQ(model_.At(0, kOrb).number, 1.5);
  EXPECT_TRUE(model_.At(0, kShown).checked);
  EXPECT_EQ(model_.At(1, kOrb).number, 2);
  EXPECT_FALSE(model_.At(1, kShown).checked);

  for (const auto& [column, block, reason] :
       {std::tuple{kOrb, "3\tда\n0,1\tнет\n", "Введите число от 0.5 до 10"},
        std::tuple{kOrb, "3\tда\nnan\tнет\n", "Введите число"},
        std::tuple{kOrb, "3\tда\n4\tнет\t#000000\tСплошная\tМалый\tx\n", "Вставляемые ячейки не помещаются в таблицу"},
        std::tuple{kOrb, "3\n4\n5\n", "Вставляемые ячейки не помещаются в таблицу"},
        std::tuple{kName, "Марс\t3\n", "Эту ячейку изменить нельзя"}}) {
    EXPECT_EQ(model_.Paste(0, column, block), reason) << block;
  }
  EXPECT_EQ(changes_, 1);
  EXPECT_EQ(model_.At(0, kOrb).number, 1.5);
  EXPECT_EQ(model_.At(1, kOrb).number, 2);

  // Whole copied rows paste back: a read-only cell takes the text it already holds.
  EXPECT_EQ(model_.Paste(0, kName, copied), std::nullopt);
  EXPECT_EQ(TabSeparatedRows(model_, std::vector<int>{0, 1}), copied);
  EXPECT_EQ(copied, "Луна\t5.0\tнет\t#0000FF\tСплошная\tМалый\nСолнце\t10.00\tда\t#FFFFFF\tПунктирная\tБольшой\n");
}

}  // namespace
}  // namespace kelvara::platform
