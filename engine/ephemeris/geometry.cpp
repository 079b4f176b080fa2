#include "engine/ephemeris/geometry.h"

namespace kelvara::engine {

Vec3 RotateAboutZ(const Vec3& v, double angleRad) {
  const double c = std::cos(angleRad), s = std::sin(angleRad);
  return {c * v.x - s * v.y, s * v.x + c * v.y, v.z};
}

Vec3 RotateAboutX(const Vec3& v, double angleRad) {
  const double c = std::cos(angleRad), s = std::sin(angleRad);
  return {v.x, c * v.y - s * v.z, s * v.y + c * v.z};
}

StateVector SphericalToRectangular(const SphericalState& s) {
  const double cl = std::cos(s.longitudeRad), sl = std::sin(s.longitudeRad);
  const double cb = std::cos(s.latitudeRad), sb = std::sin(s.latitudeRad);
  const double r = s.distance;
  const double dl = s.longitudeRateRadPerDay, db = s.latitudeRateRadPerDay, dr = s.distanceRatePerDay;
  StateVector state;
  state.position = {r * cb * cl, r * cb * sl, r * sb};
  state.velocity = {dr * cb * cl - r * sb * db * cl - r * cb * sl * dl,
                    dr * cb * sl - r * sb * db * sl + r * cb * cl * dl,
                    dr * sb + r * cb * db};
  return state;
}

namespace {

Jet Product(const Jet& a, const Jet& b) {
  return {a.value * b.value, a.rate * b.value + a.value * b.rate,
          a.acceleration * b.value + 2.0 * a.rate * b.rate + a.value * b.acceleration};
}

Jet CosOf(const Jet& angle) {
  const double c = std::cos(angle.value), s = std::sin(angle.value);
  return {c, -s * angle.rate, -c * angle.rate * angle.rate - s * angle.acceleration};
}

Jet SinOf(const Jet& angle) {
  const double c = std::cos(angle.value), s = std::sin(angle.value);
  return {s, c * angle.rate, -s * angle.rate * angle.rate + c * angle.acceleration};
}

}  // namespace

MotionState SphericalToRectangular(const Jet& longitudeRad, const Jet& latitudeRad, const Jet& distance) {
  const Jet horizontal = Product(distance, CosOf(latitudeRad));
  const Jet x = Product(horizontal, CosOf(longitudeRad));
  const Jet y = Product(horizontal, SinOf(longitudeRad));
  const Jet z = Product(distance, SinOf(latitudeRad));
  return {{x.value, y.value, z.value}, {x.rate, y.rate, z.rate}, {x.acceleration, y.acceleration, z.acceleration}};
}

double NormalizeDegrees(double degrees) {
  if (degrees >= 0.0 && degrees < 360.0) return degrees;  // what fmod would return
  double result = std::fmod(degrees, 360.0);
  if (result < 0.0) result += 360.0;
  return result >= 360.0 ? 0.0 : result;
}

double WrapPi(double radians) {
  // Within half a turn the remainder is the angle itself.
  return std::fabs(radians) <= kPi ? radians : std::remainder(radians, kTwoPi);
}

}  // namespace kelvara::engine
