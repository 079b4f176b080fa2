#include "calendars/calendar_files.h"

#include <system_error>
#include <vector>

#include "calendars/calendar_texts.h"
#include "platform/codepage.h"
#include "platform/file_io.h"

namespace kelvara::calendars {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kLabelColumn = 15;

std::string TitleLine(PlainCalendarKind kind) {
  const std::string_view title =
      kind == PlainCalendarKind::kLunar ? texts::kLunarFileTitle : texts::kHoursFileTitle;
  return platform::Utf8ToCp1251(title) + std::string(kLineEnd);
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

// Lines end in "\r\n" or a lone "\n"; a last line without either is still a line.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::string Trimmed(std::string_view text, char c) {
  const std::size_t first = text.find_first_not_of(c);
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(c) - first + 1));
}

std::string FileName(const std::filesystem::path& path) { return path.filename().string(); }

}  // namespace

std::string PlainCalendarBytes(PlainCalendarKind kind, const CalendarResult& result) {
  std::string bytes = TitleLine(kind);
  bytes += platform::Utf8ToCp1251(result.header) + std::string(kLineEnd);
  for (const std::string& line : result.lines) bytes += Padded(platform::Utf8ToCp1251(line)) + std::string(kLineEnd);
  return bytes;
}

std::optional<CalendarResult> ParsePlainCalendar(PlainCalendarKind kind, const std::string& bytes) {
  const std::string title = TitleLine(kind);
  const bool lfOnly = bytes.starts_with(title.substr(0, title.size() - kLineEnd.size()) + "\n");
  if (!bytes.starts_with(title) && !lfOnly) return std::nullopt;
  const std::vector<std::string> lines = SplitLines(bytes);
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
  if (platform::WriteFileAtomically(path, PlainCalendarBytes(kind, result))) return std::nullopt;
  return std::string(texts::kCannotWrite) + FileName(path);
}

std::optional<std::string> LoadPlainCalendar(const std::filesystem::path& path, PlainCalendarKind kind,
                                             CalendarResult& result) {
  std::error_code error;
  const auto bytes = platform::ReadFileBytes(path, error, kCalendarFileLimit);
  if (!bytes) {
    if (error == std::errc::file_too_large) return std::string(texts::kBadFile);
    return std::string(texts::kCannotOpen) + FileName(path);
  }
  auto parsed = ParsePlainCalendar(kind, *bytes);
  if (!parsed) return std::string(texts::kBadFile);
  result = std::move(*parsed);
  return std::nullopt;
}

}  // namespace kelvara::calendars
