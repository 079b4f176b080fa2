#include "calendars/calendar_files.h"

#include <vector>

#include "calendars/calendar_file_text.h"
#include "calendars/calendar_texts.h"
#include "calendars/table_files.h"
#include "platform/codepage.h"

namespace kelvara::calendars {

namespace {

constexpr std::size_t kLabelColumn = 15;

std::string_view TitleOf(PlainCalendarKind kind) {
  return kind == PlainCalendarKind::kLunar ? texts::kLunarFileTitle : texts::kHoursFileTitle;
}

std::string Padded(std::string line) {
  while (line.find('|') < kLabelColumn) {
    std::string wider;
    for (char c : line) {
      if (c == '|') wider += ' ';
      wider += c;
    }
    line = std::move(wider);
  }
  return line;
}

std::string Trimmed(std::string_view text, char c) {
  const std::size_t first = text.find_first_not_of(c);
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(c) - first + 1));
}

}  // namespace

std::string PlainCalendarBytes(PlainCalendarKind kind, const CalendarResult& result) {
  std::string bytes = FileLine(TitleOf(kind)) + FileLine(result.header);
  for (const std::string& line : result.lines) bytes += Padded(platform::Utf8ToCp1251(line)) + std::string(kFileLineEnd);
  return bytes;
}

std::optional<CalendarResult> ParsePlainCalendar(PlainCalendarKind kind, const std::string& bytes) {
  if (!StartsWithTitle(bytes, TitleOf(kind))) return std::nullopt;
  const std::vector<std::string> lines = SplitFileLines(bytes);
  CalendarResult result;
  if (lines.size() >= 2) result.header = platform::Cp1251ToUtf8(lines[1]);
  for (std::size_t i = 2; i < lines.size(); ++i) {
    // Every line but the blank ones between days has a date and a label around its "|".
    if (!lines[i].empty() && lines[i].find('|') == std::string::npos) return std::nullopt;
    result.lines.push_back(platform::Cp1251ToUtf8(lines[i]));
  }
  if (!result.header.empty()) {
    const std::size_t bar = result.header.find('|');
    if (bar == std::string::npos) return std::nullopt;
    result.timeKind = result.header.substr(0, bar);
    result.placeText = Trimmed(std::string_view(result.header).substr(bar), '|');
  }
  return result;
}

std::optional<std::string> SavePlainCalendar(const std::filesystem::path& path, PlainCalendarKind kind,
                                             const CalendarResult& result) {
  return WriteCalendarBytes(path, PlainCalendarBytes(kind, result));
}

std::optional<std::string> LoadPlainCalendar(const std::filesystem::path& path, PlainCalendarKind kind,
                                             CalendarResult& result) {
  const CalendarFileKind fileKind =
      kind == PlainCalendarKind::kLunar ? CalendarFileKind::kLunar : CalendarFileKind::kPlanetaryHours;
  return LoadCalendarFile(path, fileKind, kInitialColumnOrder, result);
}

std::string_view FileFilter(CalendarFileKind kind) {
  switch (kind) {
    case CalendarFileKind::kPlanetaryHours: return texts::kHoursFilter;
    case CalendarFileKind::kLunar: return texts::kLunarFilter;
    case CalendarFileKind::kVoidMoon: return texts::kVoidFilter;
    case CalendarFileKind::kAspects: break;
  }
  return texts::kAspectFilter;
}

std::string_view FileExtension(CalendarFileKind kind) {
  switch (kind) {
    case CalendarFileKind::kPlanetaryHours: return ".plh";
    case CalendarFileKind::kLunar: return ".moo";
    case CalendarFileKind::kVoidMoon: return ".luc";
    case CalendarFileKind::kAspects: break;
  }
  return ".das";
}

std::string CalendarFileBytes(CalendarFileKind kind, const CalendarResult& result, const ColumnOrder& order) {
  switch (kind) {
    case CalendarFileKind::kPlanetaryHours: return PlainCalendarBytes(PlainCalendarKind::kPlanetaryHours, result);
    case CalendarFileKind::kLunar: return PlainCalendarBytes(PlainCalendarKind::kLunar, result);
    case CalendarFileKind::kVoidMoon: return VoidMoonFileBytes(result);
    case CalendarFileKind::kAspects: break;
  }
  return AspectFileBytes(result, order);
}

std::optional<CalendarResult> ParseCalendarFile(CalendarFileKind kind, const std::string& bytes,
                                                const ColumnOrder& order) {
  switch (kind) {
    case CalendarFileKind::kPlanetaryHours: return ParsePlainCalendar(PlainCalendarKind::kPlanetaryHours, bytes);
    case CalendarFileKind::kLunar: return ParsePlainCalendar(PlainCalendarKind::kLunar, bytes);
    case CalendarFileKind::kVoidMoon: return ParseVoidMoonFile(bytes);
    case CalendarFileKind::kAspects: break;
  }
  return ParseAspectFile(bytes, order);
}

std::optional<std::string> SaveCalendarFile(const std::filesystem::path& path, CalendarFileKind kind,
                                            const CalendarResult& result, const ColumnOrder& order) {
  return WriteCalendarBytes(path, CalendarFileBytes(kind, result, order));
}

std::optional<std::string> LoadCalendarFile(const std::filesystem::path& path, CalendarFileKind kind,
                                            const ColumnOrder& order, CalendarResult& result) {
  std::string bytes;
  if (auto message = ReadCalendarBytes(path, bytes)) return message;
  auto parsed = ParseCalendarFile(kind, bytes, order);
  if (!parsed) return std::string(texts::kBadFile);
  result = std::move(*parsed);
  return std::nullopt;
}

}  // namespace kelvara::calendars
