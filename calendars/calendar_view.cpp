#include "calendars/calendar_view.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "calendars/calendar_common.h"
#include "calendars/calendar_texts.h"
#include "calendars/number_text.h"
#include "engine/angles.h"
#include "engine/records.h"
#include "platform/codepage.h"
#include "workspace/chart_record.h"
#include "workspace/text_trim.h"

namespace kelvara::calendars {
namespace {

using platform::Color;
using platform::GridCell;
using platform::GridRow;
using workspace::TrimBlanks;

constexpr double kScreenUnits = 240.0;  // the handheld's screen width the column shares are given in
constexpr double kAngleTolerance = 0.001;
constexpr int kLastBodyPoint = 16;   // base points above it are sign boundaries
constexpr int kLastSignPoint = 28;
constexpr int kFieldCount = 6;
constexpr int kMovingField = 1, kAspectField = 2, kBaseField = 3, kCulminationField = 4, kStartField = 5,
              kEndField = 6;
constexpr double kStartNotFound = -1.0;
constexpr int kMinutesPerSign = 30 * 60;
constexpr int kMinutesPerCircle = 12 * kMinutesPerSign;

// Each span is one degree wide and starts at these longitudes.
constexpr std::array<int, 7> kYellowSpanStarts = {17, 68, 126, 174, 222, 280, 329};
constexpr std::array<int, 7> kVioletSpanStarts = {22, 72, 129, 180, 228, 288, 333};

template <typename T>
std::optional<T> Number(std::string_view text) {
  text = TrimBlanks(text);
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  if constexpr (std::is_floating_point_v<T>) {
    if (!std::isfinite(value)) return std::nullopt;
  }
  return value;
}

std::string Trimmed(std::string_view text, char c) {
  const std::size_t first = text.find_first_not_of(c);
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(c) - first + 1));
}

bool IsColumnOrder(const ColumnOrder& order) {
  std::array<bool, kFieldCount + 1> seen{};
  for (const int field : order) {
    if (field < 1 || field > kFieldCount || seen[field]) return false;
    seen[field] = true;
  }
  return true;
}

int PositionOf(const ColumnOrder& order, int field) {
  return int(std::find(order.begin(), order.end(), field) - order.begin());
}

// The six fields of an aspect-calendar line in its own order; none unless "#" starts
// each of exactly six.
std::optional<std::vector<std::string_view>> LineFields(std::string_view line) {
  auto parts = workspace::SplitText(line, '#');
  if (parts.size() != kFieldCount + 1 || !parts.front().empty()) return std::nullopt;
  parts.erase(parts.begin());
  return parts;
}

struct PointField {
  int slot = 0;
  double longitudeDeg = 0.0;
};

// "%02d(%07.3lf)".
std::optional<PointField> ReadPoint(std::string_view text) {
  text = TrimBlanks(text);
  const std::size_t open = text.find('(');
  if (open == std::string_view::npos || !text.ends_with(')')) return std::nullopt;
  const auto slot = Number<int>(text.substr(0, open));
  const auto longitude = Number<double>(text.substr(open + 1, text.size() - open - 2));
  if (!slot || !longitude || *slot < workspace::kFirstSlot || *slot > workspace::kLastSlot) return std::nullopt;
  return PointField{*slot, *longitude};
}

std::u16string Utf16(std::string_view text) { return platform::Utf8ToUtf16(text); }

// The header's characters from `first`, `count` of them, whole characters.
std::string HeaderCharacters(std::string_view header, std::size_t first, std::size_t count) {
  const std::u16string wide = Utf16(header);
  if (first >= wide.size()) return {};
  return platform::Utf16ToUtf8(wide.substr(first, count));
}

std::optional<Color> AspectColour(const workspace::AspectTable* table, double angleDeg) {
  if (table == nullptr) return std::nullopt;
  const auto matches = [angleDeg](const workspace::AspectRecord& r) {
    return std::abs(r.angle - angleDeg) <= kAngleTolerance;
  };
  // An enabled aspect is the one the scan used; a disabled twin with the same angle is not.
  auto found = std::find_if(table->begin(), table->end(),
                            [&](const workspace::AspectRecord& r) { return r.enabled && matches(r); });
  if (found == table->end()) found = std::find_if(table->begin(), table->end(), matches);
  if (found == table->end()) return std::nullopt;
  return Color::FromColorRef(found->firstColor);
}

GridCell Plain(std::string text, std::optional<Color> background = std::nullopt) {
  return {std::move(text), std::nullopt, background, std::nullopt};
}

GridRow UnreadLine(const std::string& line) { return {{Plain(line)}, false}; }

std::string WithDegreeSign(double angleDeg) { return AngleText(angleDeg) + std::string(texts::kDegreeSign); }

