#include "app/event_map_picture.h"

#include <algorithm>
#include <cstdio>

#include "app/step_shift.h"
#include "display/chart_wheel.h"
#include "workspace/hour_scale.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;
namespace em = eventmap;

constexpr const char* kCaptionPrefix = "Карта событий";
constexpr int kCaptionDivisor = 24;      // caption height: the picture's short side / 24
constexpr int kSmallestCaption = 9;      // pixels
constexpr int kCaptionMarginDivisor = 4;  // of the caption height, around it
constexpr platform::Color kCaptionColor{0, 0, 0};
constexpr platform::Color kRefusalColor{180, 0, 0};

std::string DateText(const ws::CalendarMoment& day) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", day.day, day.month, day.year);
  return text;
}

ws::CalendarMoment DateOnly(const ws::CalendarMoment& moment) { return {moment.year, moment.month, moment.day}; }

EventMapDay DayOfChart(const ws::ChartRecord& chart, const ws::CalendarMoment& day) {
  return {DateOnly(day), chart.placeName, chart.latitudeDeg, chart.longitudeDeg, chart.gmtOffsetHours};
}

ws::CalendarMoment Today(const platform::Clock& clock) {
  const platform::DateTime now = clock.LocalNow();
  return {now.Year(), now.Month(), now.Day()};
}

std::string EventTimeLine(const em::EventRecord& event, em::TimeFormat format) {
  const auto time = [&](double hours, bool found) { return found ? em::EventTimeText(hours, format) : std::string(em::kNotFoundText); };
  return em::EventPairText(event) + ": " + time(event.startHours, event.startFound) + " — " +
         em::EventTimeText(event.culminationHours, format) + " — " + time(event.endHours, event.endFound);
}

}  // namespace

EventMapDay ChooseEventMapDay(const Session& session, const platform::Clock* clock) {
  const ws::WorkspaceState& charts = session.charts;
  if (charts.doubleChart) return DayOfChart(charts.second, charts.second.local);
  if (!clock) return DayOfChart(charts.main, charts.main.local);
  EventMapDay day = DayOfChart(charts.main, Today(*clock));
  day.fixedOffsetHours = clock->TimeZone().CurrentOffsetHours();
  if (const places::CityRecord* city = CityNamed(session.cityBase, charts.nowPlace)) {
    day.placeName = charts.nowPlace;
    day.latitudeDeg = city->Latitude();
    day.longitudeDeg = city->Longitude();
  }
  return day;
}

ws::CalendarMoment ShiftedDay(const ws::CalendarMoment& day, int days) {
  return DateOnly(ws::MomentFromHours(ws::HoursSince1860(DateOnly(day)) + 24.0 * days));
}

std::string EventMapCaption(const EventMapDay& day) {
  std::string caption = std::string(kCaptionPrefix) + " " + DateText(day.day);
  if (!day.placeName.empty()) caption += ", " + day.placeName;
  return caption;
}

EventMapPicture::EventMapPicture(const ws::ChartEngine& engine, const ws::TimeZoneSource* zones,
                                 const platform::Clock* clock)
    : engine_(engine), zones_(zones), clock_(clock) {}

EventMapPicture::ScanKey EventMapPicture::KeyOf(const Session& session, const EventMapDay& day) const {
  ScanKey key{session.charts.main.objects, session.aspectTables.between, day,
              std::clamp(session.settings.mapSteps, 0, em::kStepsChoices - 1), {}};
  // The transiting points follow the second chart's object settings, as the transits stand
  // where a second chart would.
  for (int slot = ws::kFirstSlot; slot <= em::kLastTransitingPoint; ++slot) {
    key.transiting[slot] = ActiveObjectSettings(session, kSecondChart)[slot].usedAsMoving;
  }
  return key;
}

