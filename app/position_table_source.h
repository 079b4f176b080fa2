// What a position table window shows and asks: its chart's rows with the aspects the
// wheel draws for that chart, its caption, the text request of a cell and the sort the
// settings keep.
#pragma once

#include <optional>
#include <string>

#include "app/session.h"
#include "display/position_table.h"

namespace kelvara::app {

// Chart 1 always has its table; chart 2 while it takes part in the picture.
bool PositionTableOffered(const Session& session, int chart);

// The chart's objects, and the aspects the wheel finds for them: on their side of a
// double chart, or those of the chart alone when the wheel does not show it.
display::PositionTableInput PositionTableInputOf(Session& session, int chart);

// The chart's name, or its title when it has none.
std::string PositionTableTitle(const workspace::ChartRecord& chart);

// What activating a cell asks the text library: a degree or a hexagram; empty for any
// other cell and for a cell that names nothing.
std::string PositionCellRequest(const display::PositionTableModel& model, int row, int column);

// A sort of the table as "m_TYPE_SORT" keeps it: 0 none, column + 1 ascending, its
// negative descending.
struct PositionSort {
  std::optional<int> column;
  bool descending = false;
  friend bool operator==(const PositionSort&, const PositionSort&) = default;
};
int StoredPositionSort(const PositionSort& sort);
// A stored value naming no column of the table is no sort.
PositionSort PositionSortOf(int stored);

}  // namespace kelvara::app
