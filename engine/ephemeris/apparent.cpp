#include "engine/ephemeris/apparent.h"

#include "engine/ephemeris/dual.h"
#include "engine/ephemeris/precession.h"

namespace kelvara::engine {
namespace {

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

// The aberrated direction, for doubles or for values with their rates.
template <typename V>
V Aberrated(const V& unitDirection, const V& velocityOverC) {
  const auto inverseLorentz = Sqrt(1.0 - Dot(velocityOverC, velocityOverC));
  const auto projected = Dot(unitDirection, velocityOverC);
  const auto w = 1.0 + projected / (1.0 + inverseLorentz);
  const V moved = inverseLorentz * unitDirection + w * velocityOverC;
  return (1.0 / Norm(moved)) * moved;
}

// The deflected direction, for doubles or for values with their rates.
template <typename V>
V Deflected(const V& unitDirection, const V& bodyFromSun, const V& observerFromSun) {
  const auto observerDistance = Norm(observerFromSun);
  const V q = (1.0 / Norm(bodyFromSun)) * bodyFromSun;
  const V e = (1.0 / observerDistance) * observerFromSun;
  const auto qDotQPlusE = Dot(q, q + e);
  const auto w = kSunSchwarzschildAu / observerDistance / AtLeast(qDotQPlusE, kDeflectionLimit);
  return unitDirection + w * Cross(unitDirection, Cross(e, q));
}

// The seen direction and its exact rate, with the geometry moving linearly and the Earth's
// velocity turned by the Sun's pull on it (the aberration follows it, about 0.35"/day).
DualVec3 SeenDirection(const GeocentricView& view, const Vec3& earthPull) {
  const DualVec3 geocentric{view.geocentric.position, view.geocentric.velocity};
  const DualVec3 earth{view.earth.position, view.earth.velocity};
  const DualVec3 earthVelocity{view.earth.velocity, earthPull};
  DualVec3 direction = (1.0 / Norm(geocentric)) * geocentric;
  if (view.deflectedBySun) direction = Deflected(direction, geocentric + earth, earth);
  return view.annualAberration ? Aberrated(direction, kLightDaysPerAu * earthVelocity) : direction;
}

}  // namespace

Vec3 Aberrate(const Vec3& unitDirection, const Vec3& velocityOverC) {
  return Aberrated(unitDirection, velocityOverC);
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
  return Deflected(unitDirection, bodyFromSun, observerFromSun);
}

ApparentPlace ApparentFromGeocentric(const GeocentricView& view, const Nutation& nutation) {
  const DualVec3 seen = SeenDirection(view, SunPull(view.earth.position));
  const Vec3& u = seen.value;
  const Vec3& rate = seen.rate;
  ApparentPlace place;
  place.longitudeDeg = NormalizeDegrees((std::atan2(u.y, u.x) + nutation.longitudeRad) * kRadToDeg);
  place.latitudeDeg = std::asin(std::clamp(u.z, -1.0, 1.0)) * kRadToDeg;
  // d/dt atan2(y, x) = (x y' - y x') / (x^2 + y^2)
  const double geometricRate = (u.x * rate.y - u.y * rate.x) / (u.x * u.x + u.y * u.y);
  place.motionDegPerDay = (geometricRate + nutation.longitudeRateRadPerDay) * kRadToDeg;
  return place;
}

}  // namespace kelvara::engine
