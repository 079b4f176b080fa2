#include "engine/ephemeris/theory_segments.h"

#include "engine/ephemeris/moon.h"

namespace kelvara::engine {
namespace {

using MotionValues = std::array<double, 9>;
using NutationValues = std::array<double, 3>;

MotionState MotionOf(const MotionValues& v) { return {{v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {v[6], v[7], v[8]}}; }

MotionValues MoonValues(double julianDayTdb) {
  const MotionState m = MoonOfDate(julianDayTdb);
  return {m.position.x,     m.position.y,     m.position.z,     m.velocity.x,    m.velocity.y,
          m.velocity.z,     m.acceleration.x, m.acceleration.y, m.acceleration.z};
}

template <VsopBody Body, const TaylorPlan& Plan>
TaylorSegment<3> PlanetTaylor(double middleDay) {
  return PlanetTaylorSegment(Body, middleDay, Plan.order);
}

TaylorSegment<3> MoonTaylor(double middleDay) { return MoonTaylorSegment(middleDay, kMoonTaylor.order); }

// A scan whose samples lie a Taylor segment or more apart would build a segment for every
// sample, dearer than the theory itself; a chart on its own (spacing 0) always uses them.
bool TaylorPays(const TaylorPlan& plan, double spacingDays) { return spacingDays < plan.lengthDays; }

NutationValues NutationValuesAt(double julianDayTt) {
  const Nutation n = Nutation2000B(julianDayTt);
  return {n.longitudeRad, n.obliquityRad, n.longitudeRateRadPerDay};
}

}  // namespace

TheorySegments::TheorySegments()
    : moon_(MoonValues, kMoonSegmentDays),
      nutation_(NutationValuesAt, kNutationSegmentDays),
      earthTaylor_(PlanetTaylor<VsopBody::kEarth, kEarthTaylor>, kEarthTaylor.lengthDays),
      mercuryTaylor_(PlanetTaylor<VsopBody::kMercury, kMercuryTaylor>, kMercuryTaylor.lengthDays),
      venusTaylor_(PlanetTaylor<VsopBody::kVenus, kVenusTaylor>, kVenusTaylor.lengthDays),
      marsTaylor_(PlanetTaylor<VsopBody::kMars, kMarsTaylor>, kMarsTaylor.lengthDays),
      moonTaylor_(MoonTaylor, kMoonTaylor.lengthDays) {}

StateVector TheorySegments::Planet(VsopBody body, double julianDayTdb, double spacingDays) {
  const auto state = [&](TaylorSegments<3>& taylor, const TaylorPlan& plan) {
    TaylorSegment<3> segment;
    if (!TaylorPays(plan, spacingDays) || !taylor.Holding(julianDayTdb, segment)) {
      return PlanetHeliocentricState(body, julianDayTdb);
    }
    return PlanetHeliocentricState(segment, julianDayTdb);
  };
  switch (body) {
    case VsopBody::kEarth: return state(earthTaylor_, kEarthTaylor);
    case VsopBody::kMercury: return state(mercuryTaylor_, kMercuryTaylor);
    case VsopBody::kVenus: return state(venusTaylor_, kVenusTaylor);
    case VsopBody::kMars: return state(marsTaylor_, kMarsTaylor);
  }
  return PlanetHeliocentricState(body, julianDayTdb);
}

MotionState TheorySegments::Moon(double julianDayTdb, double spacingDays) {
  if (moon_.PaysAt(spacingDays)) return MotionOf(moon_.FromSegment(julianDayTdb));
  TaylorSegment<3> segment;
  if (!TaylorPays(kMoonTaylor, spacingDays) || !moonTaylor_.Holding(julianDayTdb, segment)) {
    return MoonOfDate(julianDayTdb);
  }
  return MoonOfDate(LunarPlaceOf(segment, julianDayTdb), julianDayTdb);
}

Nutation TheorySegments::NutationAt(double julianDayTt, double spacingDays) {
  const NutationValues v = nutation_.At(julianDayTt, spacingDays);
  return {v[0], v[1], v[2]};
}

}  // namespace kelvara::engine
