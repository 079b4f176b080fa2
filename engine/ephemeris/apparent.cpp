#include "engine/ephemeris/apparent.h"

#include "engine/ephemeris/precession.h"

namespace kelvara::engine {
namespace {

constexpr double kRateStepDays = 1.0e-3;

// Schwarzschild radius of the Sun, au (SOFA SRS).
constexpr double kSunSchwarzschildAu = 1.97412574336e-8;
// Below this the deflection formula is not applied at full strength (SOFA iauLdn's limit).
constexpr double kDeflectionLimit = 1.0e-6;

// Gaussian gravitational constant squared, au^3/day^2: the Sun's pull on the Earth.
constexpr double kSunGravityAu3PerDay2 = 0.01720209895 * 0.01720209895;

// Each pass shrinks the light-time error by v/c (1e-4): three reach the double's precision.
constexpr int kLightTimeIterations = 3;

// The Sun's Newtonian pull on a body at fromSun, au/day^2.
Vec3 SunPull(const Vec3& fromSun) {
  const double distance = Norm(fromSun);
  return (-kSunGravityAu3PerDay2 / (distance * distance * distance)) * fromSun;
}

// Direction seen stepDays after the view's instant, with the geometry moved linearly and the
// Earth's velocity turned by the Sun's pull on it (the aberration follows it, about 0.35"/day).
Vec3 SeenDirection(const GeocentricView& view, const Vec3& earthPull, double stepDays) {
  const Vec3 geocentric = view.geocentric.position + stepDays * view.geocentric.velocity;
  const Vec3 earth = view.earth.position + stepDays * view.earth.velocity;
  const Vec3 earthVelocity = view.earth.velocity + stepDays * earthPull;
  Vec3 direction = (1.0 / Norm(geocentric)) * geocentric;
  if (view.deflectedBySun) direction = DeflectBySun(direction, geocentric + earth, earth);
  return view.annualAberration ? Aberrate(direction, kLightDaysPerAu * earthVelocity) : direction;
}

}  // namespace

Vec3 Aberrate(const Vec3& unitDirection, const Vec3& velocityOverC) {
  const double inverseLorentz = std::sqrt(1.0 - Dot(velocityOverC, velocityOverC));
  const double projected = Dot(unitDirection, velocityOverC);
  const double w = 1.0 + projected / (1.0 + inverseLorentz);
  const Vec3 moved = inverseLorentz * unitDirection + w * velocityOverC;
  return (1.0 / Norm(moved)) * moved;
}

StateVector LightTimeCorrected(double julianDayTt, const StateVector& earth, const StateVector& bodyNow) {
  const Vec3 acceleration = SunPull(bodyNow.position);
  StateVector emitted = bodyNow;
  double lightTimeDays = 0.0;
  for (int i = 0; i < kLightTimeIterations; ++i) {
    lightTimeDays = Norm(emitted.position - earth.position) * kLightDaysPerAu;
    emitted.position = bodyNow.position - lightTimeDays * bodyNow.velocity +
                       (0.5 * lightTimeDays * lightTimeDays) * acceleration;
    emitted.velocity = bodyNow.velocity - lightTimeDays * acceleration;
  }
  // The place at emission refers to the equinox of that moment: precess it to the observation.
  const double precession = GeneralPrecessionInLongitude(julianDayTt).rateRadPerDay * lightTimeDays;
  emitted.position = RotateAboutZ(emitted.position, precession);
  emitted.velocity = RotateAboutZ(emitted.velocity, precession);
  StateVector geocentric;
  geocentric.position = emitted.position - earth.position;
  // d(light time)/dt slows the emitted motion by (1 - radial velocity / c).
  const Vec3 relative = emitted.velocity - earth.velocity;
  const double lightTimeRate = Dot(geocentric.position, relative) / Norm(geocentric.position) * kLightDaysPerAu;
  geocentric.velocity = (1.0 - lightTimeRate) * emitted.velocity - earth.velocity;
  return geocentric;
}

Vec3 DeflectBySun(const Vec3& unitDirection, const Vec3& bodyFromSun, const Vec3& observerFromSun) {
  const double observerDistance = Norm(observerFromSun);
  const Vec3 q = (1.0 / Norm(bodyFromSun)) * bodyFromSun;
  const Vec3 e = (1.0 / observerDistance) * observerFromSun;
  const double qDotQPlusE = Dot(q, q + e);
  const double w = kSunSchwarzschildAu / observerDistance / std::max(qDotQPlusE, kDeflectionLimit);
  return unitDirection + w * Cross(unitDirection, Cross(e, q));
}

ApparentPlace ApparentFromGeocentric(const GeocentricView& view, const Nutation& nutation) {
  const Vec3 earthPull = SunPull(view.earth.position);
  const Vec3 seen = SeenDirection(view, earthPull, 0.0);
  const double longitudeRad = std::atan2(seen.y, seen.x) + nutation.longitudeRad;
  const double latitudeRad = std::asin(std::clamp(seen.z, -1.0, 1.0));
  const Vec3 ahead = SeenDirection(view, earthPull, kRateStepDays);
  const Vec3 behind = SeenDirection(view, earthPull, -kRateStepDays);
  ApparentPlace place;
  place.longitudeDeg = NormalizeDegrees(longitudeRad * kRadToDeg);
  place.latitudeDeg = latitudeRad * kRadToDeg;
  const double geometricRate =
      WrapPi(std::atan2(ahead.y, ahead.x) - std::atan2(behind.y, behind.x)) / (2.0 * kRateStepDays);
  place.motionDegPerDay = (geometricRate + nutation.longitudeRateRadPerDay) * kRadToDeg;
  return place;
}

}  // namespace kelvara::engine
