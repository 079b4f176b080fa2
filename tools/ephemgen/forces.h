// Heliocentric equations of motion of minor bodies under the Sun, the eight planets and the
// massive minor bodies among them.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/ephemeris/geometry.h"
#include "tools/ephemgen/planets.h"
#include "tools/ephemgen/radau.h"

namespace kelvara::tools {

struct MinorBody {
  std::string name;
  double gm;      // au^3/day^2
  bool perturbs;  // pulls the Sun and the other bodies (Ceres, Pallas, Vesta)
};

struct ForceModel {
  double sunGm;                                 // au^3/day^2
  std::array<double, kPlanetCount> planetGm{};  // planet systems, au^3/day^2
  std::vector<MinorBody> bodies;
  bool solarRelativity = true;  // the Sun's first post-Newtonian term
};

// Heliocentric acceleration of every body (au/day^2) in the ecliptic J2000 frame. x and v
// hold three components per body, in the model's body order. With the Sun at the origin the
// Sun's own acceleration towards every other mass appears as the indirect term -GM_j r_j/r_j^3.
void HeliocentricAccelerations(const ForceModel& model, const PlanetPositions& planets, const std::vector<double>& x,
                               const std::vector<double>& v, std::vector<double>& a);

// The Sun's post-Newtonian acceleration of a test body in harmonic coordinates (Schwarzschild
// field, e.g. Moyer 2003, JPL monograph 2, eq. 4-61 reduced to one mass), au/day^2.
engine::Vec3 SolarRelativisticAcceleration(double sunGm, const engine::Vec3& r, const engine::Vec3& v);

// Integrates the bodies of a model with fixed Gauss-Radau steps.
class MinorBodyIntegrator {
 public:
  MinorBodyIntegrator(PerturbingPlanets& planets, ForceModel model, double stepDays);

  // states: one heliocentric state per body at julianDayTdb, advanced to endJulianDayTdb.
  void Advance(double& julianDayTdb, std::vector<engine::StateVector>& states, double endJulianDayTdb);

  const ForceModel& model() const { return model_; }

 private:
  PerturbingPlanets& planets_;
  ForceModel model_;
  double stepDays_;
  GaussRadau15 radau_;
};

}  // namespace kelvara::tools
