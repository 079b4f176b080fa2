// The tables the program shows in grids (calendar results, position tables, aspect lists,
// settings pages), free of any toolkit: what each cell says and how it looks, the order of
// the rows, the widths of the columns and the text a grid copies or exports. The Qt grids
// in platform/qt/ only show what these give.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace kelvara::platform {

struct GridCell {
  std::string text;                  // UTF-8
  std::optional<double> sortNumber;  // a numeric column sorts by it; otherwise by the text
  std::optional<Color> background;   // none: the grid's own
  std::optional<Color> textColor;
  friend bool operator==(const GridCell&, const GridCell&) = default;
};

// The order of a sorted column: numbers by value and before texts, texts by their bytes.
bool SortsBefore(const GridCell& a, const GridCell& b);

class GridModel {
 public:
  GridModel() = default;
  GridModel(const GridModel&) = delete;  // the listener belongs to this model's grid
  GridModel& operator=(const GridModel&) = delete;
  virtual ~GridModel() = default;

  virtual int RowCount() const = 0;
  virtual int ColumnCount() const = 0;
  virtual std::string HeaderText(int column) const = 0;
  virtual GridCell Cell(int row, int column) const = 0;
  // A marked row carries a marker in its first column.
  virtual bool RowMarked(int /*row*/) const { return false; }
  // Each column's share of the grid's width (224.0 / 240 and the like); a column without
  // a share is as wide as its widest text.
  virtual std::vector<double> ColumnFractions() const { return {}; }
  // A picture-only column (glyphs of the glyph font) means nothing as text elsewhere, so
  // copying and CSV leave it out.
  virtual bool ColumnExported(int /*column*/) const { return true; }

  // Enter or a double click on a row.
  virtual void RowActivated(int /*row*/) {}
  // A click on a column's header. A model that re-sorted its rows returns true; otherwise
  // the grid sorts them by the cells' keys.
  virtual bool HeaderClicked(int /*column*/) { return false; }

  // The grid showing the model listens; one grid at a time.
  void SetChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }
  // Called after the rows changed, so that the grid refreshes.
  void NotifyChanged() const {
    if (listener_) listener_();
  }

 private:
  std::function<void()> listener_;
};

struct GridRow {
  std::vector<GridCell> cells;
  bool marked = false;
};

// A model that holds its rows, which is all most result tables need.
class GridTable : public GridModel {
 public:
  using RowHandler = std::function<void(int row)>;
  using HeaderHandler = std::function<bool(int column)>;

  explicit GridTable(std::vector<std::string> headers, std::vector<double> fractions = {});

  void SetRows(std::vector<GridRow> rows);
  const std::vector<GridRow>& Rows() const { return rows_; }
  void OnRowActivated(RowHandler handler) { onRow_ = std::move(handler); }
  // The handler answers as HeaderClicked does.
  void OnHeaderClicked(HeaderHandler handler) { onHeader_ = std::move(handler); }

  int RowCount() const override { return int(rows_.size()); }
  int ColumnCount() const override { return int(headers_.size()); }
  std::string HeaderText(int column) const override { return headers_[column]; }
  GridCell Cell(int row, int column) const override;
  bool RowMarked(int row) const override { return rows_[row].marked; }
  std::vector<double> ColumnFractions() const override { return fractions_; }
  void RowActivated(int row) override;
  bool HeaderClicked(int column) override;

 private:
  std::vector<std::string> headers_;
  std::vector<double> fractions_;
  std::vector<GridRow> rows_;
  RowHandler onRow_;
  HeaderHandler onHeader_;
};

// The order in which a grid shows a model's rows. A click on a header sorts by that column,
// stably, and a second click on it reverses the order; rows with equal keys keep the
// model's order either way. A model that sorts itself is shown in its own order.
class GridRowOrder {
 public:
  void HeaderClicked(GridModel& model, int column);
  // After the model changed: its rows again, under the sort in force.
  void Refresh(const GridModel& model);

  int Count() const { return int(rows_.size()); }
  int ModelRow(int shownRow) const { return rows_[shownRow]; }
  const std::vector<int>& ModelRows() const { return rows_; }
  std::optional<int> SortColumn() const { return column_; }
  bool Descending() const { return descending_; }

 private:
  std::vector<int> rows_;
  std::optional<int> column_;
  bool descending_ = false;
};

// Pixel widths of the columns of a grid `available` pixels wide: each column its share,
// yet never narrower than its minimum (the width of its widest text or header); a column
// without a share gets its minimum. The sum may exceed `available`; the grid then scrolls.
std::vector<int> ColumnPixelWidths(std::span<const double> fractions, std::span<const int> minimums, int available);

// The rows' exported cells, tab-separated, each row ending in a newline: what the clipboard gets.
// Tabs and line breaks inside a cell become spaces, so that the text pastes back cell by cell.
std::string TabSeparatedRows(const GridModel& model, std::span<const int> rows);
// The header line and the rows as CSV (RFC 4180), exported columns only.
std::string GridToCsv(const GridModel& model, std::span<const int> rows);

}  // namespace kelvara::platform
