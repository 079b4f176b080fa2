#include "workspace/chart_compute.h"

#include <cmath>

namespace kelvara::workspace {
namespace {

constexpr double kHoursPerDay = 24.0;
constexpr double kFirstStepShare = 0.85;
constexpr double kNearCrossingDeg = 90.0;
constexpr double kSecondsPerDegree = 3600.0;
constexpr double kNoSpeed = kNotAvailable;
// The step rule grows a step only slowly when the difference widens (a return just
// passed), so a search may take a few thousand runs; this bounds a search that can
// never close.
constexpr int kMaxReturnSteps = 20000;

bool RunAt(const ChartEngine& engine, ChartRecord& chart, double greenwichHours,
           bool solarArcMidheaven = false) {
  return engine.RunChart(
      RequestAt(greenwichHours, chart.latitudeDeg, chart.longitudeDeg, chart.houseSystem),
      chart.objects, solarArcMidheaven);
}

// Moves every slot that has a longitude by an arc and gives it the directed speed.
void DirectSlots(const ObjectTable& from, double arcDeg, double speed, ObjectTable& objects) {
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    if (!from[slot].HasLongitude()) continue;
    ChartObject& object = objects[slot];
    object.SetLongitude(Normalise360(from[slot].longitude + arcDeg));
    object.retrograde = 0;
    if (object.speed != kNoSpeed) object.speed = speed;
  }
}

double ProgressedHours(double natalHours, double targetHours) {
  return natalHours + (targetHours - natalHours) * kProgressionFactor;
}

ComputeResult Done(bool ran) { return ran ? ComputeResult::kComputed : ComputeResult::kNotComputable; }

ComputeResult ComputeSymbolic(ChartRecord& chart, const ComputeContext& context, double natalHours,
                              double targetHours, double rate) {
  chart.directionRate = rate;
  if (!RunAt(context.engine, chart, natalHours)) return ComputeResult::kNotComputable;
  const double arc = (targetHours - natalHours) / rate / kHoursPerDay;
  const ObjectTable natal = chart.objects;
  DirectSlots(natal, arc, 1.0 / rate, chart.objects);
  return ComputeResult::kComputed;
}

ComputeResult ComputeSolarArcDirection(ChartRecord& chart, const ComputeContext& context,
                                       double natalHours, double targetHours) {
  chart.directionRate = kTropicalYearDays;
  if (!RunAt(context.engine, chart, natalHours)) return ComputeResult::kNotComputable;
  const ObjectTable natal = chart.objects;
  if (!RunAt(context.engine, chart, ProgressedHours(natalHours, targetHours))) {
    return ComputeResult::kNotComputable;
  }
  const double arc = chart.objects[kSlotSun].longitude - natal[kSlotSun].longitude;
  DirectSlots(natal, arc, 1.0 / kTropicalYearDays, chart.objects);
  return ComputeResult::kComputed;
}

ComputeResult ComputeSolarArcMidheaven(ChartRecord& chart, const ComputeContext& context,
                                       double natalHours, double targetHours) {
  chart.directionRate = kTropicalYearDays;
  return Done(RunAt(context.engine, chart, natalHours) &&
              RunAt(context.engine, chart, ProgressedHours(natalHours, targetHours), true));
}

void StoreGreenwichAndLocal(ChartRecord& chart, double greenwichHours, const ComputeContext& context) {
  if (context.zones) {
    const auto offset = context.zones->OffsetHoursAt(chart.placeName, chart.latitudeDeg,
                                                     chart.longitudeDeg, greenwichHours, true);
    if (offset) chart.gmtOffsetHours = *offset;
  }
  chart.greenwich = MomentFromHours(greenwichHours);
  chart.local = MomentFromHours(greenwichHours + chart.gmtOffsetHours);
}

ComputeResult ComputeReturn(ChartRecord& chart, const ComputeContext& context, const ChartRecord& natal,
                            double targetHours, int slot, bool forward) {
  if (!RunAt(context.engine, chart, targetHours)) return ComputeResult::kNotComputable;
  const ReturnSearch search{context.engine, natal.objects[slot], slot, forward, 0.0};
  const ReturnResult result = FindReturn(search, chart, targetHours);
  // A found return leaves the table cast at its moment; a search cut short may have
  // stepped back from its last run.
  if (!result.found) RunAt(context.engine, chart, result.hours);
  StoreGreenwichAndLocal(chart, result.hours, context);
  return result.found ? ComputeResult::kComputed : ComputeResult::kReturnNotFound;
}

ComputeResult ComputeKind(ChartKind kind, ChartRecord& chart, const ComputeContext& context,
                          const ChartRecord& natal, double targetHours) {
  const double natalHours = HoursSince1860(natal.greenwich);
  switch (kind) {
    case ChartKind::kSolarReturnForward:
      return ComputeReturn(chart, context, natal, targetHours, kSlotSun, true);
    case ChartKind::kSolarReturnBackward:
      return ComputeReturn(chart, context, natal, targetHours, kSlotSun, false);
    case ChartKind::kLunarReturnForward:
      return ComputeReturn(chart, context, natal, targetHours, kSlotMoon, true);
    case ChartKind::kLunarReturnBackward:
      return ComputeReturn(chart, context, natal, targetHours, kSlotMoon, false);
    case ChartKind::kSymbolicDirection:
      return ComputeSymbolic(chart, context, natalHours, targetHours, kSymbolicRateDaysPerDegree);
    case ChartKind::kProfection:
      return ComputeSymbolic(chart, context, natalHours, targetHours, kProfectionRateDaysPerDegree);
    case ChartKind::kSecondaryProgression:
      return Done(RunAt(context.engine, chart, ProgressedHours(natalHours, targetHours)));
    case ChartKind::kSolarArcMidheaven:
      return ComputeSolarArcMidheaven(chart, context, natalHours, targetHours);
    case ChartKind::kSolarArcDirection:
      return ComputeSolarArcDirection(chart, context, natalHours, targetHours);
    case ChartKind::kNow:
      break;
  }
  return Done(RunAt(context.engine, chart, targetHours));
}

bool IsUsableOffset(double offsetHours) {
  return std::isfinite(offsetHours) && std::fabs(offsetHours) <= kMaxOffsetHours;
}

// d = moving - target, the short way round.
double ReturnDifference(double movingDeg, double targetDeg) {
  return SignedDifference(movingDeg, targetDeg);
}

bool CrossedNearTarget(double before, double after) {
  return std::signbit(before) != std::signbit(after) && std::fabs(before) < kNearCrossingDeg &&
         std::fabs(after) < kNearCrossingDeg;
}

// The next step's size from the rate of the last one, growing at most by a tolerance share.
double RateStep(double stepHours, double before, double after, double toleranceHours) {
  const double size = std::fabs(stepHours);
  if (before == 0.0) return size;
  double next = size * std::fabs(after) / std::fabs(before);
  if (next > size + toleranceHours * next) next = size + toleranceHours * next;
  return next;
}

}  // namespace

