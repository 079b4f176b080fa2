#include "tools/ephemgen/outer_planets.h"

#include <cmath>

namespace kelvara::tools {
namespace {

using engine::StateVector;

constexpr double kSpeedOfLightKmPerSecond = 299792.458;
constexpr const char* kNames[kOuterPlanetCount] = {"Jupiter", "Saturn", "Uranus", "Neptune", "Pluto"};
constexpr const char* kDe405Names[kOuterPlanetCount] = {"jupiter", "saturn", "uranus", "neptune", "pluto"};

// Carries the states through the epochs in the order given, checking at each.
void CheckAlong(BodyIntegrator& integrator, std::vector<StateVector> states, const std::vector<double>& epochs,
                const De405& de405, Origin origin, std::vector<EpochCheck>& checks) {
  double t = kStartEpochJd;
  for (double epoch : epochs) {
    integrator.Advance(t, states, epoch);
    // From the origin to the Sun: subtract the Sun's place seen from the origin.
    const engine::Vec3 sun = de405.Relative("sun", epoch, origin).position;
    EpochCheck check{epoch, {}, {}};
    for (int p = 0; p < kOuterPlanetCount; ++p) {
      check.heliocentric[p] = states[p].position - sun;
      const engine::Vec3 reference = de405.Relative(kDe405Names[p], epoch, Origin::kSun).position;
      check.arcsec[p] = SeparationArcsec(check.heliocentric[p], reference);
    }
    checks.push_back(check);
  }
}

}  // namespace

ForceModel OuterPlanetModel(const De405Constants& constants) {
  ForceModel model;
  model.sunGm = constants.sunGm;
  model.innerPlanetGm = constants.innerPlanetGm;
  for (int p = 0; p < kOuterPlanetCount; ++p) {
    model.bodies.push_back({kNames[p], constants.outerPlanetGm[p], Pull::kEveryBody});
  }
  model.lightDaysPerAu = constants.kmPerAu / (kSpeedOfLightKmPerSecond * engine::kSecondsPerDay);
  return model;
}

ForceModel WithInnerPlanetsMerged(ForceModel model) {
  for (double& gm : model.innerPlanetGm) {
    model.sunGm += gm;
    gm = 0.0;
  }
  return model;
}

std::vector<StateVector> OuterPlanetStates(const De405& de405, double epochJd, Origin origin) {
  std::vector<StateVector> states;
  for (const char* name : kDe405Names) states.push_back(de405.Relative(name, epochJd, origin));
  return states;
}

std::vector<EpochCheck> CheckAgainstDe405(BodyIntegrator& integrator, const std::vector<StateVector>& atStart,
                                          const De405& de405, Origin origin) {
  std::vector<double> before, after;
  for (double epoch : de405.states.Epochs()) {
    if (epoch < kStartEpochJd) before.insert(before.begin(), epoch);
    if (epoch > kStartEpochJd) after.push_back(epoch);
  }
  std::vector<EpochCheck> checks;
  CheckAlong(integrator, atStart, before, de405, origin, checks);
  CheckAlong(integrator, atStart, after, de405, origin, checks);
  return checks;
}

double SeparationArcsec(const engine::Vec3& a, const engine::Vec3& b) {
  return std::atan2(engine::Norm(engine::Cross(a, b)), engine::Dot(a, b)) / engine::kArcsecToRad;
}

}  // namespace kelvara::tools
