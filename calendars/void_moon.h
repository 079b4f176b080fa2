// The void-of-course Moon: each span from the Moon's last aspect in a sign to its entry
// into the next sign, over a date range, as pairs of result lines
// "%02d#%06.2lf#%02d#%014.4lf" (moving point, angle, base point, time on the shown clock).
#pragma once

#include <optional>
#include <vector>

#include "calendars/scan_calendar.h"
#include "workspace/aspect_tables.h"

namespace kelvara::calendars {

// Base points 17-28 of the scan stand on the sign boundaries 0, 30, ... 330 degrees.
inline constexpr int kFirstSignBoundary = workspace::kSlotFirstCusp;
inline constexpr int kLastSignBoundary = workspace::kSlotLastCusp;
inline constexpr double kVoidOrbDeg = 1.0;

// The aspect rows of the scan: one per chosen aspect from row 0 on, orb 1 for the bodies;
// the conjunction's row also finds the ingresses, and a conjunction row for the sign
// boundaries alone is added when the conjunction itself is not chosen.
workspace::AspectTables VoidAspectTables(const CalendarRequest& request);

// A last aspect and the ingress that ends its void span.
struct VoidSpan {
  CalendarEvent lastAspect;
  CalendarEvent ingress;
};

// Pairs, in time order, the last aspect of the Moon before each ingress with it; an
// ingress with no aspect since the previous one gives no span, aspects to the sign
// boundaries other than the conjunction are not ingresses.
std::vector<VoidSpan> PairVoidSpans(const std::vector<CalendarEvent>& events);

// "%02d#%06.2lf#%02d#%014.4lf" with the Moon as the moving point.
std::string VoidResultLine(int basePoint, double angleDeg, double shownHours);
// A Sun-Moon aspect (the Sun moving) is written as the Moon's to the Sun.
std::string VoidEventLine(const CalendarEvent& event, const PlaceClock& clock);

// The calculation on the transit chart (the frozen current-moment chart) for the
// request's dates; the place's clock from its name and the chart's position. None when
// the worker asked it to stop; a result whose refusal says why when the chart cannot be
// cast over the range.
std::optional<CalendarResult> CalculateVoidMoon(const CalendarRequest& request, const workspace::ChartRecord& transit,
                                                const ScanCalendarRun& run);

}  // namespace kelvara::calendars
