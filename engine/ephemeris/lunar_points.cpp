#include "engine/ephemeris/lunar_points.h"

#include <array>

#include "engine/ephemeris/series.h"

namespace kelvara::engine {
namespace {

// Degrees, T in Julian centuries TT from J2000.
constexpr std::array<double, 5> kNode = {125.0445479, -1934.1362891, 0.0020754, 1.0 / 467441.0,
                                         -1.0 / 60616000.0};
constexpr std::array<double, 5> kMeanLongitude = {218.3164477, 481267.88123421, -0.0015786, 1.0 / 538841.0,
                                                  -1.0 / 65194000.0};
constexpr std::array<double, 5> kMeanAnomaly = {134.9633964, 477198.8675055, 0.0087414, 1.0 / 69699.0,
                                                -1.0 / 14712000.0};

LongitudeAndRate FromPolynomial(const Jet& v) {
  return {NormalizeDegrees(v.value), v.rate / kDaysPerCentury};
}

// Ascending node of the orbit through r with velocity v: the line where the pole r x v
// crosses the ecliptic.
double NodeLongitudeRad(const Vec3& position, const Vec3& velocity) {
  const Vec3 pole = Cross(position, velocity);
  return std::atan2(pole.x, -pole.y);
}

StateVector TaylorStep(const MotionState& moon, double stepDays) {
  return {moon.position + stepDays * moon.velocity + (0.5 * stepDays * stepDays) * moon.acceleration,
          moon.velocity + stepDays * moon.acceleration};
}

}  // namespace

LongitudeAndRate MeanLunarNode(double julianDayTt) {
  return FromPolynomial(EvaluatePolynomial(kNode, CenturiesFromJ2000(julianDayTt)));
}

LongitudeAndRate MeanLunarApogee(double julianDayTt) {
  const double t = CenturiesFromJ2000(julianDayTt);
  const Jet l = EvaluatePolynomial(kMeanLongitude, t);
  const Jet m = EvaluatePolynomial(kMeanAnomaly, t);
  return FromPolynomial({l.value - m.value + 180.0, l.rate - m.rate, 0.0});
}

LongitudeAndRate TrueLunarNode(const MotionState& moon) {
  const double h = kTrueNodeStepDays;
  const StateVector before = TaylorStep(moon, -h);
  const StateVector after = TaylorStep(moon, h);
  const Vec3 velocity = (1.0 / (2.0 * h)) * (after.position - before.position);
  const double node = NodeLongitudeRad(moon.position, velocity);
  const double rate =
      WrapPi(NodeLongitudeRad(after.position, after.velocity) - NodeLongitudeRad(before.position, before.velocity)) /
      (2.0 * h);
  return {NormalizeDegrees(node * kRadToDeg), rate * kRadToDeg};
}

}  // namespace kelvara::engine
