// What the four calendar files share: Windows-1251 lines ending in "\r\n", the title
// line that tells the kinds apart, and reading and writing with the user's messages.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara::calendars {

inline constexpr std::string_view kFileLineEnd = "\r\n";

// A UTF-8 text as a file line: Windows-1251 bytes and the line end.
std::string FileLine(std::string_view utf8);
// Whether the bytes begin with the title line, ended by "\r\n" or a lone "\n".
bool StartsWithTitle(std::string_view bytes, std::string_view titleUtf8);
// Lines end in "\r\n" or a lone "\n"; a last line without either is still a line.
std::vector<std::string> SplitFileLines(std::string_view text);
// The text cut at every `separator`.
std::vector<std::string_view> SplitAt(std::string_view text, char separator);
// Windows-1251 text padded with blanks to `width` characters, or cut to it when `cut`.
std::string LeftAligned(std::string_view text, std::size_t width, bool cut);
std::string RightAligned(std::string_view text, std::size_t width, bool cut);

// The message to show, none when all went well. A failed write leaves the old file as it
// was; an unreadable or oversized file gives its message and no bytes.
std::optional<std::string> WriteCalendarBytes(const std::filesystem::path& path, std::string_view bytes);
std::optional<std::string> ReadCalendarBytes(const std::filesystem::path& path, std::string& bytes);

}  // namespace kelvara::calendars
