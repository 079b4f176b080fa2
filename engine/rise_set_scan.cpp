#include "engine/rise_set_scan.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "engine/angles.h"
#include "engine/scan_text.h"
#include "engine/scans.h"

namespace kelvara::engine {
namespace {

// Each division of the day is cut into this many scan intervals.
constexpr int kIntervalsPerDivision = 4;
constexpr double kNorthMeridianAzDeg = 90.0;
constexpr double kSouthMeridianAzDeg = 270.0;
constexpr double kWestAzDeg = 180.0;
constexpr double kQuarterDeg = 90.0;

using DaySample = std::array<ObjectSample, kObjectCount>;

// Altitude zero counts as below the horizon.
bool Above(const HorizonPosition& p) { return p.altitude_deg > 0.0; }

// Which side of the north meridian (azimuth 90) an azimuth lies on; exactly on it counts
// with the east side, so a sample on the meridian yields one passage, not two.
bool WestOfNorthMeridian(double azimuth_deg) {
  return MinDifference(kNorthMeridianAzDeg, azimuth_deg) < 0.0;
}

double Clamp01(double f) { return std::isfinite(f) ? std::clamp(f, 0.0, 1.0) : 0.0; }

// Local sidereal angle of a cast: right ascension of its Midheaven (latitude 0), degrees.
// The sky turns about the tropical equinox, so a user's zodiac offset comes off first.
double SiderealAngleDeg(const EngineState& state) {
  const double tropical_mc = state.time.midheaven_deg - state.time.offset_deg;
  return Mod360(EclipticToEquatorial(tropical_mc, 0.0).longitude_deg);
}

DaySample TakeSample(EngineState& state, const Observer& observer, double hours,
                     double step_hours) {
  CastAtHours(state, state.coreChart, hours, step_hours);
  const ObjectTables& objects = state.objects;
  const double sidereal_deg = SiderealAngleDeg(state);
  DaySample sample{};
  for (int i = 1; i < kObjectCount; ++i) {
    if (!ScannedObject(state, i)) continue;  // never compared
    const double tropical = objects.longitude[i] - state.time.offset_deg;
    sample[i] = {objects.longitude[i], objects.motion[i],
                 HorizonCoords(tropical, objects.latitude[i], sidereal_deg,
                               observer.longitude_west_deg, observer.horizon_tilt)};
  }
  return sample;
}

void CollectEvents(const EngineState& state, int step, int intervals, const DaySample& previous,
                   const DaySample& current, HorizonEventTable& events) {
  for (int i = 1; i < kObjectCount; ++i) {
    if (!ScannedObject(state, i)) continue;
    const auto crossing = DetectHorizonCrossing(previous[i].horizon, current[i].horizon);
    if (!crossing || state.riseSetEventMask[crossing->kind - 1]) continue;
    events.Add(MakeHorizonEvent(i, *crossing, step, intervals, previous[i], current[i]));
  }
}

}  // namespace

std::optional<HorizonCrossing> DetectHorizonCrossing(const HorizonPosition& previous,
                                                     const HorizonPosition& current) {
  if (Above(previous) != Above(current)) {
    const double alt_prev = std::fabs(previous.altitude_deg);
    const double f = Clamp01(alt_prev / (alt_prev + std::fabs(current.altitude_deg)));
    const double azimuth = InterpolateAngle(previous.azimuth_deg, current.azimuth_deg, f);
    return HorizonCrossing{MinDistance(azimuth, kWestAzDeg) < kQuarterDeg ? kSetting : kRising,
                           f};
  }
  if (WestOfNorthMeridian(previous.azimuth_deg) != WestOfNorthMeridian(current.azimuth_deg)) {
    const bool north = MinDistance(previous.azimuth_deg, kNorthMeridianAzDeg) < kQuarterDeg;
    const double reference = north ? kNorthMeridianAzDeg : kSouthMeridianAzDeg;
    const double f = Clamp01(MinDistance(previous.azimuth_deg, reference) /
                             MinDistance(previous.azimuth_deg, current.azimuth_deg));
    return HorizonCrossing{north ? kNorthernMeridian : kSouthernMeridian, f};
  }
  return std::nullopt;
}

HorizonEvent MakeHorizonEvent(int object, const HorizonCrossing& crossing, int step,
                              int intervals, const ObjectSample& previous,
                              const ObjectSample& current) {
  const double f = crossing.fraction;
  const SignPosition position =
      SignOf(InterpolateAngle(previous.longitude_deg, current.longitude_deg, f));
  HorizonEvent event;
  event.object = object;
  event.kind = crossing.kind;
  event.minutes = (step + f) * kHoursPerDay / intervals * kMinutesPerHour;
  event.retrograde_mark =
      RetrogradeMark(previous.motion_rad_per_day, current.motion_rad_per_day);
  event.within_sign_deg = position.within_deg;
  event.sign = position.sign;
  return event;
}

std::string HorizonEventLine(const HorizonEvent& event, const char* object_name,
                             const char* short_sign_name) {
  const int hours = static_cast<int>(event.minutes / kMinutesPerHour);
  const double minutes = event.minutes - kMinutesPerHour * hours;
  // "%02d:%f %d %d"; to_chars rounds the minutes exactly as printf's "%f" does.
  std::string line;
  AppendZeroPadded(line, hours, 2);
  line += ':';
  char digits[64];
  const auto end = std::to_chars(digits, digits + sizeof digits, minutes, std::chars_format::fixed, 6);
  line.append(digits, end.ec == std::errc() ? end.ptr : digits);
  line += ' ';
  AppendZeroPadded(line, event.object, 1);
  line += ' ';
  AppendZeroPadded(line, event.kind, 1);
  AppendObjectColumn(line, event.retrograde_mark, object_name);
  line += ' ';
  AppendSignPosition(line, {event.sign, event.within_sign_deg}, short_sign_name);
  line += " \n";
  return line;
}

Observer ObserverOf(const ChartInput& chart) {
  // The chart keeps its place in D.MM form: 55n45 is 55.75 degrees, not 55.45.
  const double latitude_rad = LatitudeRadians(chart.latitude);
  return {Mod360(DecToDeg(chart.longitude)), latitude_rad, HorizonTiltOf(latitude_rad)};
}

void ScanRiseSet(EngineState& state) {
  const ChartTablesKeeper keeper(state);
  ResultFile file = OpenResultFile(kScanFileName);
  EngineSettings& settings = state.settings;
  const std::uint8_t sidereal = settings.sidereal;
  settings.sidereal = 0;  // rising and setting are found on tropical positions
  const ChartInput third = state.thirdChart;
  const Observer observer = ObserverOf(state.coreChart);
  const int intervals = kIntervalsPerDivision * std::max(1, settings.scanDivisions);

  HorizonEventTable events;
  const double step_hours = kHoursPerDay / intervals;
  DaySample previous = TakeSample(state, observer, 0.0, step_hours);
  for (int step = 0; step < intervals; ++step) {
    const DaySample current =
        TakeSample(state, observer, (step + 1) * kHoursPerDay / intervals, step_hours);
    CollectEvents(state, step, intervals, previous, current, events);
    previous = current;
  }
  events.SortByTime();
  for (std::size_t i = 0; i < events.size(); ++i) {
    const HorizonEvent& event = events[i];
    WriteText(file.get(), HorizonEventLine(event, state.objectNames[event.object],
                                           state.signShortNames[event.sign]));
  }
  file.reset();

  state.thirdChart = third;
  settings.sidereal = sidereal;
}

}  // namespace kelvara::engine
