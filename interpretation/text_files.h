// The files of the interpretation text library: a section's "List.fls" and the
// "#"-keyed text files it names. Everything read here stays Windows-1251 bytes, as
// in the files; callers convert keys they build themselves before comparing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara::interpretation {

// No text file of the library is anywhere near this; a larger one is refused as
// "Не хватило памяти!" instead of being read whole.
inline constexpr std::uintmax_t kTextFileSizeLimit = 16u * 1024u * 1024u;

inline constexpr std::string_view kListFileName = "List.fls";
inline constexpr std::string_view kSectionNameFile = "Name.thm";
inline constexpr std::string_view kByPlanetsMarker = "BY PLANETS";
inline constexpr std::string_view kFileOnMarker = "; ON";

// UTF-8; the library's texts hold it in Windows-1251.
inline constexpr std::string_view kPlaceholderText = "<вставьте текст интерпретации вместо данной строки>";

// Messages (UTF-8); the file or path follows "Не найден файл ".
inline constexpr std::string_view kFileNotFoundMessage = "Не найден файл ";
inline constexpr std::string_view kOutOfMemoryMessage = "Не хватило памяти!";

struct TextEntry {
  std::string key;   // the rest of the "#" line, its line end removed
  std::string text;  // up to the next "#" (exclusive), bytes as in the file
};

// The entries of a "#"-keyed text file. Reading stops at an entry that begins right
// with "#" ("##"), when no further "#" follows, or at the end; the last entry runs to
// the end when no "#" closes it. Entries with an empty key are left out; placeholder
// entries are kept (IsPlaceholderEntry tells them apart).
std::vector<TextEntry> ReadKeyedEntries(std::string_view bytes);

// True when the entry's text begins with the placeholder sentence.
bool IsPlaceholderEntry(const TextEntry& entry);

struct FileList {
  bool byPlanets = false;
  std::vector<std::string> files;  // upper-cased Windows-1251 names, as listed
};

// "List.fls": CR LF or LF lines, each upper-cased; "BY PLANETS" anywhere in a line
// switches planet ordering on; a line holding "; ON" names a file (the line without
// "; ON", blanks trimmed). Other lines are ignored.
FileList ParseFileList(std::string_view bytes);

// Upper case of Windows-1251 bytes (Latin and Cyrillic).
std::string UpperCp1251(std::string_view bytes);

// The entry of `folder` whose name equals `name` ignoring case (Windows-1251 or UTF-8
// names both fold); an exact match wins. Names with "/", "\" or ".." are refused, so
// a lookup never leaves the folder.
std::optional<std::filesystem::path> FindFileNoCase(const std::filesystem::path& folder, std::string_view name);

// A library text file's bytes, or the message (UTF-8) that tells why it could not be
// read: "Не найден файл " + `shownName` when missing, "Не хватило памяти!" when over
// the size limit.
struct FileBytes {
  std::optional<std::string> bytes;
  std::string message;
};
FileBytes ReadLibraryFile(const std::filesystem::path& path, std::string_view shownName);
// The same for the file of `folder` named `name` in any case.
FileBytes ReadFolderFile(const std::filesystem::path& folder, std::string_view name, std::string_view shownName);

}  // namespace kelvara::interpretation