GridRow VoidRow(const std::string& line) {
  const auto parsed = ParseVoidLine(line);
  if (!parsed) return UnreadLine(line);
  const bool ingress = parsed->IsIngress();
  const Color colour = ingress ? kIngressGreen : kVoidYellow;
  const std::string base = ingress ? std::string(workspace::SignName(parsed->Sign()))
                                   : std::string(workspace::SlotName(parsed->basePoint));
  GridRow row;
  row.cells = {Plain(ingress ? "" : std::string(workspace::SlotName(parsed->movingPoint)), colour),
               Plain(ingress ? std::string(texts::kIngressAngle) : WithDegreeSign(parsed->angleDeg), colour),
               Plain(base, colour), Plain(ShortTimeText(parsed->hours), colour),
               Plain(std::string(ingress ? texts::kInCourse : texts::kVoidStarts), colour)};
  return row;
}

GridCell PointCell(int slot, double longitudeDeg) {
  return Plain(PointPositionText(slot, longitudeDeg), DegreeShading(longitudeDeg).value_or(platform::kWhite));
}

GridRow AspectRow(const std::string& line, const ColumnOrder& order, const workspace::AspectTable* aspects) {
  const auto parsed = ParseAspectLine(line, order);
  if (!parsed) return UnreadLine(line);
  const std::string outOfRange(texts::kOutOfRange);
  GridRow row;
  row.cells = {
      PointCell(parsed->movingPoint, parsed->movingLongitudeDeg),
      Plain(WithDegreeSign(parsed->angleDeg), platform::kWhite),
      PointCell(parsed->basePoint, parsed->baseLongitudeDeg),
      Plain(ShortTimeText(parsed->culminationHours), kIngressGreen),
      parsed->startHours ? Plain(ShortTimeText(*parsed->startHours), platform::kWhite) : Plain(outOfRange, kVoidYellow),
      Plain(parsed->endHours ? ShortTimeText(*parsed->endHours) : outOfRange, kEndCyan),
  };
  if (const auto colour = AspectColour(aspects, parsed->angleDeg)) {
    for (GridCell& cell : row.cells) cell.textColor = colour;
  }
  return row;
}

std::string JoinedFields(const std::vector<std::string_view>& fields) {
  std::string line;
  for (const std::string_view field : fields) (line += '#') += field;
  return line;
}

}  // namespace

CalendarResult& ResultOf(CalendarResults& results, CalendarViewMode mode) {
  switch (mode) {
    case CalendarViewMode::kLunar: return results.lunar;
    case CalendarViewMode::kPlanetaryHours: return results.hours;
    case CalendarViewMode::kAspects: return results.aspects;
    case CalendarViewMode::kVoidMoon: break;
  }
  return results.voidMoon;
}

const CalendarResult& ResultOf(const CalendarResults& results, CalendarViewMode mode) {
  return ResultOf(const_cast<CalendarResults&>(results), mode);
}

std::string_view ViewTitle(CalendarViewMode mode) {
  switch (mode) {
    case CalendarViewMode::kLunar: return texts::kLunarFileTitle;
    case CalendarViewMode::kPlanetaryHours: return texts::kHoursFileTitle;
    case CalendarViewMode::kAspects: return texts::kAspectFileTitle;
    case CalendarViewMode::kVoidMoon: break;
  }
  return texts::kVoidFileTitle;
}

CalendarFileKind ViewFileKind(CalendarViewMode mode) {
  switch (mode) {
    case CalendarViewMode::kLunar: return CalendarFileKind::kLunar;
    case CalendarViewMode::kPlanetaryHours: return CalendarFileKind::kPlanetaryHours;
    case CalendarViewMode::kAspects: return CalendarFileKind::kAspects;
    case CalendarViewMode::kVoidMoon: break;
  }
  return CalendarFileKind::kVoidMoon;
}

std::string BarsAsDashes(std::string_view text) {
  std::string line;
  for (const char c : text) line += c == '|' ? std::string(texts::kVoidHeaderBar) : std::string(1, c);
  return line;
}

// The aspect calendar's header starts with the two chart codes the columns already show;
// the rest (the base chart or method, the dates, the place) reads as one line.
std::string AspectPlaceLine(std::string_view header) {
  const std::size_t first = header.find('|');
  const std::size_t second = first == std::string_view::npos ? first : header.find('|', first + 1);
  if (second == std::string_view::npos) return {};
  return BarsAsDashes(Trimmed(header.substr(second + 1), '|'));
}

std::string PlaceLine(CalendarViewMode mode, std::string_view header) {
  if (mode == CalendarViewMode::kVoidMoon) return BarsAsDashes(header);
  if (mode == CalendarViewMode::kAspects) return AspectPlaceLine(header);
  const std::size_t bar = header.find('|');
  if (bar == std::string_view::npos) return {};
  return Trimmed(header.substr(bar + 1), '|');
}

