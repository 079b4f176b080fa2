// The lunar calendar: the four phases of the Moon and the beginnings of the lunar days
// over a date range at a place.
#pragma once

#include <optional>

#include "calendars/calendar_common.h"

namespace kelvara::calendars {

// Moon minus Sun at each phase, as the finder's target: D = Moon - Sun + target.
inline constexpr double kNewMoonTarget = 0.0;
inline constexpr double kFirstQuarterTarget = 270.0;
inline constexpr double kFullMoonTarget = 180.0;
inline constexpr double kLastQuarterTarget = 90.0;

// The moment, on a one-minute grid from `startHours`, just past the one at which the
// phase is exact, searching forward or backward; none when the search leaves 1860-2130
// or runs out of trials.
std::optional<double> FindPhase(const workspace::ChartEngine& engine, double startHours,
                                double latitudeDeg, double longitudeDeg, double targetDeg,
                                bool forward);

// Sorts by time; phase lines, added first, stay before lunar-day lines of the same second.
// A new moon and its neighbouring day 1 then share day 1's moment, the new moon first.
void OrderLunarEntries(std::vector<CalendarEntry>& entries);

// None when stopped. Above the polar circle the phases are still listed and the lunar
// days refused (the result's refusal says why).
std::optional<CalendarResult> CalculateLunarCalendar(const CalendarRequest& request,
                                                     const CalendarRun& run);

}  // namespace kelvara::calendars
