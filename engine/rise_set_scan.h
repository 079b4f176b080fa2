// The rise/set/culmination scan of one local day ("-Zd"), written to "tmp.tmp".
#pragma once

#include <optional>
#include <string>

#include "engine/chart_time.h"
#include "engine/records.h"
#include "engine/scans.h"

namespace kelvara::engine {

enum HorizonEventKind : int {
  kRising = 1,
  kSouthernMeridian = 2,  // azimuth 270: upper culmination for objects south of the zenith
  kSetting = 3,
  kNorthernMeridian = 4,  // azimuth 90
};

struct HorizonEvent {
  int object = 0;
  int kind = 0;
  double minutes = 0.0;       // after local midnight
  int retrograde_mark = 0;    // -2..2
  double within_sign_deg = 0.0;
  int sign = 1;
};

using HorizonEventTable = DayEventTable<HorizonEvent>;

// A horizon crossing or meridian passage between two samples of one object, with the
// fraction of the step (0..1) at which it happens.
struct HorizonCrossing {
  int kind;
  double fraction;
};
std::optional<HorizonCrossing> DetectHorizonCrossing(const HorizonPosition& previous,
                                                     const HorizonPosition& current);

// One object at one sample of the scan.
struct ObjectSample {
  double longitude_deg;
  double motion_rad_per_day;
  HorizonPosition horizon;
};
// The event record of a crossing found in step `step` of `intervals` steps a day.
HorizonEvent MakeHorizonEvent(int object, const HorizonCrossing& crossing, int step,
                              int intervals, const ObjectSample& previous,
                              const ObjectSample& current);

// "%02d:%f %d %d" + the object column + " (%02d°%02d'%s) \n", Windows-1251.
std::string HorizonEventLine(const HorizonEvent& event, const char* object_name,
                             const char* short_sign_name);

// The observer of the scan: the core chart's place in degrees (longitude positive west,
// brought into 0..360) and latitude in radians.
struct Observer {
  double longitude_west_deg;
  double latitude_rad;
  Tilt horizon_tilt;  // of latitude_rad
};
Observer ObserverOf(const ChartInput& chart);

void ScanRiseSet(EngineState& state);

}  // namespace kelvara::engine
