// What the two calendars that run the event scanner share: the clock their times are
// shown on, the scan itself and the exact aspects it found, their moments refined.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calendars/calendar_types.h"
#include "calendars/exact_moment.h"
#include "eventmap/event_scanner.h"

namespace kelvara::platform {
class Worker;
}

namespace kelvara::calendars {

// The engine, the places' offsets (may be null) and the worker the scan reports its
// progress to and is stopped through (may be null: the scan runs to its end unheard).
struct ScanCalendarRun {
  const workspace::ChartEngine& engine;
  const workspace::TimeZoneSource* zones = nullptr;
  platform::Worker* worker = nullptr;

  bool StopRequested() const;
};

// The clock of the place the calendar is shown for: the offset in force at each moment
// when the place's time-zone rules know it, else the chart's own offset.
class PlaceClock {
 public:
  PlaceClock(const workspace::TimeZoneSource* zones, std::string placeName, double latitudeDeg,
             double longitudeDeg, double chartOffsetHours, double windowStartLocalHours);

  // Whether the rules knew the offset at the window's start.
  bool ZoneKnown() const { return zoneKnown_; }
  // The offset at the window's start, as the header shows it.
  double StartOffsetHours() const { return startOffset_; }
  double OffsetAt(double greenwichHours) const;
  double ShownHours(double greenwichHours) const { return greenwichHours + OffsetAt(greenwichHours); }
  double GreenwichOf(double localHours) const;

 private:
  std::optional<double> ZoneOffset(double hours, bool greenwich) const;

  const workspace::TimeZoneSource* zones_;
  std::string placeName_;
  double latitudeDeg_;
  double longitudeDeg_;
  double startOffset_;
  bool zoneKnown_;
};

// "c 01.01.2025 по 02.01.2025": the request's dates.
std::string DateRangeText(const CalendarRequest& request);

// One exact aspect of the scan, its moments refined; Greenwich hours.
struct CalendarEvent {
  int movingPoint = 0;
  int basePoint = 0;
  double angleDeg = 0.0;
  double culminationHours = 0.0;
  double movingDeg = 0.0;  // both at the culmination, 0-360
  double baseDeg = 0.0;
  std::optional<double> startHours;  // the orb entered; none before the scan
  std::optional<double> endHours;    // the orb left; none after it
};

enum class ScanStatus { kDone, kStopped, kRefused };
struct ScanEvents {
  ScanStatus status = ScanStatus::kDone;
  std::vector<CalendarEvent> events;  // in order of their refined culminations
};

// Prepares and runs a scanner that holds the charts of `pair` (and its flags), then
// takes the exact events of the window (Greenwich hours) in culmination order, each
// moment refined on casts of `pair` at the scanner's steps. Stopped when the worker
// asked for it; refused when a chart could not be cast.
ScanEvents ScanExactEvents(eventmap::EventScanner& scanner, const PairCharts& pair, double windowStartHours,
                           double windowEndHours, const ScanCalendarRun& run);

}  // namespace kelvara::calendars