std::optional<DatedLine> ParseDatedLine(CalendarViewMode mode, std::string_view line) {
  const std::size_t bar = line.find('|');
  if (bar == std::string_view::npos) return std::nullopt;
  const bool dateFirst = mode == CalendarViewMode::kPlanetaryHours;
  const std::string_view date = dateFirst ? line.substr(0, bar) : line.substr(bar + 1);
  const std::string_view label = dateFirst ? line.substr(bar + 1) : TrimBlanks(line.substr(0, bar));
  const auto hours = ParseDateTimeText(date);
  if (!hours) return std::nullopt;
  return DatedLine{*hours, std::string(label)};
}

bool VoidLine::IsIngress() const { return basePoint > kLastBodyPoint; }
int VoidLine::Sign() const { return basePoint - kLastBodyPoint; }

std::optional<VoidLine> ParseVoidLine(std::string_view line) {
  const auto fields = workspace::SplitText(line, '#');
  if (fields.size() != 4) return std::nullopt;
  const auto moving = Number<int>(fields[0]);
  const auto angle = Number<double>(fields[1]);
  const auto base = Number<int>(fields[2]);
  const auto hours = Number<double>(fields[3]);
  if (!moving || !angle || !base || !hours) return std::nullopt;
  if (*moving < workspace::kFirstSlot || *moving > workspace::kLastSlot || *base < workspace::kFirstSlot ||
      *base > kLastSignPoint) {
    return std::nullopt;
  }
  return VoidLine{*moving, *angle, *base, *hours};
}

std::optional<AspectLine> ParseAspectLine(std::string_view line, const ColumnOrder& order) {
  const auto fields = LineFields(line);
  if (!fields || !IsColumnOrder(order)) return std::nullopt;
  const auto field = [&](int number) { return (*fields)[PositionOf(order, number)]; };
  const auto moving = ReadPoint(field(kMovingField));
  const auto base = ReadPoint(field(kBaseField));
  const auto angle = Number<double>(field(kAspectField));
  const auto culmination = Number<double>(field(kCulminationField));
  const auto start = Number<double>(field(kStartField));
  const auto end = Number<double>(field(kEndField));
  if (!moving || !base || !angle || !culmination || !start || !end) return std::nullopt;
  AspectLine parsed{moving->slot, moving->longitudeDeg, *angle, base->slot, base->longitudeDeg, *culmination,
                    std::nullopt, std::nullopt};
  if (*start != kStartNotFound) parsed.startHours = *start;
  if (*end < kEndNotFound - 0.5) parsed.endHours = *end;
  return parsed;
}

std::string AngleText(double angleDeg) {
  char printed[64];
  std::snprintf(printed, sizeof printed, "%f", angleDeg);
  std::string text = printed;
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  text.erase(0, text.find_first_not_of('0'));
  return text.empty() ? "0" : text;
}

std::string ShortTimeText(double hours) {
  const workspace::CalendarMoment m = RoundedToMinute(hours);
  char text[48];
  std::snprintf(text, sizeof text, " %02d.%02d.%02d %02d:%02d", m.day, m.month, m.year % 100, m.hour, m.minute);
  return text;
}

std::string_view SignAbbreviation(int sign) {
  static const std::array<std::string, engine::kSignCount + 1> names = [] {
    std::array<std::string, engine::kSignCount + 1> utf8;
    for (int s = 0; s <= engine::kSignCount; ++s) utf8[s] = platform::Cp1251ToUtf8(engine::SignShortNames()[s]);
    return utf8;
  }();
  if (sign < 1 || sign > engine::kSignCount) return {};
  return names[sign];
}

std::string PointPositionText(int slot, double longitudeDeg) {
  const long long rounded = std::llround(engine::RoundHalfAway(longitudeDeg * 60.0));
  const int minutes = int(((rounded % kMinutesPerCircle) + kMinutesPerCircle) % kMinutesPerCircle);
  char position[16];
  std::snprintf(position, sizeof position, "%02d", minutes % kMinutesPerSign / 60);
  char arcMinutes[16];
  std::snprintf(arcMinutes, sizeof arcMinutes, "%02d", minutes % 60);
  return std::string(workspace::SlotName(slot)) + " " + position +
         std::string(SignAbbreviation(minutes / kMinutesPerSign + 1)) + arcMinutes;
}

std::optional<Color> DegreeShading(double longitudeDeg) {
  const auto inside = [longitudeDeg](const std::array<int, 7>& starts) {
    return std::any_of(starts.begin(), starts.end(),
                       [longitudeDeg](int start) { return longitudeDeg > start && longitudeDeg < start + 1; });
  };
  if (inside(kVioletSpanStarts)) return kDegreeViolet;
  if (inside(kYellowSpanStarts)) return kDegreeYellow;
  return std::nullopt;
}

