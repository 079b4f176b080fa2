#include "tools/ephemgen/minor_bodies.h"

#include <cmath>
#include <stdexcept>

#include "tools/ephemgen/orbit.h"

namespace kelvara::tools {
namespace {

using engine::StateVector;
using engine::Vec3;

constexpr int kFirstAsteroidNaifId = 2000000;  // + the asteroid's number
constexpr int kSettlingRounds = 2;

IntegratedBody Asteroid(const std::string& gmPath, const std::string& name, int number, Pull pulls) {
  return {name, ReadGm(gmPath, kFirstAsteroidNaifId + number), pulls};
}

}  // namespace

IntegrationSetup ReadIntegrationSetup(const De405& de405, const std::string& folder) {
  const std::string gm = folder + "/gm_de440.csv";
  const std::string sbdb = folder + "/sbdb_initial_conditions.csv";
  const std::string horizons = folder + "/horizons_barycentric_states.csv";
  IntegrationSetup setup;
  setup.model = OuterPlanetModel(de405.constants);
  // Chiron has no published GM: a test particle.
  setup.model.bodies.insert(setup.model.bodies.end(),
                            {IntegratedBody{"Chiron", 0.0, Pull::kNothing}, Asteroid(gm, "Ceres", 1, Pull::kMinorBodies),
                             Asteroid(gm, "Pallas", 2, Pull::kMinorBodies), Asteroid(gm, "Juno", 3, Pull::kNothing),
                             Asteroid(gm, "Vesta", 4, Pull::kMinorBodies)});
  setup.planetsAtStart = OuterPlanetStates(de405, kStartEpochJd, Origin::kSun);
  setup.minorBodyStates = {ReadSbdbState(sbdb, "2060 Chiron"), ReadSbdbState(sbdb, "1 Ceres"),
                           ReadSbdbState(sbdb, "2 Pallas"),
                           ReadMpcState(folder + "/mpc_elements.csv", "(3) Juno", setup.model.sunGm),
                           ReadHorizonsState(horizons, "4 Vesta", kStartEpochJd)};
  return setup;
}

std::vector<StateVector> StatesAtStartEpoch(const IntegrationSetup& setup, PerturbingPlanets& planets, double stepDays) {
  // A two-body first guess, then each minor body carried from its own epoch with the others.
  std::vector<StateVector> atStart = setup.planetsAtStart;
  for (const EpochState& s : setup.minorBodyStates) {
    atStart.push_back(PropagateKepler(s.state, setup.model.sunGm, kStartEpochJd - s.julianDayTdb));
  }
  BodyIntegrator integrator(planets, setup.model, stepDays);
  for (int round = 0; round < kSettlingRounds; ++round) {
    std::vector<StateVector> settled = atStart;
    for (int body = kChiron; body < kBodyCount; ++body) {
      const EpochState& own = setup.minorBodyStates[body - kChiron];
      if (own.julianDayTdb == kStartEpochJd) {
        settled[body] = own.state;
        continue;
      }
      std::vector<StateVector> states = atStart;
      double t = kStartEpochJd;
      integrator.Advance(t, states, own.julianDayTdb);
      states[body] = own.state;
      integrator.Advance(t, states, kStartEpochJd);
      settled[body] = states[body];
    }
    atStart = settled;
  }
  return atStart;
}

Trajectory::Trajectory(double firstJd, double spacingDays, std::size_t points)
    : firstJd_(firstJd), spacingDays_(spacingDays), positions_(points) {}

const Vec3& Trajectory::At(int body, double julianDayTdb) const {
  const double index = (julianDayTdb - firstJd_) / spacingDays_;
  if (!(index >= 0.0) || index != std::floor(index) || index >= static_cast<double>(positions_.size()) ||
      positions_[static_cast<std::size_t>(index)].empty()) {
    throw std::out_of_range("JD " + std::to_string(julianDayTdb) + " is not on the trajectory's grid");
  }
  return positions_[static_cast<std::size_t>(index)].at(static_cast<std::size_t>(body));
}

void Trajectory::Set(std::size_t point, const std::vector<StateVector>& states) {
  positions_.at(point).clear();
  for (const StateVector& s : states) positions_[point].push_back(s.position);
}

void FillTrajectory(BodyIntegrator& integrator, const std::vector<StateVector>& atStart, Trajectory& trajectory) {
  const double spacing = trajectory.spacingDays();
  const long points = static_cast<long>(trajectory.points());
  const long start = static_cast<long>(std::floor((kStartEpochJd - trajectory.firstJd()) / spacing));
  if (start < 0 || start >= points) throw std::out_of_range("the start epoch lies off the trajectory's grid");
  for (long direction : {-1L, +1L}) {
    std::vector<StateVector> states = atStart;
    double t = kStartEpochJd;
    for (long point = start; point >= 0 && point < points; point += direction) {
      integrator.Advance(t, states, trajectory.firstJd() + spacing * static_cast<double>(point));
      trajectory.Set(static_cast<std::size_t>(point), states);
    }
  }
}

}  // namespace kelvara::tools
