#include "app/position_table_source.h"

#include <gtest/gtest.h>

#include "display/tests/wheel_fixtures.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;
using display::Ring;

Session TwoCharts() {
  Session session;
  session.charts.main.name = "Иван";
  session.charts.main.objects = display::testing::HandMadeChart(100.0);
  session.charts.second.name = "Мария";
  session.charts.second.objects = display::testing::HandMadeChart(200.0, 13.0);
  session.charts.doubleChart = true;
  return session;
}

TEST(PositionTableSource, EachChartTakesTheAspectsOfItsSideOfTheWheel) {
  Session session = TwoCharts();
  const display::PositionTableInput first = PositionTableInputOf(session, 1);
  const display::PositionTableInput second = PositionTableInputOf(session, 2);
  EXPECT_EQ(first.objects, &session.charts.main.objects);
  EXPECT_EQ(second.objects, &session.charts.second.objects);
  EXPECT_EQ(first.side, Ring::kInner);
  EXPECT_EQ(second.side, Ring::kOuter);
  EXPECT_TRUE(second.aspects.twoCharts);
  EXPECT_EQ(second.aspects.table, &session.aspectTables.between);
  EXPECT_TRUE(PositionTableOffered(session, 2));

  session.charts.secondAlone = true;
  const display::PositionTableInput alone = PositionTableInputOf(session, 2);
  const display::PositionTableInput hidden = PositionTableInputOf(session, 1);
  EXPECT_EQ(alone.side, Ring::kInner);
  EXPECT_FALSE(alone.aspects.twoCharts);
  EXPECT_EQ(alone.aspects.inner, &session.charts.second.objects);
  EXPECT_EQ(hidden.aspects.inner, &session.charts.main.objects) << "a chart off the wheel has its own aspects";
  EXPECT_EQ(hidden.aspects.table, &session.aspectTables.single);

  session.charts.doubleChart = false;
  EXPECT_FALSE(PositionTableOffered(session, 2));
  EXPECT_TRUE(PositionTableOffered(session, 1));
  session.charts.main.houseSystem = ws::kNoHouses;
  EXPECT_FALSE(PositionTableInputOf(session, 1).houses);
}

TEST(PositionTableSource, OnlyDegreeAndHexagramCellsAsk) {
  Session session = TwoCharts();
  session.charts.main.objects[ws::kSlotSun].SetLongitude(29.995);
  display::PositionTableModel model;
  model.Show(PositionTableInputOf(session, 1));
  int sun = 0;
  while (model.Facts(sun).slot != ws::kSlotSun) ++sun;
  EXPECT_EQ(PositionCellRequest(model, sun, display::kDegreeColumn), "30-й градус Овна");
  EXPECT_EQ(PositionCellRequest(model, sun, display::kHexagramColumn),
            model.Cell(sun, display::kHexagramColumn).text + " И-Цзин");
  EXPECT_EQ(PositionCellRequest(model, sun, display::kNameColumn), "");
  EXPECT_EQ(PositionCellRequest(model, model.RowCount(), display::kDegreeColumn), "");
}

TEST(PositionTableSource, TheStoredSortNamesAColumnAndItsDirection) {
  for (const PositionSort& sort : {PositionSort{}, PositionSort{0, false}, PositionSort{5, true},
                                   PositionSort{display::kPositionColumnCount - 1, true}}) {
    EXPECT_EQ(PositionSortOf(StoredPositionSort(sort)), sort);
  }
  EXPECT_EQ(StoredPositionSort({2, true}), -3);
  for (int nonsense : {display::kPositionColumnCount + 1, -display::kPositionColumnCount - 1, INT32_MIN}) {
    EXPECT_EQ(PositionSortOf(nonsense), PositionSort{}) << nonsense;
  }
}

}  // namespace
}  // namespace kelvara::app
