#include "tools/ephemgen/forces.h"

#include <cmath>
#include <stdexcept>

namespace kelvara::tools {
namespace {

using engine::Vec3;

Vec3 At(const std::vector<double>& flat, std::size_t body) {
  return {flat[3 * body], flat[3 * body + 1], flat[3 * body + 2]};
}

// Direct pull of a mass at `source` on a body at `target`, minus its pull on the Sun at the origin.
Vec3 PerturbingPull(double gm, const Vec3& source, const Vec3& target) {
  const Vec3 d = source - target;
  const double dd = Norm(d), rr = Norm(source);
  return gm * (1.0 / (dd * dd * dd)) * d - gm * (1.0 / (rr * rr * rr)) * source;
}

}  // namespace

bool Pulls(const ForceModel& model, std::size_t source, std::size_t target) {
  if (source == target) return false;
  switch (model.bodies[source].pulls) {
    case Pull::kEveryBody: return true;
    case Pull::kMinorBodies: return model.bodies[target].pulls != Pull::kEveryBody;
    case Pull::kNothing: return false;
  }
  return false;
}

Vec3 SolarRelativisticAcceleration(double sunGm, double lightDaysPerAu, const Vec3& r, const Vec3& v) {
  const double c2 = 1.0 / (lightDaysPerAu * lightDaysPerAu);  // (au/day)^2
  const double distance = Norm(r);
  const double factor = sunGm / (c2 * distance * distance * distance);
  return factor * ((4.0 * sunGm / distance - Dot(v, v)) * r + 4.0 * Dot(r, v) * v);
}

void HeliocentricAccelerations(const ForceModel& model, const PlanetPositions& planets, const std::vector<double>& x,
                               const std::vector<double>& v, std::vector<double>& a) {
  const std::size_t count = model.bodies.size();
  for (std::size_t i = 0; i < count; ++i) {
    const Vec3 r = At(x, i);
    const double distance = Norm(r);
    Vec3 acceleration = -(model.sunGm + model.bodies[i].gm) / (distance * distance * distance) * r;
    for (int p = 0; p < kInnerPlanetCount; ++p) {
      acceleration = acceleration + PerturbingPull(model.innerPlanetGm[p], planets[p], r);
    }
    for (std::size_t j = 0; j < count; ++j) {
      if (Pulls(model, j, i)) acceleration = acceleration + PerturbingPull(model.bodies[j].gm, At(x, j), r);
    }
    if (model.solarRelativity) {
      acceleration = acceleration + SolarRelativisticAcceleration(model.sunGm, model.lightDaysPerAu, r, At(v, i));
    }
    a[3 * i] = acceleration.x;
    a[3 * i + 1] = acceleration.y;
    a[3 * i + 2] = acceleration.z;
  }
}

BodyIntegrator::BodyIntegrator(PerturbingPlanets& planets, ForceModel model, double stepDays)
    : planets_(planets),
      model_(std::move(model)),
      stepDays_(stepDays),
      radau_(
          [this](double t, const std::vector<double>& x, const std::vector<double>& v, std::vector<double>& a) {
            HeliocentricAccelerations(model_, planets_.At(t), x, v, a);
          },
          3 * model_.bodies.size()) {}

void BodyIntegrator::Advance(double& julianDayTdb, std::vector<engine::StateVector>& states, double endJulianDayTdb) {
  if (states.size() != model_.bodies.size()) throw std::invalid_argument("one state per body of the model expected");
  std::vector<double> x, v;
  for (const engine::StateVector& s : states) {
    x.insert(x.end(), {s.position.x, s.position.y, s.position.z});
    v.insert(v.end(), {s.velocity.x, s.velocity.y, s.velocity.z});
  }
  radau_.IntegrateTo(julianDayTdb, x, v, endJulianDayTdb, stepDays_);
  for (std::size_t i = 0; i < states.size(); ++i) states[i] = {At(x, i), At(v, i)};
}

}  // namespace kelvara::tools
