#include "platform/grid_model.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "platform/csv.h"

namespace kelvara::platform {
namespace {

std::string OnOneLine(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return text;
}

template <typename TextOf>
std::vector<std::string> ExportedTexts(const GridModel& model, TextOf textOf) {
  std::vector<std::string> texts;
  for (int column = 0; column < model.ColumnCount(); ++column) {
    if (model.ColumnExported(column)) texts.push_back(textOf(column));
  }
  return texts;
}

std::vector<std::string> RowTexts(const GridModel& model, int row) {
  return ExportedTexts(model, [&](int column) { return model.Cell(row, column).text; });
}

}  // namespace

bool SortsBefore(const GridCell& a, const GridCell& b) {
  if (a.sortNumber && b.sortNumber) return *a.sortNumber < *b.sortNumber;
  if (a.sortNumber || b.sortNumber) return a.sortNumber.has_value();
  return a.text < b.text;
}

GridTable::GridTable(std::vector<std::string> headers, std::vector<double> fractions)
    : headers_(std::move(headers)), fractions_(std::move(fractions)) {}

void GridTable::SetRows(std::vector<GridRow> rows) {
  rows_ = std::move(rows);
  NotifyChanged();
}

GridCell GridTable::Cell(int row, int column) const {
  const std::vector<GridCell>& cells = rows_[row].cells;
  return column < int(cells.size()) ? cells[column] : GridCell{};
}

void GridTable::RowActivated(int row) {
  if (onRow_) onRow_(row);
}

bool GridTable::HeaderClicked(int column) { return onHeader_ && onHeader_(column); }

void GridRowOrder::HeaderClicked(GridModel& model, int column) {
  if (model.HeaderClicked(column)) {
    column_.reset();
    descending_ = false;
  } else {
    descending_ = column_ == column && !descending_;
    column_ = column;
  }
  Refresh(model);
}

void GridRowOrder::Refresh(const GridModel& model) {
  rows_.resize(model.RowCount());
  std::iota(rows_.begin(), rows_.end(), 0);
  if (!column_ || *column_ >= model.ColumnCount()) return;
  std::vector<GridCell> keys;
  for (int row = 0; row < model.RowCount(); ++row) keys.push_back(model.Cell(row, *column_));
  std::stable_sort(rows_.begin(), rows_.end(), [&keys, this](int a, int b) {
    return descending_ ? SortsBefore(keys[b], keys[a]) : SortsBefore(keys[a], keys[b]);
  });
}

std::vector<int> ColumnPixelWidths(std::span<const double> fractions, std::span<const int> minimums, int available) {
  std::vector<int> widths(minimums.begin(), minimums.end());
  // Rounded where each share ends, so that shares summing to the whole fill it exactly
  // and never make the grid scroll by a pixel.
  double end = 0;
  long endPixel = 0;
  for (std::size_t column = 0; column < widths.size() && column < fractions.size(); ++column) {
    const long startPixel = endPixel;
    end += fractions[column];
    endPixel = std::lround(end * available);
    widths[column] = std::max(widths[column], int(endPixel - startPixel));
  }
  return widths;
}

std::string TabSeparatedRows(const GridModel& model, std::span<const int> rows) {
  std::string text;
  for (const int row : rows) {
    const std::vector<std::string> cells = RowTexts(model, row);
    for (std::size_t column = 0; column < cells.size(); ++column) {
      text += (column ? "\t" : "") + OnOneLine(cells[column]);
    }
    text += '\n';
  }
  return text;
}

std::string GridToCsv(const GridModel& model, std::span<const int> rows) {
  std::string csv = CsvLine(ExportedTexts(model, [&](int column) { return model.HeaderText(column); }));
  for (const int row : rows) csv += CsvLine(RowTexts(model, row));
  return csv;
}

}  // namespace kelvara::platform
