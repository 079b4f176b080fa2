#include "engine/ephemeris/ephemeris.h"

#include "engine/ephemeris/apparent.h"
#include "engine/ephemeris/delta_t.h"
#include "engine/ephemeris/lunar_points.h"
#include "engine/ephemeris/nutation.h"
#include "engine/ephemeris/planets.h"

namespace kelvara::engine {
namespace {

constexpr double kMoonMeanDistanceAu = 0.0025955307;

void SetApparent(const ApparentPlace& place, EphemerisResult& result) {
  result.longitudeDeg = place.longitudeDeg;
  result.latitudeDeg = place.latitudeDeg;
  result.motionDegPerDay = place.motionDegPerDay;
}

// A lunar point on the ecliptic: mean-equinox longitude plus nutation.
void SetLunarPoint(const LongitudeAndRate& point, const Nutation& nutation, const StateVector& earth,
                   EphemerisResult& result) {
  result.longitudeDeg = NormalizeDegrees(point.longitudeDeg + nutation.longitudeRad * kRadToDeg);
  result.latitudeDeg = 0.0;
  result.motionDegPerDay = point.rateDegPerDay + nutation.longitudeRateRadPerDay * kRadToDeg;
  const double l = result.longitudeDeg * kDegToRad;
  result.heliocentricAu = earth.position + kMoonMeanDistanceAu * Vec3{std::cos(l), std::sin(l), 0.0};
}

bool IsVsopPlanet(int body) { return body == kBodyMercury || body == kBodyVenus || body == kBodyMars; }

VsopBody VsopBodyOf(int body) {
  return body == kBodyMercury ? VsopBody::kMercury : body == kBodyVenus ? VsopBody::kVenus : VsopBody::kMars;
}

}  // namespace

const StateVector& EphemerisLayer::Earth(double julianDayTt, double spacingDays) {
  return earth_.Get(julianDayTt, spacingDays,
                    [&](double jd) { return theories_.Planet(VsopBody::kEarth, jd, spacingDays); });
}

const Nutation& EphemerisLayer::NutationAt(double julianDayTt, double spacingDays) {
  return nutation_.Get(julianDayTt, spacingDays, [&](double jd) { return theories_.NutationAt(jd, spacingDays); });
}

const MotionState& EphemerisLayer::Moon(double julianDayTt, double spacingDays) {
  return moon_.Get(julianDayTt, spacingDays, [&](double jd) { return theories_.Moon(jd, spacingDays); });
}

bool EphemerisLayer::Planet(int body, double julianDayTt, double spacingDays, const std::string& dataPrefix,
                            const StateVector& earth, const Nutation& nutation, EphemerisResult& result) {
  StateVector now;
  if (IsVsopPlanet(body)) {
    now = theories_.Planet(VsopBodyOf(body), julianDayTt, spacingDays);
  } else {
    SphericalState place;
    if (!files_.Heliocentric(body, julianDayTt, dataPrefix, place)) return false;
    now = SphericalToRectangular(place);
  }
  const GeocentricView view{LightTimeCorrected(julianDayTt, earth, now), earth, true, true};
  result.heliocentricAu = now.position;
  SetApparent(ApparentFromGeocentric(view, nutation), result);
  return true;
}

bool EphemerisLayer::PositionAtTt(int body, double julianDayTt, const std::string& dataPrefix,
                                  EphemerisResult& result, double spacingDays) {
  if (!std::isfinite(julianDayTt) || std::fabs(julianDayTt - kJ2000Jd) > kMaxDaysFromJ2000) return false;
  const StateVector earth = Earth(julianDayTt, spacingDays);
  const Nutation nutation = NutationAt(julianDayTt, spacingDays);
  switch (body) {
    case kBodySun: {
      // The Sun stays at the heliocentric origin, so light time leaves it in place; aberration
      // alone moves it (about -20.5").
      const GeocentricView view{{-1.0 * earth.position, -1.0 * earth.velocity}, earth, false, true};
      result.heliocentricAu = earth.position;
      SetApparent(ApparentFromGeocentric(view, nutation), result);
      return true;
    }
    case kBodyMoon: {
      // The Moon shares the Earth's motion round the Sun: in the Sun's frame that shared motion
      // during the light time cancels the annual aberration, so only the geocentric light time
      // remains (to second order in v/c).
      const MotionState& moon = Moon(julianDayTt, spacingDays);
      GeocentricView view{{moon.position, moon.velocity}, earth, false, false};
      const double lightTimeDays = Norm(view.geocentric.position) * kLightDaysPerAu;
      result.heliocentricAu = earth.position + view.geocentric.position;
      view.geocentric.position = view.geocentric.position - lightTimeDays * view.geocentric.velocity;
      SetApparent(ApparentFromGeocentric(view, nutation), result);
      return true;
    }
    case kBodyMeanNode:
      SetLunarPoint(MeanLunarNode(julianDayTt), nutation, earth, result);
      return true;
    case kBodyTrueNode:
      SetLunarPoint(TrueLunarNode(Moon(julianDayTt, spacingDays)), nutation, earth, result);
      return true;
    case kBodyLilith:
      SetLunarPoint(MeanLunarApogee(julianDayTt), nutation, earth, result);
      return true;
    default:
      if (IsVsopPlanet(body) || FileSlotOfBody(body)) {
        return Planet(body, julianDayTt, spacingDays, dataPrefix, earth, nutation, result);
      }
      return false;
  }
}

bool EphemerisLayer::Position(int body, double julianDayUt, const std::string& dataPrefix, EphemerisResult& result,
                              double spacingDays) {
  if (!std::isfinite(julianDayUt) || std::fabs(julianDayUt - kJ2000Jd) > kMaxDaysFromJ2000) return false;
  const double deltaT = deltaTSeconds_.Get(julianDayUt, 0.0, DeltaTSeconds);
  if (!PositionAtTt(body, julianDayUt + deltaT / kSecondsPerDay, dataPrefix, result, spacingDays)) return false;
  result.deltaTSeconds = deltaT;
  return true;
}

std::optional<int> EphemerisBodyOfObject(int objectIndex, bool trueNode) {
  if (objectIndex >= 1 && objectIndex <= 10) return objectIndex - 1;
  if (objectIndex == 11) return kBodyChiron;
  if (objectIndex >= 12 && objectIndex <= 15) return objectIndex + 2;
  if (objectIndex == 16) return trueNode ? kBodyTrueNode : kBodyMeanNode;
  if (objectIndex == 17) return kBodyLilith;
  return std::nullopt;
}

bool EphemerisPosition(int body, double julianDayUt, const std::string& dataPrefix, EphemerisResult& result,
                       double spacingDays) {
  static EphemerisLayer layer;
  return layer.Position(body, julianDayUt, dataPrefix, result, spacingDays);
}

}  // namespace kelvara::engine
