// The grids of the settings pages: typed cells that check what the user types or pastes
// and explain a refusal in the user's words, keeping the old value.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"
#include "platform/grid_model.h"

namespace kelvara::platform {

enum class EditKind { kText, kNumber, kCheck, kColor, kPenStyle, kChoice };

struct NumberRange {
  double min = 0;
  double max = 0;
  int decimals = 0;  // a typed value is rounded to these
};

// The pen styles a cell offers, by their numbers (PenStyle 0-2).
inline const std::vector<std::string> kPenStyleNames = {"Сплошная", "Штриховая", "Пунктирная"};

struct EditCell {
  EditKind kind = EditKind::kText;
  std::string text;                  // kText
  double number = 0;                 // kNumber
  NumberRange range;                 // kNumber
  bool checked = false;              // kCheck
  Color color;                       // kColor
  int index = 0;                     // kPenStyle: the style's number; kChoice: the chosen one
  std::optional<Color> penColor;     // kPenStyle: the line is drawn in it, when known
  int penWidth = 1;                  // kPenStyle: pixels, 0 one pixel wide
  // kNumber: a cell standing for several values that differ shows this instead of a
  // number until one is typed; pasting the marker back keeps them.
  std::optional<std::string> mixed;
  std::vector<std::string> choices;  // kChoice
  bool readOnly = false;
  std::optional<Color> background;
  std::optional<Color> textColor;

  static EditCell Text(std::string text);
  static EditCell Label(std::string text);  // read-only text
  static EditCell Number(double value, NumberRange range);
  static EditCell Check(bool checked);
  static EditCell Colour(Color color);
  static EditCell Pen(PenStyle style, std::optional<Color> colour = std::nullopt, int width = 1);
  static EditCell Choice(std::vector<std::string> choices, int chosen);

  // What a kPenStyle or kChoice cell offers.
  const std::vector<std::string>& Names() const { return kind == EditKind::kPenStyle ? kPenStyleNames : choices; }
  // The value as the grid shows, copies and pastes it: a number with its decimals, "да" or
  // "нет", "#RRGGBB", the name of the style or choice.
  std::string ValueText() const;
};

// Why a value was not taken, in the user's words; none when it was.
using Refusal = std::optional<std::string>;

class EditableGridModel : public GridModel {
 public:
  explicit EditableGridModel(std::vector<std::string> headers, std::vector<double> fractions = {});

  // Every row has a cell for every column.
  void SetRows(std::vector<std::vector<EditCell>> rows);
  const EditCell& At(int row, int column) const { return rows_[row][column]; }

  // A value as typed or pasted, in the form ValueText gives; numbers may have "," or "."
  // as the decimal separator. A read-only cell takes only the text it holds, so that
  // copied rows paste back.
  Refusal SetCell(int row, int column, std::string_view text);
  Refusal SetChecked(int row, int column, bool checked);
  Refusal SetColor(int row, int column, Color color);
  // Tab-separated cells, a row per line, with the top-left one at (row, column): all are
  // taken or, when any one is refused, none.
  Refusal Paste(int row, int column, std::string_view block);
  // Called after every accepted edit (not after SetRows), so that an owner can take the
  // cells back into what they show.
  void SetEditListener(std::function<void()> listener) { edited_ = std::move(listener); }

  int RowCount() const override { return int(rows_.size()); }
  int ColumnCount() const override { return int(headers_.size()); }
  std::string HeaderText(int column) const override { return headers_[column]; }
  GridCell Cell(int row, int column) const override;
  std::vector<double> ColumnFractions() const override { return fractions_; }

 private:
  EditCell* CellAt(int row, int column);  // null outside the grid
  // Null unless the cell is inside, writable and of that kind.
  EditCell* WritableCellOf(int row, int column, EditKind kind);

  std::vector<std::string> headers_;
  std::vector<double> fractions_;
  std::vector<std::vector<EditCell>> rows_;
  std::function<void()> edited_;

  void Accepted();
};

}  // namespace kelvara::platform
