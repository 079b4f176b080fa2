// The aspect calendar: every exact aspect of a moving chart's points to a base chart's
// points over a date range, with the moments the orb is entered and left. Its lines hold
// six fields (1 moving point, 2 aspect, 3 base point, 4 culmination, 5 start, 6 end) in
// the column order, each behind a "#".
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "calendars/scan_calendar.h"
#include "workspace/aspect_tables.h"

namespace kelvara::calendars {

inline constexpr int kAspectFieldCount = 6;
// A start before the scan and an end after it, as the lines write them.
inline constexpr std::string_view kStartNotFoundField = "-1";
inline constexpr std::string_view kEndNotFoundField = "9999999999.9999";

// The method the charts of the main window give, and the charts it scans.
struct AspectMethod {
  std::string method;     // the scanner's method name
  std::string code;       // "Tr|Nt|" + the base chart's name, ...
  std::string shortCode;  // "Tr", "Dr", "Pr"
  PairCharts charts;      // `natal` points at the main chart given
};

// The frozen current-moment chart ("Останов") as the main chart gives the transit
// background; a directed or progressed second chart moves against the main chart;
// otherwise transits move against it (a second chart of another kind counts as none,
// and without a second chart the main chart's houses are left out). `main` must
// outlive the method.
AspectMethod ChooseAspectMethod(const workspace::ChartRecord& main, const workspace::ChartRecord* second);

using AspectFields = std::array<std::string, kAspectFieldCount>;

// The pieces of the fields: "%02d(%07.3lf)" (a longitude that rounds to 360 is 0),
// "%07.3lf" and "%014.4lf".
std::string PointFieldText(int point, double longitudeDeg);
std::string AngleFieldText(double angleDeg);
std::string TimeFieldText(double shownHours);

// The raw fields of an event: "%02d(%07.3lf)", "%07.3lf", "%02d(%07.3lf)" and three
// times "%014.4lf" on the shown clock, each at the offset in force then.
AspectFields RawFields(const CalendarEvent& event, const PlaceClock& clock);
// "#" + field c1 + "#" + field c2 ... in the column order c1 ... c6.
std::string ArrangedLine(const AspectFields& fields, const ColumnOrder& order);
// The lines of the events in the column order, sorted by their bytes.
std::vector<std::string> AspectCalendarLines(const std::vector<CalendarEvent>& events, const PlaceClock& clock,
                                             const ColumnOrder& order);

struct AspectCalendarCharts {
  const workspace::ChartRecord& main;
  const workspace::ChartRecord* second = nullptr;  // null without a double chart
};

// The calculation with the program's aspect tables for the request's dates, the place's
// clock from its name and the main chart's position. None when the worker asked it to
// stop; a result whose refusal says why when a chart cannot be cast over the range.
std::optional<CalendarResult> CalculateAspectCalendar(const CalendarRequest& request, const AspectCalendarCharts& charts,
                                                      const workspace::AspectTables& aspects, const ColumnOrder& order,
                                                      const ScanCalendarRun& run);

}  // namespace kelvara::calendars
