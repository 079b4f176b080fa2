// The event scan ("-d", "-dm", "-dy", "-dY", "-dp"): sign ingresses, stations and exact
// aspects between moving objects, day by day, written to "tmp.tmp".
#pragma once

#include <optional>
#include <string>

#include "engine/records.h"
#include "engine/scans.h"

namespace kelvara::engine {

enum ScanEventKind : int {
  kIngress = -1,
  kStation = -2,
  // 1..19: the aspect of that number.
};

struct ScanEvent {
  double minutes = 0.0;  // after local midnight of the event's day
  int kind = 0;
  int first = 0;
  // The new sign 1..12 (ingress), 1 turning retrograde or 0 turning direct (station), or
  // the second object (aspect).
  int second = 0;
  // Longitudes, or declinations for the parallels, degrees.
  double first_position = 0.0;
  double second_position = 0.0;
  int first_mark = 0;
  int second_mark = 0;
};

using ScanEventTable = DayEventTable<ScanEvent>;

// One object at one sample of the scan.
struct MovingSample {
  double longitude_deg;
  double declination_deg;  // with the fixed obliquity
  double motion_rad_per_day;
};

// A sign boundary passed between two longitudes: the fraction of the step, the new sign
// and the position just short of the boundary (in the sign being left).
struct Ingress {
  double fraction;
  int new_sign;
  double position_deg;
};
std::optional<Ingress> DetectIngress(double previous_deg, double current_deg);

// The fraction of the step at which the daily motion changes sign.
std::optional<double> DetectStation(double previous_motion, double current_motion);

// The aspect `aspect` (1..19) becoming exact between objects a and b within the step.
std::optional<ScanEvent> DetectAspect(int aspect, int a, int b, const MovingSample& a_prev,
                                      const MovingSample& a_cur, const MovingSample& b_prev,
                                      const MovingSample& b_cur);

struct ScanDate {
  int month;
  int day;
  int year;
  bool operator==(const ScanDate&) const = default;
};
// The day after, across month and year ends and the calendar reform of October 1582.
ScanDate NextScanDate(const ScanDate& date);

// Dates the scan covers: the core chart's day, its month, or whole years from its year.
struct ScanRange {
  ScanDate first;
  ScanDate last;
};
// Years of a year scan are capped, so a count like "-dY 2000000000" ends.
inline constexpr int kMaxScanYears = 500;
ScanRange ScanRangeOf(const EngineState& state);

// One result line: date and time, first object and its position, what happened, and the
// note for equinoxes, solstices and lunar phases. Windows-1251, ended by a line feed.
std::string ScanEventLine(const ScanEvent& event, const ScanDate& date,
                          const EngineState& names);

void ScanEvents(EngineState& state);

}  // namespace kelvara::engine
