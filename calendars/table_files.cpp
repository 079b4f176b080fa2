#include "calendars/table_files.h"

#include <cmath>

#include "calendars/dated_aspects.h"
#include "calendars/calendar_common.h"
#include "calendars/calendar_file_text.h"
#include "calendars/calendar_texts.h"
#include "calendars/calendar_view.h"
#include "calendars/number_text.h"
#include "calendars/void_moon.h"
#include "engine/records.h"
#include "platform/codepage.h"
#include "workspace/text_trim.h"

namespace kelvara::calendars {
namespace {

using platform::Cp1251ToUtf8;
using platform::Utf8ToCp1251;
using workspace::TrimBlanks;

constexpr std::size_t kVoidRulerWidth = 59;
constexpr std::size_t kAspectRulerWidth = 110;
constexpr std::size_t kFirstRow = 5;  // after title, header, ruler, column titles, ruler
constexpr std::size_t kVoidNameWidth = 4;
constexpr std::size_t kVoidAngleWidth = 4;
constexpr std::size_t kVoidBaseWidth = 10;
constexpr std::size_t kVoidSpanWidth = 9;
constexpr std::size_t kPointNameWidth = 10;
constexpr std::size_t kAspectAngleWidth = 6;
constexpr std::size_t kVoidFieldCount = 5;    // the leading empty piece, name, angle, base, time
constexpr std::size_t kAspectPieceCount = 7;  // the leading empty piece and the six fields
constexpr int kLastBody = 16;                 // base points above it are sign boundaries
constexpr int kLastPoint = workspace::kLastSlot;
constexpr long long kMinutesPerSign = 30 * 60;
constexpr long long kMinutesPerCircle = 12 * kMinutesPerSign;
constexpr double kFullCircle = workspace::kFullCircle;

std::string Cp(std::string_view utf8) { return Utf8ToCp1251(utf8); }

std::string HeadOfFile(std::string_view title, const std::string& header, std::size_t rulerWidth,
                       const std::string& columnTitles) {
  const std::string ruler = std::string(rulerWidth, '=') + std::string(kFileLineEnd);
  return FileLine(title) + FileLine(header) + ruler + columnTitles + std::string(kFileLineEnd) + ruler;
}

// The rows of a file of the kind, none unless the title, the header and both rulers are there.
std::optional<std::vector<std::string>> FileRows(const std::string& bytes, std::string_view title,
                                                 std::string& header) {
  if (!StartsWithTitle(bytes, title)) return std::nullopt;
  std::vector<std::string> lines = SplitFileLines(bytes);
  const auto isRuler = [](const std::string& line) {
    return !line.empty() && line.find_first_not_of('=') == std::string::npos;
  };
  if (lines.size() < kFirstRow || !isRuler(lines[2]) || !isRuler(lines[4])) return std::nullopt;
  header = Cp1251ToUtf8(lines[1]);
  std::vector<std::string> rows;
  for (std::size_t i = kFirstRow; i < lines.size(); ++i) {
    if (!TrimBlanks(lines[i]).empty()) rows.push_back(std::move(lines[i]));
  }
  return rows;
}

// The row cut at "|", none unless it starts with one and has `count` pieces at least.
std::optional<std::vector<std::string_view>> RowPieces(std::string_view row, std::size_t count) {
  std::vector<std::string_view> pieces = SplitAt(row, '|');
  if (pieces.size() < count || !TrimBlanks(pieces[0]).empty()) return std::nullopt;
  return pieces;
}

std::string TimeCell(double hours) { return "| " + DateText(hours); }

// "90", "22.5" ... "°" removed; 0-360 only.
std::optional<double> ReadAngle(std::string_view text) {
  std::string angle(TrimBlanks(text));
  const std::string degree = Cp(texts::kDegreeSign);
  if (const std::size_t at = angle.find(degree); at != std::string::npos) angle.erase(at, degree.size());
  const auto value = ParseDecimal(angle);
  if (!value || *value < 0.0 || *value > kFullCircle) return std::nullopt;
  return value;
}

std::optional<int> BodyOrSign(std::string_view name) {
  for (int slot = workspace::kFirstSlot; slot <= kLastBody; ++slot) {
    if (name == Cp(workspace::SlotName(slot))) return slot;
  }
  for (int sign = 1; sign <= engine::kSignCount; ++sign) {
    if (name == engine::SignNames()[sign]) return kLastBody + sign;
  }
  return std::nullopt;
}

// ---- ".LUC" ----

std::string VoidRow(const VoidLine& v) {
  const bool ingress = v.basePoint >= kFirstSignBoundary;
  const std::string name = ingress ? "" : Cp(workspace::SlotName(v.movingPoint));
  const std::string angle =
      ingress ? Cp(texts::kIngressAngle) : Cp(AngleText(v.angleDeg) + std::string(texts::kDegreeSign));
  const std::string base = ingress ? engine::SignNames()[v.Sign()] : Cp(workspace::SlotName(v.basePoint));
  const std::string time = TimeCell(v.hours);
  const std::string span = Cp(ingress ? texts::kInCourse : texts::kVoidStarts);
  return "| " + LeftAligned(name, kVoidNameWidth, true) + " | " + RightAligned(angle, kVoidAngleWidth, false) + " | " +
         RightAligned(base, kVoidBaseWidth, true) + " " + time + " " + time + "| " +
         LeftAligned(span, kVoidSpanWidth, false) + " |" + std::string(kFileLineEnd);
}

std::optional<std::string> VoidLineOfRow(std::string_view row) {
  const auto pieces = RowPieces(row, kVoidFieldCount);
  if (!pieces) return std::nullopt;
  const bool ingressAngle = TrimBlanks((*pieces)[2]) == Cp(texts::kIngressAngle);
  const std::optional<double> angle = ingressAngle ? std::optional(0.0) : ReadAngle((*pieces)[2]);
  const std::optional<int> base = BodyOrSign(TrimBlanks((*pieces)[3]));
  const std::optional<double> hours = ParseDateTimeText((*pieces)[4]);
  if (!angle || !base || !hours) return std::nullopt;
  return VoidResultLine(*base, *angle, *hours);
}

// ---- ".DAS" ----

// "Пл2" and "Пл1" become the chart codes at the header's characters 1-2 and 4-5.
std::string AspectColumnTitles(const std::string& header) {
  std::string titles = Cp(texts::kAspectFileColumns);
  if (header.empty()) return titles;
  const std::string bytes = Cp(header);
  const auto code = [&](std::size_t at) { return LeftAligned(bytes.size() > at ? bytes.substr(at, 2) : "", 2, true); };
  const auto replace = [&](std::string_view mark, const std::string& by) {
    const std::string markBytes = Cp(mark);
    if (const std::size_t at = titles.find(markBytes); at != std::string::npos) titles.replace(at, markBytes.size(), by);
  };
  // Appended piece by piece: GCC 12 at -O3 sees a false overlap in " " + code(3).
  std::string moving = code(0), base(1, ' ');
  moving += ' ';
  base += code(3);
  replace(texts::kMovingCodeMark, moving);
  replace(texts::kBaseCodeMark, base);
  return titles;
}

// "12Ов34": degrees within the sign, the sign's two letters, minutes; rounded to the minute first.
std::string PositionText(double longitudeDeg) {
  const long long rounded = std::llround(workspace::Normalise360(longitudeDeg) * 60.0);
  const long long minutes = ((rounded % kMinutesPerCircle) + kMinutesPerCircle) % kMinutesPerCircle;
  const int sign = int(minutes / kMinutesPerSign) + 1;
  return TwoDigits(int(minutes % kMinutesPerSign / 60)) + engine::SignShortNames()[sign] + TwoDigits(int(minutes % 60));
}

std::string PointCell(int slot, double longitudeDeg) {
  return "| " + LeftAligned(Cp(workspace::SlotName(slot)), kPointNameWidth, true) + " (" + PositionText(longitudeDeg) + ")";
}

std::string OutOfRangeCell(std::string_view tail) { return "|   " + Cp(texts::kOutOfRange) + std::string(tail); }

std::string AspectRow(const AspectLine& a) {
  const std::string start = a.startHours ? TimeCell(*a.startHours) : OutOfRangeCell(" ");
  const std::string end = a.endHours ? TimeCell(*a.endHours) + " |" : OutOfRangeCell("  |");
  return PointCell(a.movingPoint, a.movingLongitudeDeg) + " | " +
         RightAligned(AngleText(a.angleDeg), kAspectAngleWidth, false) + Cp(texts::kDegreeSign) +
         PointCell(a.basePoint, a.baseLongitudeDeg) + " " + TimeCell(a.culminationHours) + " " + start + " " + end +
         std::string(kFileLineEnd);
}

struct PointPosition {
  int slot = 0;
  double longitudeDeg = 0.0;
};

std::optional<int> SignOfAbbreviation(std::string_view letters) {
  for (int sign = 1; sign <= engine::kSignCount; ++sign) {
    if (letters == engine::SignShortNames()[sign]) return sign;
  }
  return std::nullopt;
}

// "Солнце     (12Ов34)": the name before the last blank, the position in parentheses.
std::optional<PointPosition> ReadPointCell(std::string_view text) {
  text = TrimBlanks(text);
  const std::size_t blank = text.rfind(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  const std::string_view name = TrimBlanks(text.substr(0, blank));
  const std::string_view position = text.substr(blank + 1);
  constexpr std::size_t kPositionBytes = 8;  // "(" + 2 digits + 2 letters + 2 digits + ")"
  if (position.size() != kPositionBytes || position.front() != '(' || position.back() != ')') return std::nullopt;
  const auto degrees = ParseDigits(position.substr(1, 2));
  const auto sign = SignOfAbbreviation(position.substr(3, 2));
  const auto minutes = ParseDigits(position.substr(5, 2));
  if (!degrees || !sign || !minutes || *degrees >= 30 || *minutes >= 60) return std::nullopt;
  for (int slot = workspace::kFirstSlot; slot <= kLastPoint; ++slot) {
    // Long names were cut to the column's width when written.
    if (name == TrimBlanks(LeftAligned(Cp(workspace::SlotName(slot)), kPointNameWidth, true))) {
      return PointPosition{slot, (*sign - 1) * workspace::kDegreesPerSign + *degrees + *minutes / 60.0};
    }
  }
  return std::nullopt;
}

// A time, or the text that stands for none (`none` then).
std::optional<std::string> ReadTimeField(std::string_view text, std::optional<std::string_view> none) {
  if (none && TrimBlanks(text) == Cp(texts::kOutOfRange)) return std::string(*none);
  const auto hours = ParseDateTimeText(text);
  if (!hours) return std::nullopt;
  return TimeFieldText(*hours);
}

std::optional<std::string> AspectLineOfRow(std::string_view row, const ColumnOrder& order) {
  const auto pieces = RowPieces(row, kAspectPieceCount);
  if (!pieces) return std::nullopt;
  const auto moving = ReadPointCell((*pieces)[1]);
  const auto angle = ReadAngle((*pieces)[2]);
  const auto base = ReadPointCell((*pieces)[3]);
  const auto culmination = ReadTimeField((*pieces)[4], std::nullopt);
  const auto start = ReadTimeField((*pieces)[5], kStartNotFoundField);
  const auto end = ReadTimeField((*pieces)[6], kEndNotFoundField);
  if (!moving || !angle || !base || !culmination || !start || !end) return std::nullopt;
  const AspectFields fields = {PointFieldText(moving->slot, moving->longitudeDeg),
                               AngleFieldText(*angle),
                               PointFieldText(base->slot, base->longitudeDeg),
                               *culmination,
                               *start,
                               *end};
  return ArrangedLine(fields, order);
}

// The rows' lines, none when one of them does not read.
template <typename LineOfRow>
std::optional<CalendarResult> ParseRows(const std::string& bytes, std::string_view title, LineOfRow lineOfRow) {
  CalendarResult result;
  const auto rows = FileRows(bytes, title, result.header);
  if (!rows) return std::nullopt;
  for (const std::string& row : *rows) {
    auto line = lineOfRow(row);
    if (!line) return std::nullopt;
    result.lines.push_back(std::move(*line));
  }
  return result;
}

}  // namespace

std::string VoidMoonFileBytes(const CalendarResult& result) {
  std::string bytes = HeadOfFile(texts::kVoidFileTitle, result.header, kVoidRulerWidth, Cp(texts::kVoidFileColumns));
  for (const std::string& line : result.lines) {
    if (const auto parsed = ParseVoidLine(line)) bytes += VoidRow(*parsed);
  }
  return bytes;
}

std::optional<CalendarResult> ParseVoidMoonFile(const std::string& bytes) {
  return ParseRows(bytes, texts::kVoidFileTitle, VoidLineOfRow);
}

std::string AspectFileBytes(const CalendarResult& result, const ColumnOrder& order) {
  std::string bytes =
      HeadOfFile(texts::kAspectFileTitle, result.header, kAspectRulerWidth, AspectColumnTitles(result.header));
  for (const std::string& line : result.lines) {
    if (const auto parsed = ParseAspectLine(line, order)) bytes += AspectRow(*parsed);
  }
  return bytes;
}

std::optional<CalendarResult> ParseAspectFile(const std::string& bytes, const ColumnOrder& order) {
  return ParseRows(bytes, texts::kAspectFileTitle,
                   [&order](std::string_view row) { return AspectLineOfRow(row, order); });
}

}  // namespace kelvara::calendars
