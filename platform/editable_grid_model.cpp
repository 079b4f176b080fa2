#include "platform/editable_grid_model.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace kelvara::platform {
namespace {

constexpr const char* kNotANumber = "Введите число";
constexpr const char* kNotYesOrNo = "Введите «да» или «нет»";
constexpr const char* kNotAColour = "Введите цвет в виде #RRGGBB";
constexpr const char* kReadOnly = "Эту ячейку изменить нельзя";
constexpr const char* kOutsideGrid = "Вставляемые ячейки не помещаются в таблицу";
constexpr const char* kYes = "да";
constexpr const char* kNo = "нет";
constexpr std::string_view kColourPrefix = "#";
constexpr int kColourDigits = 6;
constexpr int kHexBase = 16;

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Plain decimal notation only: no exponent, no "nan" or "inf".
std::optional<double> ParseDecimal(std::string_view text) {
  std::string digits(Trimmed(text));
  std::replace(digits.begin(), digits.end(), ',', '.');
  const char* first = digits.data();
  const char* last = first + digits.size();
  double value = 0;
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
  if (digits.empty() || error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

double Rounded(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  const double rounded = std::round(value * scale) / scale;
  return rounded == 0 ? 0 : rounded;  // no "-0.0"
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// The bounds of a range as a person writes them: "0", "0.5", never "0.50".
std::string Bound(double value, int decimals) {
  std::string text = Fixed(value, decimals);
  if (text.find('.') == std::string::npos) return text;
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string OutOfRange(const NumberRange& range) {
  return std::string(kNotANumber) + " от " + Bound(range.min, range.decimals) + " до " +
         Bound(range.max, range.decimals);
}

std::optional<Color> ParseColour(std::string_view text) {
  text = Trimmed(text);
  if (text.size() != kColourPrefix.size() + kColourDigits || !text.starts_with(kColourPrefix)) return std::nullopt;
  std::uint32_t rgb = 0;
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(text.data() + kColourPrefix.size(), last, rgb, kHexBase);
  if (error != std::errc() || end != last) return std::nullopt;
  return Color{std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb)};
}

std::string NameList(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
  return list;
}

Refusal TakeNumber(EditCell& cell, std::string_view text) {
  if (cell.mixed && Trimmed(text) == *cell.mixed) return std::nullopt;
  const std::optional<double> value = ParseDecimal(text);
  if (!value) return kNotANumber;
  const double rounded = Rounded(*value, cell.range.decimals);
  if (rounded < cell.range.min || rounded > cell.range.max) return OutOfRange(cell.range);
  cell.number = rounded;
  cell.mixed.reset();
  return std::nullopt;
}

Refusal TakeCheck(EditCell& cell, std::string_view text) {
  text = Trimmed(text);
  if (text == kYes || text == "1") {
    cell.checked = true;
  } else if (text == kNo || text == "0") {
    cell.checked = false;
  } else {
    return kNotYesOrNo;
  }
  return std::nullopt;
}

Refusal TakeName(EditCell& cell, std::string_view text) {
  const std::vector<std::string>& names = cell.Names();
  const auto found = std::find(names.begin(), names.end(), Trimmed(text));
  if (found == names.end()) return "Выберите одно из значений: " + NameList(names);
  cell.index = int(found - names.begin());
  return std::nullopt;
}

Refusal Take(EditCell& cell, std::string_view text) {
  if (cell.readOnly) return text == cell.ValueText() ? std::nullopt : Refusal(kReadOnly);
  switch (cell.kind) {
    case EditKind::kText:
      cell.text = text;
      return std::nullopt;
    case EditKind::kNumber:
      return TakeNumber(cell, text);
    case EditKind::kCheck:
      return TakeCheck(cell, text);
    case EditKind::kColor:
      if (const std::optional<Color> colour = ParseColour(text)) {
        cell.color = *colour;
        return std::nullopt;
      }
      return kNotAColour;
    case EditKind::kPenStyle:
    case EditKind::kChoice:
      return TakeName(cell, text);
  }
  return kReadOnly;
}

// Lines without their line ends; the line end after the last line starts no new one.
std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(separator, start)) != std::string_view::npos; start = end + 1) {
    pieces.push_back(text.substr(start, end - start));
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

std::vector<std::string_view> Lines(std::string_view block) {
  std::vector<std::string_view> lines = Split(block, '\n');
  if (lines.back().empty()) lines.pop_back();
  for (std::string_view& line : lines) {
    if (line.ends_with('\r')) line.remove_suffix(1);
  }
  return lines;
}

EditCell OfKind(EditKind kind) {
  EditCell cell;
  cell.kind = kind;
  return cell;
}

}  // namespace

EditCell EditCell::Text(std::string text) {
  EditCell cell;
  cell.text = std::move(text);
  return cell;
}

EditCell EditCell::Label(std::string text) {
  EditCell cell = Text(std::move(text));
  cell.readOnly = true;
  return cell;
}

EditCell EditCell::Number(double value, NumberRange range) {
  EditCell cell = OfKind(EditKind::kNumber);
  cell.number = value;
  cell.range = range;
  return cell;
}

EditCell EditCell::Check(bool checked) {
  EditCell cell = OfKind(EditKind::kCheck);
  cell.checked = checked;
  return cell;
}

EditCell EditCell::Colour(Color color) {
  EditCell cell = OfKind(EditKind::kColor);
  cell.color = color;
  return cell;
}

EditCell EditCell::Pen(PenStyle style, std::optional<Color> colour, int width) {
  EditCell cell = OfKind(EditKind::kPenStyle);
  cell.index = int(style);
  cell.penColor = colour;
  cell.penWidth = width;
  return cell;
}

EditCell EditCell::Choice(std::vector<std::string> choices, int chosen) {
  EditCell cell = OfKind(EditKind::kChoice);
  cell.index = chosen;
  cell.choices = std::move(choices);
  return cell;
}

std::string EditCell::ValueText() const {
  switch (kind) {
    case EditKind::kText:
      return text;
    case EditKind::kNumber:
      return mixed ? *mixed : Fixed(number, range.decimals);
    case EditKind::kCheck:
      return checked ? kYes : kNo;
    case EditKind::kColor: {
      char hex[8];
      std::snprintf(hex, sizeof hex, "#%02X%02X%02X", color.red, color.green, color.blue);
      return hex;
    }
    case EditKind::kPenStyle:
    case EditKind::kChoice:
      return index >= 0 && index < int(Names().size()) ? Names()[index] : std::string();
  }
  return {};
}

EditableGridModel::EditableGridModel(std::vector<std::string> headers, std::vector<double> fractions)
    : headers_(std::move(headers)), fractions_(std::move(fractions)) {}

void EditableGridModel::SetRows(std::vector<std::vector<EditCell>> rows) {
  rows_ = std::move(rows);
  for (std::vector<EditCell>& row : rows_) row.resize(headers_.size(), EditCell::Label(""));
  NotifyChanged();
}

EditCell* EditableGridModel::CellAt(int row, int column) {
  const bool inside = row >= 0 && row < RowCount() && column >= 0 && column < ColumnCount();
  return inside ? &rows_[row][column] : nullptr;
}

Refusal EditableGridModel::SetCell(int row, int column, std::string_view text) {
  if (!CellAt(row, column)) return kReadOnly;
  EditCell edited = rows_[row][column];
  if (Refusal refusal = Take(edited, text)) return refusal;
  rows_[row][column] = std::move(edited);
  Accepted();
  return std::nullopt;
}

void EditableGridModel::Accepted() {
  NotifyChanged();
  if (edited_) edited_();
}

EditCell* EditableGridModel::WritableCellOf(int row, int column, EditKind kind) {
  EditCell* cell = CellAt(row, column);
  return cell && !cell->readOnly && cell->kind == kind ? cell : nullptr;
}

Refusal EditableGridModel::SetChecked(int row, int column, bool checked) {
  EditCell* cell = WritableCellOf(row, column, EditKind::kCheck);
  if (!cell) return kReadOnly;
  cell->checked = checked;
  Accepted();
  return std::nullopt;
}

Refusal EditableGridModel::SetColor(int row, int column, Color color) {
  EditCell* cell = WritableCellOf(row, column, EditKind::kColor);
  if (!cell) return kReadOnly;
  cell->color = color;
  Accepted();
  return std::nullopt;
}

Refusal EditableGridModel::Paste(int row, int column, std::string_view block) {
  std::vector<std::vector<EditCell>> edited = rows_;
  const std::vector<std::string_view> lines = Lines(block);
  for (std::size_t line = 0; line < lines.size(); ++line) {
    const std::vector<std::string_view> values = Split(lines[line], '\t');
    const std::size_t targetRow = row + line;
    if (targetRow >= edited.size() || column + values.size() > headers_.size()) return kOutsideGrid;
    for (std::size_t value = 0; value < values.size(); ++value) {
      if (Refusal refusal = Take(edited[targetRow][column + value], values[value])) return refusal;
    }
  }
  rows_ = std::move(edited);
  Accepted();
  return std::nullopt;
}

GridCell EditableGridModel::Cell(int row, int column) const {
  const EditCell& cell = rows_[row][column];
  GridCell shown;
  shown.text = cell.ValueText();
  shown.background = cell.kind == EditKind::kColor ? cell.color : cell.background;
  shown.textColor = cell.textColor;
  if (cell.kind == EditKind::kNumber && !cell.mixed) shown.sortNumber = cell.number;
  return shown;
}

}  // namespace kelvara::platform
