#include "app/position_table_source.h"

#include <cstdlib>

#include "app/command_menu.h"
#include "app/step_shift.h"
#include "app/wheel_input.h"
#include "display/chart_wheel.h"
#include "interpretation/text_request.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;

ws::ChartRecord& ChartOf(Session& session, int chart) {
  return chart == kSecondChart ? session.charts.second : session.charts.main;
}

}  // namespace

bool PositionTableOffered(const Session& session, int chart) {
  return chart == kFirstChart || (chart == kSecondChart && SecondChartShown(session));
}

display::PositionTableInput PositionTableInputOf(Session& session, int chart) {
  const ws::ChartRecord& record = ChartOf(session, chart);
  ws::ObjectTable& objects = ChartOf(session, chart).objects;
  const display::WheelOptions options = WheelOptionsOf(session.settings, 0);
  display::WheelInput wheel = WheelInputOf(session.charts, session.aspectTables, options, SecondChartShown(session));
  display::PositionTableInput input;
  input.objects = &objects;
  input.houses = record.houseSystem != ws::kNoHouses;
  if (wheel.outer == &objects) {
    input.side = display::Ring::kOuter;
  } else if (wheel.inner != &objects) {
    wheel = display::WheelInput{};
    wheel.inner = &objects;
    wheel.aspects = &session.aspectTables.single;
    wheel.options = options;
  }
  input.aspects = display::WheelAspectFinder(wheel);
  return input;
}

std::string PositionTableTitle(const ws::ChartRecord& chart) { return chart.name.empty() ? chart.title : chart.name; }

std::string PositionCellRequest(const display::PositionTableModel& model, int row, int column) {
  if (row < 0 || row >= model.RowCount()) return {};
  const display::PositionRowFacts& facts = model.Facts(row);
  switch (column) {
    case display::kDegreeColumn: return interpretation::DegreeRequest(facts.degree, facts.sign);
    case display::kHexagramColumn: return interpretation::IChingCellRequest(model.Cell(row, column).text);
    default: return {};
  }
}

int StoredPositionSort(const PositionSort& sort) {
  if (!sort.column) return 0;
  const int value = *sort.column + 1;
  return sort.descending ? -value : value;
}

PositionSort PositionSortOf(int stored) {
  if (stored == 0 || stored < -display::kPositionColumnCount || stored > display::kPositionColumnCount) return {};
  return {std::abs(stored) - 1, stored < 0};
}

}  // namespace kelvara::app
