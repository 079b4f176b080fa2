// The table files of the void-of-course Moon (".LUC") and the aspect calendar (".DAS"):
// Windows-1251 text, lines ending in "\r\n": the title, the header, a ruler, the column
// titles, the ruler again, then one row per result line. Widths count the characters of
// the 8-bit text.
#pragma once

#include <optional>
#include <string>

#include "calendars/calendar_types.h"

namespace kelvara::calendars {

std::string VoidMoonFileBytes(const CalendarResult& result);
// None when the bytes are not a whole ".LUC" file. Every row reads back as the Moon's.
std::optional<CalendarResult> ParseVoidMoonFile(const std::string& bytes);

// The rows' fields in the fixed order moving point, aspect, base point, culmination,
// start, end; the lines hold theirs in `order`.
std::string AspectFileBytes(const CalendarResult& result, const ColumnOrder& order);
// None when the bytes are not a whole ".DAS" file; the lines come back in `order`.
std::optional<CalendarResult> ParseAspectFile(const std::string& bytes, const ColumnOrder& order);

}  // namespace kelvara::calendars
