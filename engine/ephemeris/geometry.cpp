#include "engine/ephemeris/geometry.h"

namespace kelvara::engine {

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

double NormalizeDegrees(double degrees) {
  double result = std::fmod(degrees, 360.0);
  if (result < 0.0) result += 360.0;
  return result >= 360.0 ? 0.0 : result;
}

double WrapPi(double radians) { return std::remainder(radians, kTwoPi); }

}  // namespace kelvara::engine
