// The calendar result window's table: what the lunar calendar, the planetary hours, the
// aspect calendar and the void-of-course Moon show in their title, place line and grid,
// the colours of the cells, and the aspect calendar's sorting by a column. The window
// only shows this model.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendars/calendar_files.h"
#include "calendars/calendar_types.h"
#include "platform/geometry.h"
#include "platform/grid_model.h"
#include "workspace/aspect_tables.h"

namespace kelvara::calendars {

// The window's modes, numbered as the program's view modes.
enum class CalendarViewMode { kLunar = 6, kPlanetaryHours = 8, kAspects = 9, kVoidMoon = 10 };

inline constexpr platform::Color kIngressGreen{192, 255, 128};  // ingress rows, culminations
inline constexpr platform::Color kVoidYellow{255, 255, 128};    // aspect rows, starts out of range
inline constexpr platform::Color kEndCyan{192, 255, 255};
inline constexpr platform::Color kDegreeYellow{255, 245, 180};  // the first set of degree spans
inline constexpr platform::Color kDegreeViolet{235, 205, 220};  // the second set

CalendarResult& ResultOf(CalendarResults& results, CalendarViewMode mode);
const CalendarResult& ResultOf(const CalendarResults& results, CalendarViewMode mode);

std::string_view ViewTitle(CalendarViewMode mode);
// The kind of file the mode's save and open buttons write and read.
CalendarFileKind ViewFileKind(CalendarViewMode mode);
// The line under the title: the header after its first "|", "|" trimmed from both ends;
// in mode 10 the whole header with every "|" as " - ". Empty hides the line.
std::string PlaceLine(CalendarViewMode mode, std::string_view header);

// --- the lines taken apart ---

// A lunar-calendar or planetary-hours line: its moment on the result's clock, and its
// label ("* новолуние", "05-й день луны", "Солнце (Вс., восход Солнца)"). Blank lines and
// lines without a date have none.
struct DatedLine {
  double hours = 0.0;
  std::string label;
};
std::optional<DatedLine> ParseDatedLine(CalendarViewMode mode, std::string_view line);

// A void-of-course line "%02d#%06.2lf#%02d#%014.4lf". Base points 1-16 are bodies, 17-28
// the sign boundaries Aries ... Pisces (an ingress).
struct VoidLine {
  int movingPoint = 0;
  double angleDeg = 0.0;
  int basePoint = 0;
  double hours = 0.0;  // on the result's clock
  bool IsIngress() const;
  int Sign() const;  // of an ingress, 1-12
};
std::optional<VoidLine> ParseVoidLine(std::string_view line);

// An aspect-calendar line "#f1#f2#...#f6", its fields in the column order.
inline constexpr double kEndNotFound = 9999999999.9999;
struct AspectLine {
  int movingPoint = 0;
  double movingLongitudeDeg = 0.0;
  double angleDeg = 0.0;
  int basePoint = 0;
  double baseLongitudeDeg = 0.0;
  double culminationHours = 0.0;     // on the result's clock
  std::optional<double> startHours;  // none: the orb was entered before the scan
  std::optional<double> endHours;    // none: it is left after the scan
};
std::optional<AspectLine> ParseAspectLine(std::string_view line, const ColumnOrder& order);

// --- cell texts ---

// The angle printed with "%f", trailing zeros, a trailing point and leading zeros
// removed: "90", "22.5", "0"; no degree sign.
std::string AngleText(double angleDeg);
// " %02d.%02d.%02d %02d:%02d" with a two-digit year, to the nearest minute.
std::string ShortTimeText(double hours);
// "Солнце 15Ов23": the point's name, degrees within the sign, the sign's two letters and
// the minutes, rounded to the minute.
std::string PointPositionText(int slot, double longitudeDeg);
// The two-letter sign names "Ов" ... "Рб", 1-12; empty outside.
std::string_view SignAbbreviation(int sign);
// The shading of a point cell by its longitude; none outside the degree spans.
std::optional<platform::Color> DegreeShading(double longitudeDeg);

// --- the grid ---

struct ViewColumns {
  std::vector<std::string> headers;
  std::vector<double> fractions;  // of the table's width; the grid widens a column to its texts
};
ViewColumns ColumnsOf(CalendarViewMode mode, const CalendarResult& result);

// One grid row per line. A line that does not read shows as it is in the first cell.
// `aspects` is the table the aspect calendar was calculated with (may be null: the rows
// keep the grid's text colour).
std::vector<platform::GridRow> RowsOf(CalendarViewMode mode, const CalendarResult& result, const ColumnOrder& order,
                                      const workspace::AspectTable* aspects);

// Sorts the aspect calendar by field 1-6 (1 moving point ... 6 end): the field moves to
// the front of every line, the lines are sorted by their bytes and the field leads the
// column order; a field that leads already reverses the rows.
void SortAspectsByField(CalendarResult& aspects, ColumnOrder& order, int field);

// The last row whose moment is at or before `nowHours` (on the result's clock): the one
// the lunar and hours windows open on. None before the first dated row, and in modes 9, 10.
std::optional<int> RowInForce(CalendarViewMode mode, const CalendarResult& result, double nowHours);
// Whether the result's times are Greenwich times, so that "now" is to be given in them.
bool ShowsGreenwichTime(const CalendarResult& result);

// The grid model of one mode over the program's results. A header click in mode 9 sorts
// the result itself and stores the new column order in `results`; the other modes keep
// their order. Call Refresh after the result changed under it (a file loaded).
class CalendarView : public platform::GridModel {
 public:
  CalendarView(CalendarViewMode mode, CalendarResults& results, const workspace::AspectTable* aspects = nullptr);

  CalendarViewMode Mode() const { return mode_; }
  std::string Title() const { return std::string(ViewTitle(mode_)); }
  std::string PlaceLine() const;
  std::optional<int> RowInForce(double nowHours) const;
  void Refresh();

  int RowCount() const override { return int(rows_.size()); }
  int ColumnCount() const override { return int(columns_.headers.size()); }
  std::string HeaderText(int column) const override { return columns_.headers[column]; }
  platform::GridCell Cell(int row, int column) const override;
  bool RowMarked(int row) const override { return rows_[row].marked; }
  std::vector<double> ColumnFractions() const override { return columns_.fractions; }
  bool HeaderClicked(int column) override;

 private:
  CalendarViewMode mode_;
  CalendarResults& results_;
  const workspace::AspectTable* aspects_;
  ViewColumns columns_;
  std::vector<platform::GridRow> rows_;
};

}  // namespace kelvara::calendars
