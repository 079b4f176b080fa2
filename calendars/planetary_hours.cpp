#include "calendars/planetary_hours.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "calendars/calendar_texts.h"
#include "engine/angles.h"
#include "platform/datetime.h"
#include "workspace/chart_record.h"

namespace kelvara::calendars {

namespace {

constexpr int kHoursPerSpan = 12;
constexpr int kPlanetCount = 7;
constexpr double kFirstScanBeforeStartHours = 30.0;
constexpr double kDegreesPerHourOfTime = 15.0;
// The scans stop once a sunrise after the end is seen; without one (a polar night at the
// circle's edge) they give up this many days after the end.
constexpr double kExtraScanDays = 3.0;
// Chaldean order, slowest to fastest as the hours run: Sun, Venus, Mercury, Moon, Saturn, Jupiter, Mars.
constexpr std::array<int, kPlanetCount> kHourSequence = {1, 4, 3, 2, 7, 6, 5};
constexpr std::array<int, kPlanetCount> kDayRulers = {2, 5, 3, 6, 4, 7, 1};

struct SunEvent {
  double hours;
  bool rising;
};

int SequencePosition(int planet) {
  return static_cast<int>(std::find(kHourSequence.begin(), kHourSequence.end(), planet) - kHourSequence.begin());
}

double TruncatedToMinute(double hours) {
  // A hair above, so a moment that is a whole minute in decimal does not fall to the one before.
  return std::floor(hours * 60.0 + 1e-7) / 60.0;
}

class HoursCalculation {
 public:
  HoursCalculation(const CalendarRequest& request, const CalendarRun& run)
      : request_(request), run_(run), start_(StartHours(request)), end_(EndHours(request)),
        progress_(run.progress, engine::RoundHalfAway((end_ - start_) / kHoursPerDay) + 1.0) {}

  std::optional<CalendarResult> Run() {
    CalendarResult result;
    if (IsBeyondPolarCircle(request_.latitudeDeg)) {
      result.refusal = std::string(texts::kPolarHours);
      return result;
    }
    if (!CollectSunEvents()) return std::nullopt;
    std::stable_sort(events_.begin(), events_.end(),
                     [](const SunEvent& a, const SunEvent& b) { return a.hours < b.hours; });
    for (std::size_t i = 0; i + 1 < events_.size(); ++i) {
      if (run_.StopRequested()) return std::nullopt;
      if (i % 4 == 0) progress_.Step();
      AddSpan(events_[i], events_[i + 1].hours);
    }
    Trim();
    FillResult(entries_, request_, run_.zones, result);
    return result;
  }

 private:
  bool CollectSunEvents() {
    bool sunriseAfterEnd = false;
    for (double t = start_ - kFirstScanBeforeStartHours;; t += kHoursPerDay) {
      const bool pastEnd = t - kHoursPerDay >= end_;
      if ((pastEnd && sunriseAfterEnd) || t - kHoursPerDay >= end_ + kExtraScanDays * kHoursPerDay) break;
      if (run_.StopRequested()) return false;
      progress_.Step();
      const auto events = DayEvents(run_.dayScan, t, request_, kSunBody);
      if (!events) continue;
      for (const HorizonEvent& event : *events) {
        if (event.event != kRisingEvent && event.event != kSettingEvent) continue;
        const bool rising = event.event == kRisingEvent;
        events_.push_back({event.hours, rising});
        if (rising && event.hours > end_) sunriseAfterEnd = true;
      }
    }
    return true;
  }

  // Night hours go on in the Chaldean order from the day's twelfth hour, so every
  // sunrise stays on its weekday's ruler.
  int FirstPosition(const SunEvent& event) const {
    const int dayPosition = SequencePosition(DayRuler(LocalWeekday(event.hours, request_, run_.zones)));
    return event.rising ? dayPosition : (dayPosition + kHoursPerSpan) % kPlanetCount;
  }

  void AddSpan(const SunEvent& event, double nextHours) {
    const double length = std::abs(nextHours - event.hours) / kHoursPerSpan;
    int position = FirstPosition(event);
    double lastHour = event.hours;
    for (int j = 0; j < kHoursPerSpan; ++j) {
      lastHour = TruncatedToMinute(event.hours + j * length);
      std::string after = "|" + std::string(workspace::SlotName(kHourSequence[position]));
      if (j == 0) after += SpanMark(event);
      entries_.push_back({lastHour, "", after, true});
      position = (position + 1) % kPlanetCount;
    }
    if (!event.rising) entries_.push_back({lastHour, "", "", false});
  }

  std::string SpanMark(const SunEvent& event) const {
    if (!event.rising) return std::string(texts::kSunsetMark);
    const int weekday = LocalWeekday(event.hours, request_, run_.zones);
    return std::string(texts::kSunriseMarkOpen) + std::string(texts::kWeekdays[weekday - 1]) +
           std::string(texts::kSunriseMarkClose);
  }

  // The hour in progress at the start stays first.
  void Trim() {
    std::size_t first = 0;
    while (first + 1 < entries_.size() && entries_[first + 1].hours < start_) ++first;
    entries_.erase(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(first));
    while (!entries_.empty() && entries_.back().hours > end_) entries_.pop_back();
  }

  const CalendarRequest& request_;
  const CalendarRun& run_;
  double start_;
  double end_;
  ProgressCounter progress_;
  std::vector<SunEvent> events_;
  std::vector<CalendarEntry> entries_;
};

}  // namespace

int DayRuler(int isoWeekday) { return kDayRulers[(isoWeekday - 1) % kPlanetCount]; }

int LocalWeekday(double greenwichHours, const CalendarRequest& request, const workspace::TimeZoneSource* zones) {
  std::optional<double> offset;
  if (zones != nullptr) {
    offset = zones->OffsetHoursAt(request.placeName, request.latitudeDeg, request.longitudeDeg, greenwichHours, true);
  }
  const workspace::CalendarMoment local =
      workspace::MomentFromHours(greenwichHours + offset.value_or(request.longitudeDeg / kDegreesPerHourOfTime));
  return platform::DateTime::FromFields(local.year, local.month, local.day, 0, 0, 0).IsoDayOfWeek();
}

std::optional<CalendarResult> CalculatePlanetaryHours(const CalendarRequest& request, const CalendarRun& run) {
  return HoursCalculation(request, run).Run();
}

}  // namespace kelvara::calendars
