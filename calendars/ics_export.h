// A calendar result as iCalendar (RFC 5545) text for other calendar programs: phases and
// lunar days, planetary hours, void-of-course spans and aspects as events in UTC.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "calendars/calendar_view.h"
#include "workspace/chart_compute.h"
#include "workspace/chart_record.h"

namespace kelvara::calendars {

// The clock a result's times are shown on, as its header tells: Greenwich, a fixed
// offset ("(GMT:+3:00)" in the header) or the clock of a place (local times).
struct ShownClock {
  enum class Kind { kUtc, kFixedOffset, kPlace, kUnknown };
  Kind kind = Kind::kUnknown;
  double offsetHours = 0.0;  // kFixedOffset, east positive
  std::string placeName;     // kPlace
  // The place's position when known; the zone source then also finds a renamed place.
  double latitudeDeg = workspace::kNotAvailable;
  double longitudeDeg = workspace::kNotAvailable;
};
ShownClock ClockOfResult(CalendarViewMode mode, const CalendarResult& result);

// A moment on the shown clock back in UTC; none where the clock does not tell (a place
// the zones do not know, or no zones).
using ToUtc = std::function<std::optional<double>(double shownHours)>;
ToUtc ShownToUtc(const ShownClock& clock, const workspace::TimeZoneSource* zones);

struct IcsRequest {
  CalendarViewMode mode = CalendarViewMode::kLunar;
  ColumnOrder columnOrder = kInitialColumnOrder;  // of the aspect calendar's lines
  ToUtc toUtc;
  double stampUtcHours = 0.0;  // DTSTAMP, hours since 1860 UTC: when the export is made
};

struct IcsCalendar {
  std::string text;  // CRLF lines, folded
  int events = 0;
  int skipped = 0;  // lines that do not read or whose time does not go back to UTC
};

// Phases and lunar-day starts (a lunar day lasts until the next one begins), each hour
// until the next hour, each void span from the last aspect to the ingress, each aspect
// at its culmination with the orb's entry and exit in the description.
IcsCalendar CalendarToIcs(const CalendarResult& result, const IcsRequest& request);

// The message to show, none when written. A failed write leaves the old file as it was.
std::optional<std::string> SaveIcs(const std::filesystem::path& path, std::string_view text);

// --- RFC 5545 pieces ---

// TEXT value: "\", ";", "," and line breaks escaped.
std::string IcsEscaped(std::string_view text);
// One content line with its CRLF, folded before 75 octets without splitting a character.
std::string IcsFolded(std::string_view line);
// "20250101T120000Z", to the nearest second.
std::string IcsUtcTime(double utcHours);

}  // namespace kelvara::calendars
