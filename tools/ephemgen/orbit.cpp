#include "tools/ephemgen/orbit.h"

#include <cmath>
#include <stdexcept>

namespace kelvara::tools {
namespace {

using engine::Vec3;

constexpr int kKeplerIterations = 30;

// Eccentric anomaly from the mean anomaly, rad (Newton's method on M = E - e sin E).
double EccentricAnomaly(double meanAnomalyRad, double e) {
  double eccentric = meanAnomalyRad;
  for (int i = 0; i < kKeplerIterations; ++i) {
    eccentric -= (eccentric - e * std::sin(eccentric) - meanAnomalyRad) / (1.0 - e * std::cos(eccentric));
  }
  return eccentric;
}

// From the orbital plane (x towards perihelion) to the reference plane: R_z(node) R_x(i) R_z(omega).
Vec3 OrbitPlaneToReference(const Vec3& v, const OrbitalElements& el) {
  const Vec3 turned = engine::RotateAboutZ(v, el.argumentOfPerihelionRad);
  const Vec3 tilted = engine::RotateAboutX(turned, el.inclinationRad);
  return engine::RotateAboutZ(tilted, el.ascendingNodeRad);
}

}  // namespace

engine::StateVector StateFromElements(const OrbitalElements& el, double mu) {
  // Elliptic motion in the orbital plane (e.g. Danby, Fundamentals of Celestial Mechanics, 6.3).
  const double a = el.semiMajorAxisAu, e = el.eccentricity;
  if (!(a > 0.0) || !(e >= 0.0 && e < 1.0)) throw std::runtime_error("elements are not of an elliptic orbit");
  const double eccentric = EccentricAnomaly(el.meanAnomalyRad, e);
  const double n = std::sqrt(mu / (a * a * a));
  const double root = std::sqrt(1.0 - e * e);
  const double c = std::cos(eccentric), s = std::sin(eccentric);
  const double rate = n / (1.0 - e * c);  // dE/dt
  const Vec3 position{a * (c - e), a * root * s, 0.0};
  const Vec3 velocity{-a * s * rate, a * root * c * rate, 0.0};
  return {OrbitPlaneToReference(position, el), OrbitPlaneToReference(velocity, el)};
}

engine::StateVector PropagateKepler(const engine::StateVector& start, double mu, double elapsedDays) {
  // Elliptic motion through the eccentric anomaly (e.g. Danby, Fundamentals of Celestial Mechanics, 6.8).
  const double r0 = engine::Norm(start.position);
  const double v2 = engine::Dot(start.velocity, start.velocity);
  const double a = 1.0 / (2.0 / r0 - v2 / mu);
  if (!(a > 0.0)) throw std::runtime_error("orbit is not elliptic");
  const double n = std::sqrt(mu / (a * a * a));
  const double eCosE0 = 1.0 - r0 / a;
  const double eSinE0 = engine::Dot(start.position, start.velocity) / std::sqrt(mu * a);
  // Solve dM = dE - eCosE0 sin dE + eSinE0 (1 - cos dE) for dE by Newton's method.
  const double dM = n * elapsedDays;
  double dE = dM;
  for (int i = 0; i < kKeplerIterations; ++i) {
    const double f = dE - eCosE0 * std::sin(dE) + eSinE0 * (1.0 - std::cos(dE)) - dM;
    const double fPrime = 1.0 - eCosE0 * std::cos(dE) + eSinE0 * std::sin(dE);
    dE -= f / fPrime;
  }
  // f and g functions.
  const double f = 1.0 - a / r0 * (1.0 - std::cos(dE));
  const double g = elapsedDays - (dE - std::sin(dE)) / n;
  const Vec3 position = f * start.position + g * start.velocity;
  const double r = engine::Norm(position);
  const double fDot = -a * a * n * std::sin(dE) / (r * r0);
  const double gDot = 1.0 - a / r * (1.0 - std::cos(dE));
  return {position, fDot * start.position + gDot * start.velocity};
}

}  // namespace kelvara::tools
