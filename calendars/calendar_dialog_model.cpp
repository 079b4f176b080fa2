#include "calendars/calendar_dialog_model.h"

#include <algorithm>

#include "calendars/calendar_texts.h"
#include "workspace/hour_scale.h"

namespace kelvara::calendars {
namespace {

using workspace::CalendarMoment;

CalendarMoment DateOf(const platform::DateTime& day) {
  const platform::DateTimeFields f = day.Fields();
  return {f.year, f.month, f.day, 0, 0, 0};
}

// The scale's first and last day bound a default range, so it always passes the checks.
CalendarMoment DaysFrom(const CalendarMoment& date, int days) {
  const platform::DateTime first = platform::DateTime::FromFields(workspace::kFirstYear, 1, 1);
  const platform::DateTime last = platform::DateTime::FromFields(workspace::kLastYear, 12, 31);
  const platform::DateTime moved =
      platform::DateTime::FromFields(date.year, date.month, date.day) + platform::TimeSpan::FromDays(days);
  if (!moved.IsValid()) return DateOf(days < 0 ? first : last);
  return DateOf(std::clamp(moved, first, last));
}

struct DefaultRange {
  CalendarMoment from;
  CalendarMoment to;
};

DefaultRange RangeFor(CalendarDialogMode mode, const CalendarDialogContext& context) {
  const CalendarMoment today = DateOf(context.today);
  switch (mode) {
    case CalendarDialogMode::kLunar:
    case CalendarDialogMode::kPlanetaryHours:
      return {DaysFrom(today, -kDaysAroundToday), DaysFrom(today, kDaysAroundToday)};
    case CalendarDialogMode::kVoidMoon:
    case CalendarDialogMode::kAspects: {
      const CalendarMoment start = DaysFrom(context.secondChartDate.value_or(today), 0);
      return {start, DaysFrom(start, mode == CalendarDialogMode::kVoidMoon ? kVoidMoonDays : kAspectDays)};
    }
  }
  return {today, today};
}

bool OnScale(const CalendarMoment& date) { return workspace::IsValidMoment(date); }

}  // namespace

CalendarDialogLayout DialogLayout(CalendarDialogMode mode) {
  switch (mode) {
    case CalendarDialogMode::kLunar: return {texts::kLunarDialogTitle};
    case CalendarDialogMode::kPlanetaryHours:
      return {texts::kHoursDialogTitle, true, true, false, false, false};
    case CalendarDialogMode::kVoidMoon: return {texts::kVoidDialogTitle, false, false, false, false, true};
    case CalendarDialogMode::kAspects: return {texts::kAspectDialogTitle, true, false, false, false, false};
  }
  return {};
}

CalendarRequest OpeningRequest(CalendarDialogMode mode, const CalendarDialogContext& context,
                               const std::optional<CalendarRequest>& kept) {
  CalendarRequest request = kept.value_or(CalendarRequest{});
  const bool chartPlace = !kept || !DialogLayout(mode).placeEnabled;
  if (chartPlace) {
    request.placeName = context.placeName;
    request.latitudeDeg = context.latitudeDeg;
    request.longitudeDeg = context.longitudeDeg;
  }
  const DefaultRange range = RangeFor(mode, context);
  request.from = range.from;
  request.to = range.to;
  return request;
}

CalendarDialogCheck CheckCalendarForm(CalendarDialogMode mode, const CalendarDialogForm& form) {
  const CalendarRequest& request = form.request;
  if (!OnScale(request.from)) return {false, texts::kBadRange, CalendarDialogFocus::kFromDate};
  if (!OnScale(request.to)) return {false, texts::kBadRange, CalendarDialogFocus::kToDate};
  if (workspace::HoursSince1860(request.from) > workspace::HoursSince1860(request.to)) {
    return {false, texts::kBadRange, CalendarDialogFocus::kFromDate};
  }
  if (!DialogLayout(mode).placeEnabled) return {};
  const workspace::BirthDataCheck place = workspace::CheckCoordinates(form.latitude, form.longitude);
  if (!place.ok) return {false, place.message, CalendarDialogFocus::kCoordinate, place.focus};
  return {};
}

}  // namespace kelvara::calendars
