// Pieces both day-scan calendars share: entries on the hour scale, the rise/set lines of
// a day scan, progress counting, the polar check and the local-time step.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calendars/calendar_types.h"
#include "workspace/chart_compute.h"

namespace kelvara::calendars {

// Beyond this latitude (either hemisphere) risings stop being daily.
inline constexpr double kPolarCircleDeg = 66.55;
inline constexpr double kHoursPerDay = 24.0;
inline constexpr double kMinuteHours = 1.0 / 60.0;

bool IsBeyondPolarCircle(double latitudeDeg);

// One result line before its time is written: label texts around a date text, or a
// blank line that only keeps its place in time.
struct CalendarEntry {
  double hours = 0.0;  // Greenwich, hours since 1860
  std::string before;
  std::string after;
  bool dated = true;
};

// The moment rounded to the nearest minute first, so minute 60 carries into the hour.
workspace::CalendarMoment RoundedToMinute(double hours);
// "%02d.%02d.%02d %02d:%02d" of the moment rounded to the minute.
std::string DateText(double hours);
double DayStartHours(double hours);
// "(GMT:+3:00)", "(GMT:-0:30)": the sign from the offset itself, so offsets under an
// hour west keep their minus; minutes rounded first, with carry into the hours.
std::string GmtOffsetText(double offsetHours);

// A rising or setting from a "tmp.tmp" line ("%d:%lf %d %d").
struct HorizonEvent {
  double hours = 0.0;  // Greenwich: the scans run on Greenwich days
  int body = 0;
  int event = 0;
};
inline constexpr int kSunBody = 1;
inline constexpr int kMoonBody = 2;
inline constexpr int kRisingEvent = 1;
inline constexpr int kSettingEvent = 3;

// The events of one body in the day scan of the Greenwich day that holds `dayHours`;
// none when the scan left no file.
std::optional<std::vector<HorizonEvent>> DayEvents(const DayScanSource& scan, double dayHours,
                                                   const CalendarRequest& request, int body);

// Counts steps against a total and reports the percentage, 0-99.
class ProgressCounter {
 public:
  ProgressCounter(const ProgressCallback& report, double total) : report_(report), total_(total) {}
  void Step();

 private:
  const ProgressCallback& report_;
  double total_;
  double steps_ = 0.0;
};

double StartHours(const CalendarRequest& request);
double EndHours(const CalendarRequest& request);

// What a calculation works with: the engine for positions, the day scans, the places'
// offsets (may be null: times stay Greenwich), progress and the stop test (either empty).
struct CalendarRun {
  const workspace::ChartEngine& engine;
  DayScanSource dayScan;
  const workspace::TimeZoneSource* zones = nullptr;
  ProgressCallback progress;
  StopTest stopped;

  bool StopRequested() const { return stopped && stopped(); }
};

// Writes the entries into the result in their order, in local time when the place's
// offset is known at the first and the last entry, and sets the header.
void FillResult(const std::vector<CalendarEntry>& entries, const CalendarRequest& request,
                const workspace::TimeZoneSource* zones, CalendarResult& result);

}  // namespace kelvara::calendars