double GreenwichHoursFromLocal(const CalendarMoment& local, double offsetHours) {
  return HoursSince1860(local) - offsetHours;
}

bool IsRunningNowName(std::string_view name) { return name.empty() || name == kNameNow; }

void TakePresentMoment(ChartRecord& chart, const platform::Clock& clock, const TimeZoneSource* zones,
                       const std::string& nowPlace) {
  const platform::DateTimeFields now = clock.LocalNow().Fields();
  chart.local = {now.year, now.month, now.day, now.hour, now.minute, now.second};
  const platform::TimeZoneInfo zone = clock.TimeZone();
  chart.gmtOffsetHours = zone.known ? zone.CurrentOffsetHours() : 0.0;
  if (zones == nullptr || nowPlace.empty()) return;
  // The present is one instant: the device's clock gives it in the device's zone, and the
  // now place shows it in its own, even when the device is set to another zone.
  const double greenwichNow = GreenwichHoursFromLocal(chart.local, chart.gmtOffsetHours);
  const auto offset =
      zones->OffsetHoursAt(nowPlace, chart.latitudeDeg, chart.longitudeDeg, greenwichNow, true);
  if (!offset) return;
  chart.gmtOffsetHours = *offset;
  chart.local = MomentFromHours(greenwichNow + *offset);
}

ComputeResult ComputeChart(ChartRecord& chart, const ComputeContext& context) {
  chart.title = TitleForName(chart.name);
  if (IsRunningNowName(chart.name) && context.clock) {
    TakePresentMoment(chart, *context.clock, context.zones, context.nowPlace);
  }
  if (!IsUsableOffset(chart.gmtOffsetHours) || !IsValidMoment(chart.local)) {
    return ComputeResult::kNotComputable;
  }
  const double targetHours = GreenwichHoursFromLocal(chart.local, chart.gmtOffsetHours);
  chart.greenwich = MomentFromHours(targetHours);
  const ChartRecord& natal = context.natal ? *context.natal : chart;
  const auto kind = KindOfName(chart.name);
  if (!kind) return Done(RunAt(context.engine, chart, targetHours));
  return ComputeKind(*kind, chart, context, natal, targetHours);
}

ReturnResult FindReturn(const ReturnSearch& search, ChartRecord& chart, double startHours) {
  const double target = search.natalObject.longitude - search.offsetDeg;
  const auto difference = [&] {
    return ReturnDifference(chart.objects[search.movingSlot].longitude, target);
  };
  const double speed =
      std::fabs(search.natalObject.speed) + std::fabs(chart.objects[search.movingSlot].speed);
  double before = difference();
  // A pair at rest never closes the gap, so it needs no tolerance: the answer is now or never.
  if (!(speed > 0.0) || !std::isfinite(speed)) return {startHours, before == 0.0};
  // The time the pair needs for one arc-second of relative motion.
  const double tolerance = kHoursPerDay / (kSecondsPerDegree * speed);
  if (std::fabs(before) / speed * kHoursPerDay <= tolerance) return {startHours, true};
  const double direction = search.forward ? 1.0 : -1.0;
  double step = direction * kFirstStepShare * std::fabs(before) / speed * kHoursPerDay;
  double hours = startHours;
  for (int count = 0; count < kMaxReturnSteps; ++count) {
    if (std::fabs(step) < tolerance) step = std::copysign(tolerance, step);
    const double next = hours + step;
    if (!IsWithinScale(next) || !RunAt(search.engine, chart, next)) return {hours, false};
    hours = next;
    const double after = difference();
    if (after == 0.0) return {hours, true};
    if (CrossedNearTarget(before, after)) {
      if (std::fabs(step) <= tolerance) return {hours, true};
      hours -= step;  // back to where the difference was `before`, then creep up on it
      step = direction * tolerance;
      continue;
    }
    step = direction * RateStep(step, before, after, tolerance);
    before = after;
  }
  return {hours, false};
}

}  // namespace kelvara::workspace
