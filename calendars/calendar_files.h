// The calendars' files: the lunar calendar's ".MOO" and the planetary hours' ".PLH"
// (Windows-1251 text, lines ending in "\r\n": the title, the header, then the result's
// lines), and the one entry for all four kinds, the tables ".LUC" and ".DAS" included.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "calendars/calendar_types.h"

namespace kelvara::calendars {

enum class PlainCalendarKind { kPlanetaryHours, kLunar };

// A year of hours takes about 400 KB; anything far beyond that is not ours.
inline constexpr std::uintmax_t kCalendarFileLimit = 16u * 1024u * 1024u;

// The file's bytes. Labels are padded with blanks before "|" so that it stands at the
// fifteenth character at least.
std::string PlainCalendarBytes(PlainCalendarKind kind, const CalendarResult& result);
// The result in a file's bytes; none when they are not such a file.
std::optional<CalendarResult> ParsePlainCalendar(PlainCalendarKind kind, const std::string& bytes);

// Both give the message to show, none when all went well. A failed write leaves the old
// file as it was; a failed read leaves `result` as it was.
std::optional<std::string> SavePlainCalendar(const std::filesystem::path& path, PlainCalendarKind kind,
                                             const CalendarResult& result);
std::optional<std::string> LoadPlainCalendar(const std::filesystem::path& path, PlainCalendarKind kind,
                                             CalendarResult& result);

enum class CalendarFileKind { kPlanetaryHours, kLunar, kVoidMoon, kAspects };

// The file dialog's filter ("Луна без курса (*.LUC)|*.luc||") and default extension (".luc").
std::string_view FileFilter(CalendarFileKind kind);
std::string_view FileExtension(CalendarFileKind kind);

// Any kind's bytes and result; the aspect calendar's lines hold their fields in `order`.
std::string CalendarFileBytes(CalendarFileKind kind, const CalendarResult& result, const ColumnOrder& order);
std::optional<CalendarResult> ParseCalendarFile(CalendarFileKind kind, const std::string& bytes,
                                                const ColumnOrder& order);
// As SavePlainCalendar and LoadPlainCalendar, for every kind. A file that is not of its
// kind, or not whole, gives "Неверная структура файла!" and leaves `result` as it was.
std::optional<std::string> SaveCalendarFile(const std::filesystem::path& path, CalendarFileKind kind,
                                            const CalendarResult& result, const ColumnOrder& order);
std::optional<std::string> LoadCalendarFile(const std::filesystem::path& path, CalendarFileKind kind,
                                            const ColumnOrder& order, CalendarResult& result);

}  // namespace kelvara::calendars
