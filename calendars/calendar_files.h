// The lunar calendar's ".MOO" and the planetary hours' ".PLH" files: Windows-1251 text,
// lines ending in "\r\n": the title, the header, then the result's lines.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

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

}  // namespace kelvara::calendars
