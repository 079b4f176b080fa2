#include "calendars/scan_calendar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "calendars/calendar_texts.h"
#include "eventmap/visible_events.h"
#include "platform/worker.h"

namespace kelvara::calendars {
namespace {

// The rectangle the calendars select their events with.
constexpr platform::Rect kSelectionRect{0, 0, 100, 50};
// Casts reach this many steps beyond the scan, so every moment has its four casts around it.
constexpr double kSampleMarginSteps = 2.0;

double SampleStep(const eventmap::EventScanner& scanner) {
  return std::max(1.0, std::round(scanner.StepHours() / scanner.SubStepsPerStep()));
}

std::optional<PairSamples> SamplesOf(const eventmap::EventScanner& scanner, const PairCharts& pair,
                                     const ScanCalendarRun& run) {
  const double step = SampleStep(scanner);
  const double first = std::max(workspace::kScaleStartHours, scanner.ScanStartHours() - kSampleMarginSteps * step);
  const double last = std::min(workspace::ScaleEndHours(), scanner.ScanEndHours() + kSampleMarginSteps * step);
  return PairSamples::Cast(run.engine, pair, first, last, step, [&run] { return run.StopRequested(); });
}

// The scanner's moment when the search finds no better one.
double Refined(const PairSamples& samples, const eventmap::EventRecord& r, const std::vector<double>& separations,
               double hours, PairPositions* positions = nullptr) {
  const auto refined = RefineMoment(samples, r.movingPoint, r.basePoint, separations, hours);
  if (!refined) return hours;
  if (positions) *positions = refined->positions;
  return refined->hours;
}

CalendarEvent EventOf(const eventmap::EventRecord& r, const PairSamples& samples) {
  CalendarEvent e;
  e.movingPoint = r.movingPoint;
  e.basePoint = r.basePoint;
  e.angleDeg = r.aspectAngleDeg;
  PairPositions positions{workspace::Normalise360(r.movingLongitudeDeg), workspace::Normalise360(r.baseLongitudeDeg)};
  e.culminationHours = Refined(samples, r, AspectSeparations(r.aspectAngleDeg), r.culminationHours, &positions);
  e.movingDeg = positions.movingDeg;
  e.baseDeg = positions.baseDeg;
  const std::vector<double> boundaries = AspectSeparations(r.aspectAngleDeg, std::fabs(r.orbDeg) / 2.0);
  if (r.startFound) e.startHours = Refined(samples, r, boundaries, r.startHours);
  if (r.endFound) e.endHours = Refined(samples, r, boundaries, r.endHours);
  return e;
}

}  // namespace

bool ScanCalendarRun::StopRequested() const { return worker != nullptr && worker->StopRequested(); }

PlaceClock::PlaceClock(const workspace::TimeZoneSource* zones, std::string placeName, double latitudeDeg,
                       double longitudeDeg, double chartOffsetHours, double windowStartLocalHours)
    : zones_(zones),
      placeName_(std::move(placeName)),
      latitudeDeg_(latitudeDeg),
      longitudeDeg_(longitudeDeg),
      startOffset_(chartOffsetHours),
      zoneKnown_(false) {
  if (const auto offset = ZoneOffset(windowStartLocalHours, false)) {
    startOffset_ = *offset;
    zoneKnown_ = true;
  }
}

std::optional<double> PlaceClock::ZoneOffset(double hours, bool greenwich) const {
  if (zones_ == nullptr) return std::nullopt;
  return zones_->OffsetHoursAt(placeName_, latitudeDeg_, longitudeDeg_, hours, greenwich);
}

// A summer-time change inside the range moves the clock by an hour from then on.
double PlaceClock::OffsetAt(double greenwichHours) const {
  if (!zoneKnown_) return startOffset_;
  return ZoneOffset(greenwichHours, true).value_or(startOffset_);
}

double PlaceClock::GreenwichOf(double localHours) const {
  if (!zoneKnown_) return localHours - startOffset_;
  return localHours - ZoneOffset(localHours, false).value_or(startOffset_);
}

std::string DateRangeText(const CalendarRequest& request) {
  char text[80];
  std::snprintf(text, sizeof text, texts::kDateRangeFormat, request.from.day, request.from.month, request.from.year,
                request.to.day, request.to.month, request.to.year);
  return text;
}

ScanEvents ScanExactEvents(eventmap::EventScanner& scanner, const PairCharts& pair, double windowStartHours,
                           double windowEndHours, const ScanCalendarRun& run) {
  ScanEvents result;
  if (!(windowEndHours > windowStartHours)) return result;
  // Nobody is asked in a calendar: its methods never step through the houses hour by hour.
  if (scanner.HouseQuestion()) scanner.AcceptHouses();
  scanner.SetWindow(windowStartHours, windowEndHours);
  if (scanner.Prepare() != eventmap::PrepareResult::kReady) return {ScanStatus::kRefused, {}};
  const eventmap::ScanOutcome outcome = scanner.Run(run.worker);
  if (run.StopRequested()) return {ScanStatus::kStopped, {}};
  if (outcome != eventmap::ScanOutcome::kFinished) return {ScanStatus::kRefused, {}};
  const std::optional<PairSamples> samples = SamplesOf(scanner, pair, run);
  if (run.StopRequested()) return {ScanStatus::kStopped, {}};
  if (!samples) return {ScanStatus::kRefused, {}};
  const eventmap::VisibleEvents visible =
      eventmap::SelectVisibleEvents(scanner, windowStartHours, windowEndHours, kSelectionRect);
  for (const eventmap::EventRecord* r : visible.events) {
    if (r->exactFound) result.events.push_back(EventOf(*r, *samples));
  }
  std::stable_sort(result.events.begin(), result.events.end(), [](const CalendarEvent& a, const CalendarEvent& b) {
    return a.culminationHours < b.culminationHours;
  });
  return result;
}

}  // namespace kelvara::calendars
