#include "interpretation/text_files.h"

#include <algorithm>
#include <system_error>

#include "platform/casefold.h"
#include "platform/codepage.h"
#include "platform/file_io.h"
#include "workspace/text_trim.h"

namespace kelvara::interpretation {
namespace {

constexpr char kKeyMark = '#';

// The end of the line that starts at `from` and the start of the next one; a CR LF,
// a lone LF or a lone CR each end a line.
struct LineSpan {
  std::size_t end;
  std::size_t next;
};

LineSpan LineAt(std::string_view bytes, std::size_t from) {
  const std::size_t end = std::min(bytes.find_first_of("\r\n", from), bytes.size());
  std::size_t next = end;
  if (next < bytes.size() && bytes[next] == '\r') ++next;
  if (next < bytes.size() && bytes[next] == '\n') ++next;
  return {end, next};
}

unsigned char UpperByte(unsigned char byte) {
  if (byte >= 'a' && byte <= 'z') return byte - 'a' + 'A';
  if (byte >= 0xE0) return byte - 0x20;  // а..я
  if (byte == 0xB8) return 0xA8;         // ё
  return byte;
}

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (int k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

std::u16string FoldedHostName(std::string_view utf8) { return platform::FoldToUpper(platform::Utf8ToUtf16(utf8)); }

// Library names may come as Windows-1251 bytes (from "List.fls") or UTF-8; a few
// Windows-1251 names also read as UTF-8, so both readings are tried.
std::vector<std::u16string> FoldedReadings(std::string_view name) {
  std::vector<std::u16string> readings{platform::FoldToUpper(platform::Cp1251ToUtf16(name))};
  if (IsValidUtf8(name)) readings.push_back(FoldedHostName(name));
  return readings;
}

bool LeavesFolder(std::string_view name) {
  return name.empty() || name.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos ||
         name.find("..") != std::string_view::npos;
}

std::string HostName(std::string_view name) {
  return IsValidUtf8(name) ? std::string(name) : platform::Cp1251ToUtf8(name);
}

}  // namespace

std::vector<TextEntry> ReadKeyedEntries(std::string_view bytes) {
  std::vector<TextEntry> entries;
  std::size_t mark = bytes.find(kKeyMark);
  while (mark != std::string_view::npos) {
    const std::size_t keyStart = mark + 1;
    if (keyStart < bytes.size() && bytes[keyStart] == kKeyMark) break;
    const LineSpan line = LineAt(bytes, keyStart);
    const std::size_t nextMark = bytes.find(kKeyMark, line.next);
    const std::size_t textEnd = nextMark == std::string_view::npos ? bytes.size() : nextMark;
    TextEntry entry{std::string(bytes.substr(keyStart, line.end - keyStart)),
                    std::string(bytes.substr(line.next, textEnd - line.next))};
    if (!entry.key.empty()) entries.push_back(std::move(entry));
    mark = nextMark;
  }
  return entries;
}

bool IsPlaceholderEntry(const TextEntry& entry) {
  static const std::string placeholder = platform::Utf8ToCp1251(kPlaceholderText);
  return std::string_view(entry.text).substr(0, placeholder.size()) == placeholder;
}

std::string UpperCp1251(std::string_view bytes) {
  std::string upper(bytes);
  for (char& byte : upper) byte = static_cast<char>(UpperByte(static_cast<unsigned char>(byte)));
  return upper;
}

FileList ParseFileList(std::string_view bytes) {
  FileList list;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const LineSpan span = LineAt(bytes, start);
    const std::string line = UpperCp1251(bytes.substr(start, span.end - start));
    start = span.next > span.end ? span.next : span.end + 1;
    if (line.find(kByPlanetsMarker) != std::string::npos) list.byPlanets = true;
    const std::size_t on = line.find(kFileOnMarker);
    if (on == std::string::npos) continue;
    const std::string name = line.substr(0, on) + line.substr(on + kFileOnMarker.size());
    const std::string_view trimmed = workspace::TrimBlanks(name);
    if (!trimmed.empty()) list.files.emplace_back(trimmed);
  }
  return list;
}

std::optional<std::filesystem::path> FindFileNoCase(const std::filesystem::path& folder, std::string_view name) {
  if (LeavesFolder(name)) return std::nullopt;
  std::error_code error;
  const std::filesystem::path exact = folder / HostName(name);
  if (std::filesystem::exists(exact, error)) return exact;
  const std::vector<std::u16string> wanted = FoldedReadings(name);
  std::optional<std::filesystem::path> found;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string entryName = it->path().filename().string();
    if (std::find(wanted.begin(), wanted.end(), FoldedHostName(entryName)) == wanted.end()) continue;
    if (!found || entryName < found->filename().string()) found = it->path();
  }
  return found;
}

FileBytes ReadLibraryFile(const std::filesystem::path& path, std::string_view shownName) {
  std::error_code error;
  auto bytes = platform::ReadFileBytes(path, error, kTextFileSizeLimit);
  if (bytes) return {std::move(bytes), {}};
  if (error == std::errc::file_too_large) return {std::nullopt, std::string(kOutOfMemoryMessage)};
  return {std::nullopt, std::string(kFileNotFoundMessage) + HostName(shownName)};
}

FileBytes ReadFolderFile(const std::filesystem::path& folder, std::string_view name, std::string_view shownName) {
  const auto path = FindFileNoCase(folder, name);
  if (!path) return {std::nullopt, std::string(kFileNotFoundMessage) + HostName(shownName)};
  return ReadLibraryFile(*path, shownName);
}

}  // namespace kelvara::interpretation
