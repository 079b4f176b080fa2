#include "tools/ephemgen/provisional_pluto.h"

#include <cmath>
#include <stdexcept>

#include "engine/ephemeris/planets.h"
#include "engine/ephemeris/precession.h"

namespace kelvara::tools {
namespace {

using engine::Vec3;

constexpr double kGaussK = 0.01720209895;  // au^1.5 / day, Gaussian gravitational constant
// Sun / planet-system mass ratios of Jupiter, Saturn, Uranus, Neptune (IAU 2009 / DE405).
constexpr double kSunOverPlanet[4] = {1047.348644, 3497.9018, 22902.98, 19412.26};
constexpr double kAnchorInsideDays = 10.0;
constexpr double kDifferenceStepDays = 1.0;
constexpr int kKeplerIterations = 30;

Vec3 OfDateToJ2000(const Vec3& ofDate, double julianDay) {
  const double angle = -engine::GeneralPrecessionInLongitude(julianDay).angleRad;
  const Vec3 fromDeparturePoint{std::cos(angle) * ofDate.x - std::sin(angle) * ofDate.y,
                                std::sin(angle) * ofDate.x + std::cos(angle) * ofDate.y, ofDate.z};
  return engine::EclipticOfDateToJ2000(fromDeparturePoint, julianDay);
}

double TotalMassOverSun() {
  double sum = 1.0;
  for (double ratio : kSunOverPlanet) sum += 1.0 / ratio;
  return sum;
}

}  // namespace

ProvisionalPluto::ProvisionalPluto(Pluto95Tables tables, const std::vector<OwnedVsopSeries>& outerPlanets)
    : tables_(std::move(tables)), outerPlanets_(outerPlanets) {
  if (outerPlanets_.size() != 4) throw std::runtime_error("four outer planets expected");
}

Vec3 ProvisionalPluto::HeliocentricEclipticJ2000(double julianDay) const {
  return engine::EquatorialJ2000ToEcliptic(Pluto95Position(tables_, julianDay));
}

engine::StateVector ProvisionalPluto::SunFromBarycentre(double julianDay) const {
  // The barycentre lies at sum(m_i r_i) / M from the Sun, so the Sun at minus that.
  engine::StateVector sun;
  const double total = TotalMassOverSun();
  for (std::size_t i = 0; i < outerPlanets_.size(); ++i) {
    const auto place = engine::WithCorrectedPrecession(engine::VsopHeliocentric(outerPlanets_[i].View(), julianDay), julianDay);
    const engine::StateVector ofDate = engine::SphericalToRectangular(place);
    const double weight = -1.0 / kSunOverPlanet[i] / total;
    sun.position = sun.position + weight * OfDateToJ2000(ofDate.position, julianDay);
    sun.velocity = sun.velocity + weight * OfDateToJ2000(ofDate.velocity, julianDay);
  }
  return sun;
}

Vec3 ProvisionalPluto::TwoBodyFrom(double anchorJd, double julianDay) const {
  const Vec3 ahead = HeliocentricEclipticJ2000(anchorJd + kDifferenceStepDays);
  const Vec3 behind = HeliocentricEclipticJ2000(anchorJd - kDifferenceStepDays);
  const engine::StateVector sunAtAnchor = SunFromBarycentre(anchorJd);
  const engine::StateVector plutoFromBarycentre{
      HeliocentricEclipticJ2000(anchorJd) + sunAtAnchor.position,
      (1.0 / (2.0 * kDifferenceStepDays)) * (ahead - behind) + sunAtAnchor.velocity};
  const double mu = kGaussK * kGaussK * TotalMassOverSun();
  const engine::StateVector later = PropagateKepler(plutoFromBarycentre, mu, julianDay - anchorJd);
  return later.position - SunFromBarycentre(julianDay).position;
}

Vec3 ProvisionalPluto::EclipticOfDate(double julianDay) const {
  Vec3 j2000;
  if (julianDay < kPluto95FirstJd) {
    j2000 = TwoBodyFrom(kPluto95FirstJd + kAnchorInsideDays, julianDay);
  } else if (julianDay > kPluto95LastJd) {
    j2000 = TwoBodyFrom(kPluto95LastJd - kAnchorInsideDays, julianDay);
  } else {
    j2000 = HeliocentricEclipticJ2000(julianDay);
  }
  return engine::PrecessEclipticJ2000ToDate(j2000, julianDay);
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
