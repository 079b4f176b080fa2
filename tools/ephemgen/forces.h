// Heliocentric equations of motion of the integrated bodies (the outer planets' systems and the
// minor bodies) under the Sun, the inner planets and one another.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/ephemeris/geometry.h"
#include "tools/ephemgen/planets.h"
#include "tools/ephemgen/radau.h"

namespace kelvara::tools {

// Which bodies an integrated body pulls. The planets pull every body; Ceres, Pallas and Vesta
// only the other minor bodies: on the planets their pull stays below the budget (README).
enum class Pull { kNothing, kMinorBodies, kEveryBody };

struct IntegratedBody {
  std::string name;
  double gm;   // au^3/day^2
  Pull pulls;
};

struct ForceModel {
  double sunGm = 0.0;                                    // au^3/day^2
  std::array<double, kInnerPlanetCount> innerPlanetGm{};  // Mercury, Venus, Earth+Moon, Mars system
  std::vector<IntegratedBody> bodies;
  double lightDaysPerAu = engine::kLightDaysPerAu;  // the speed of light in the model's au
  bool solarRelativity = true;                     // the Sun's first post-Newtonian term
};

// Whether body `source` pulls body `target` (and, through the indirect term, the Sun) in a model.
bool Pulls(const ForceModel& model, std::size_t source, std::size_t target);

// Heliocentric acceleration of every body (au/day^2) in the ecliptic J2000 frame. x and v
// hold three components per body, in the model's body order. With the Sun at the origin the
// Sun's own acceleration towards every other mass appears as the indirect term -GM_j r_j/r_j^3.
void HeliocentricAccelerations(const ForceModel& model, const PlanetPositions& planets, const std::vector<double>& x,
                               const std::vector<double>& v, std::vector<double>& a);

// The Sun's post-Newtonian acceleration of a test body in harmonic coordinates (Schwarzschild
// field, e.g. Moyer 2003, JPL monograph 2, eq. 4-61 reduced to one mass), au/day^2; the speed of
// light is one au per lightDaysPerAu days.
engine::Vec3 SolarRelativisticAcceleration(double sunGm, double lightDaysPerAu, const engine::Vec3& r,
                                           const engine::Vec3& v);

// Integrates the bodies of a model with fixed Gauss-Radau steps.
class BodyIntegrator {
 public:
  BodyIntegrator(PerturbingPlanets& planets, ForceModel model, double stepDays);

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