ViewColumns ColumnsOf(CalendarViewMode mode, const CalendarResult& result) {
  const auto share = [](double units) { return units / kScreenUnits; };
  switch (mode) {
    case CalendarViewMode::kLunar: return {{result.timeKind}, {share(224)}};
    case CalendarViewMode::kPlanetaryHours: return {{result.timeKind}, {share(300)}};
    case CalendarViewMode::kAspects: {
      const bool coded = !result.header.empty();
      const double timeShare = share(2 * 45);
      return {{coded ? HeaderCharacters(result.header, 0, 2) : std::string(texts::kMovingChartCode),
               std::string(texts::kAspectColumn),
               coded ? HeaderCharacters(result.header, 3, 2) : std::string(texts::kBaseChartCode),
               std::string(texts::kCulminationColumn), std::string(texts::kStartColumn),
               std::string(texts::kEndColumn)},
              {share(38), share(27), share(38), timeShare, timeShare, timeShare}};
    }
    case CalendarViewMode::kVoidMoon: break;
  }
  return {{"", "", "", std::string(texts::kTimeColumn), ""}, {share(19), share(27), share(19), share(94), share(60)}};
}

std::vector<GridRow> RowsOf(CalendarViewMode mode, const CalendarResult& result, const ColumnOrder& order,
                            const workspace::AspectTable* aspects) {
  std::vector<GridRow> rows;
  rows.reserve(result.lines.size());
  for (const std::string& line : result.lines) {
    switch (mode) {
      case CalendarViewMode::kLunar:
        rows.push_back({{Plain(line)}, line.find(texts::kLunarDayRowMark) != std::string::npos});
        break;
      case CalendarViewMode::kPlanetaryHours: rows.push_back({{Plain(line + " ")}, false}); break;
      case CalendarViewMode::kAspects: rows.push_back(AspectRow(line, order, aspects)); break;
      case CalendarViewMode::kVoidMoon: rows.push_back(VoidRow(line)); break;
    }
  }
  return rows;
}

void SortAspectsByField(CalendarResult& aspects, ColumnOrder& order, int field) {
  if (field < 1 || field > kFieldCount || !IsColumnOrder(order)) return;
  if (order.front() == field) {
    std::reverse(aspects.lines.begin(), aspects.lines.end());
    return;
  }
  const int position = PositionOf(order, field);
  for (std::string& line : aspects.lines) {
    auto fields = LineFields(line);
    if (!fields) continue;  // shown as it is, sorted as it is
    std::rotate(fields->begin(), fields->begin() + position, fields->begin() + position + 1);
    line = JoinedFields(*fields);
  }
  std::stable_sort(aspects.lines.begin(), aspects.lines.end());
  std::rotate(order.begin(), order.begin() + position, order.begin() + position + 1);
}

std::optional<int> RowInForce(CalendarViewMode mode, const CalendarResult& result, double nowHours) {
  if (mode != CalendarViewMode::kLunar && mode != CalendarViewMode::kPlanetaryHours) return std::nullopt;
  std::optional<int> row;
  for (int i = 0; i < int(result.lines.size()); ++i) {
    const auto dated = ParseDatedLine(mode, result.lines[i]);
    if (dated && dated->hours <= nowHours) row = i;
  }
  return row;
}

bool ShowsGreenwichTime(const CalendarResult& result) { return result.timeKind == texts::kGreenwichTime; }

CalendarView::CalendarView(CalendarViewMode mode, CalendarResults& results, const workspace::AspectTable* aspects)
    : mode_(mode), results_(results), aspects_(aspects) {
  Refresh();
}

std::string CalendarView::PlaceLine() const { return calendars::PlaceLine(mode_, ResultOf(results_, mode_).header); }

std::optional<int> CalendarView::RowInForce(double nowHours) const {
  return calendars::RowInForce(mode_, ResultOf(results_, mode_), nowHours);
}

void CalendarView::Refresh() {
  const CalendarResult& result = ResultOf(results_, mode_);
  columns_ = ColumnsOf(mode_, result);
  rows_ = RowsOf(mode_, result, results_.columnOrder, aspects_);
  NotifyChanged();
}

platform::GridCell CalendarView::Cell(int row, int column) const {
  const std::vector<GridCell>& cells = rows_[row].cells;
  return column < int(cells.size()) ? cells[column] : GridCell{};
}

bool CalendarView::HeaderClicked(int column) {
  // Only the aspect calendar sorts; the others keep the order of their lines.
  if (mode_ != CalendarViewMode::kAspects) return true;
  SortAspectsByField(results_.aspects, results_.columnOrder, column + 1);
  Refresh();
  return true;
}

}  // namespace kelvara::calendars
