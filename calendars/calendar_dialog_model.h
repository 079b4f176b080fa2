// The calendar dialog without its widgets: what each calendar's dialog shows, the range
// it opens with, the checks of its OK button and the request OK gives.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "calendars/calendar_types.h"
#include "platform/datetime.h"
#include "workspace/birth_data.h"
#include "workspace/coordinate_fields.h"

namespace kelvara::calendars {

enum class CalendarDialogMode { kLunar, kPlanetaryHours, kVoidMoon, kAspects };

// Which groups of the dialog are there and which can be edited.
struct CalendarDialogLayout {
  std::string_view title;
  bool placeShown = true;
  bool placeEnabled = true;     // the aspect calendar shows the chart's place, fixed
  bool phaseChoicesShown = true;
  bool lunarDaysShown = true;
  bool voidAspectsShown = false;
};

CalendarDialogLayout DialogLayout(CalendarDialogMode mode);

// Days before and after today that the lunar calendar and the planetary hours open with,
// and the span of the void-of-course Moon's and the aspect calendar's default ranges.
inline constexpr int kDaysAroundToday = 15;
inline constexpr int kVoidMoonDays = 15;
inline constexpr int kAspectDays = 1;

// What the dialog opens on, taken from the main window.
struct CalendarDialogContext {
  platform::DateTime today;                                 // the clock's local date
  std::optional<workspace::CalendarMoment> secondChartDate;  // none: no second chart set
  std::string placeName;                                    // the main chart's place
  double latitudeDeg = 0.0;
  double longitudeDeg = 0.0;
};

// The request the dialog shows: the mode's default range; the choices and the place of
// the last request of the run (`kept`), else the request's defaults and the chart's place.
// The void Moon and the aspect calendar always take the chart's place.
CalendarRequest OpeningRequest(CalendarDialogMode mode, const CalendarDialogContext& context,
                               const std::optional<CalendarRequest>& kept);

// What the controls say when OK is pressed: the request (coordinates exact as shown) and
// the coordinates as typed, for their checks.
struct CalendarDialogForm {
  CalendarRequest request;
  workspace::AngleFields latitude;
  workspace::AngleFields longitude;
};

enum class CalendarDialogFocus { kFromDate, kToDate, kCoordinate };

struct CalendarDialogCheck {
  bool ok = true;
  std::string_view message;
  CalendarDialogFocus focus = CalendarDialogFocus::kFromDate;
  workspace::BirthField coordinate = workspace::BirthField::kLatitudeDegrees;  // for kCoordinate
};

// The OK checks in their order: dates on the hour scale, from not after to, then (where
// the place can be edited) the coordinates as the place dialogs check them.
CalendarDialogCheck CheckCalendarForm(CalendarDialogMode mode, const CalendarDialogForm& form);

}  // namespace kelvara::calendars
