// Planetary hours: each daylight and each night at a place in twelve equal hours, each
// named after the planet that rules it.
#pragma once

#include <optional>

#include "calendars/calendar_common.h"

namespace kelvara::calendars {

// The planet (1 Sun ... 7 Saturn, as the chart's point table numbers them) that rules the
// day of an ISO weekday (1 = Monday ... 7 = Sunday).
int DayRuler(int isoWeekday);

// The local date's weekday of a Greenwich moment at the place: the place's offset when it
// is known, else the longitude's solar offset.
int LocalWeekday(double greenwichHours, const CalendarRequest& request, const workspace::TimeZoneSource* zones);

// None when stopped; above the polar circle an empty result whose refusal says why.
std::optional<CalendarResult> CalculatePlanetaryHours(const CalendarRequest& request, const CalendarRun& run);

}  // namespace kelvara::calendars
