#include "calendars/calendar_file_text.h"

#include <system_error>

#include "calendars/calendar_files.h"
#include "calendars/calendar_texts.h"
#include "platform/codepage.h"
#include "platform/file_io.h"

namespace kelvara::calendars {
namespace {

std::string FileName(const std::filesystem::path& path) { return path.filename().string(); }

std::string Fitted(std::string_view text, std::size_t width, bool cut, bool left) {
  std::string fitted(cut ? text.substr(0, width) : text);
  if (fitted.size() < width) fitted.insert(left ? fitted.size() : 0, width - fitted.size(), ' ');
  return fitted;
}

}  // namespace

std::string FileLine(std::string_view utf8) { return platform::Utf8ToCp1251(utf8) + std::string(kFileLineEnd); }

bool StartsWithTitle(std::string_view bytes, std::string_view titleUtf8) {
  const std::string title = platform::Utf8ToCp1251(titleUtf8);
  return bytes.starts_with(title + std::string(kFileLineEnd)) || bytes.starts_with(title + "\n");
}

std::vector<std::string> SplitFileLines(std::string_view text) {
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

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t end; (end = text.find(separator)) != std::string_view::npos; text.remove_prefix(end + 1)) {
    parts.push_back(text.substr(0, end));
  }
  parts.push_back(text);
  return parts;
}

std::string LeftAligned(std::string_view text, std::size_t width, bool cut) { return Fitted(text, width, cut, true); }
std::string RightAligned(std::string_view text, std::size_t width, bool cut) { return Fitted(text, width, cut, false); }

std::optional<std::string> WriteCalendarBytes(const std::filesystem::path& path, std::string_view bytes) {
  if (platform::WriteFileAtomically(path, bytes)) return std::nullopt;
  return std::string(texts::kCannotWrite) + FileName(path);
}

std::optional<std::string> ReadCalendarBytes(const std::filesystem::path& path, std::string& bytes) {
  std::error_code error;
  auto read = platform::ReadFileBytes(path, error, kCalendarFileLimit);
  if (!read) {
    if (error == std::errc::file_too_large) return std::string(texts::kBadFile);
    return std::string(texts::kCannotOpen) + FileName(path);
  }
  bytes = std::move(*read);
  return std::nullopt;
}

}  // namespace kelvara::calendars