void EventMapPicture::ScanIfChanged(const Session& session, const EventMapDay& day) {
  ScanKey key = KeyOf(session, day);
  if (scanned_ && *scanned_ == key) return;
  em::DayScanRequest request;
  request.year = day.day.year;
  request.month = day.day.month;
  request.day = day.day.day;
  request.stepsIndex = key.stepsIndex;
  request.placeName = day.placeName;
  request.latitudeDeg = day.latitudeDeg;
  request.longitudeDeg = day.longitudeDeg;
  request.zones = zones_;
  request.fixedOffsetHours = day.fixedOffsetHours;
  request.transiting = key.transiting;
  em::DayScanOutcome outcome = em::DayScan(session.charts.main, key.aspects, request, engine_);
  scanned_ = std::move(key);
  refusal_ = outcome.refusal;
  if (outcome.lists) {
    lists_ = std::move(outcome.lists);
    listsDay_ = day.day;
  }
}

EventMapDay EventMapPicture::DayShown(const Session& session) const {
  EventMapDay day = ChooseEventMapDay(session, clock_);
  day.day = ShiftedDay(pickedDay_.value_or(day.day), dayShift_);
  return day;
}

ws::CalendarMoment EventMapPicture::ShownDay(const Session& session) const { return DayShown(session).day; }

void EventMapPicture::Draw(platform::Canvas& canvas, const ViewMetrics& metrics, Session& session) {
  const EventMapDay day = DayShown(session);
  ScanIfChanged(session, day);
  timeFormat_ = session.settings.twelveHourClock ? em::TimeFormat::kCivil : em::TimeFormat::kMilitary;

  const platform::Rect& rect = metrics.rect;
  if (!metrics.wallpaperUnder) canvas.FillRect(rect, session.settings.mapBackColor);
  const int captionHeight = std::max(kSmallestCaption, std::min(rect.Width(), rect.Height()) / kCaptionDivisor);
  const int margin = captionHeight / kCaptionMarginDivisor;
  EventMapDay shown = day;
  shown.day = lists_ ? listsDay_ : day.day;
  caption_ = refusal_.empty() ? EventMapCaption(shown) : EventMapCaption(shown) + ". " + refusal_;
  canvas.SetFont({em::kDialFace, captionHeight});
  canvas.SetTextColor(refusal_.empty() ? kCaptionColor : kRefusalColor);
  canvas.DrawText({rect.left + margin, rect.top + margin}, caption_);

  const platform::Rect dial{rect.left, rect.top + captionHeight + 2 * margin, rect.right, rect.bottom};
  static const std::vector<em::EventRecord> kNoEvents;
  em::EventMapInputs inputs;
  inputs.exact = lists_ ? &lists_->exact : &kNoEvents;
  inputs.inForce = lists_ ? &lists_->inForce : &kNoEvents;
  inputs.day = shown.day;
  inputs.aspects = &session.aspectTables.between;
  inputs.background = session.settings.mapBackColor;
  inputs.timeFormat = timeFormat_;
  drawn_ = em::DrawEventMap(canvas, dial, inputs);
  DrawClockOverToday(canvas, session);
}

// The hands over the hub, only on today's dial: their hour hand then points at the hour
// of the dial that is now.
void EventMapPicture::DrawClockOverToday(platform::Canvas& canvas, const Session& session) {
  clockShown_ = false;
  if (!clock_ || !session.settings.clock || !lists_ || listsDay_ != Today(*clock_)) return;
  const platform::DateTime now = clock_->LocalNow();
  display::DrawClockFace(canvas, drawn_.geometry.centre, drawn_.geometry.hub, {now.Hour(), now.Minute(), now.Second()});
  clockShown_ = true;
}

std::vector<std::string> EventMapPicture::EventLinesAt(platform::Point pixel) const {
  std::vector<std::string> lines;
  for (const em::EventRecord& event : drawn_.EventsAt(pixel)) lines.push_back(EventTimeLine(event, timeFormat_));
  return lines;
}

std::vector<em::AspectListRow> EventMapPicture::AspectRows(const Session& session) const {
  if (!lists_) return {};
  const auto format = session.settings.twelveHourClock ? em::TimeFormat::kCivil : em::TimeFormat::kMilitary;
  return em::AspectListRows(lists_->exact, lists_->inForce, listsDay_, format);
}

}  // namespace kelvara::app
