#include "tools/ephemgen/minor_bodies.h"

#include <cmath>
#include <stdexcept>

#include "tools/ephemgen/orbit.h"

namespace kelvara::tools {
namespace {

using engine::StateVector;
using engine::Vec3;

constexpr int kPlanetNaifIds[kPlanetCount] = {1, 2, 3, 4, 5, 6, 7, 8};
constexpr int kSunNaifId = 10;
constexpr int kPlutoSystemNaifId = 9;
constexpr int kFirstAsteroidNaifId = 2000000;  // + the asteroid's number
constexpr int kChironNaifId = -1;               // massless here: no GM is published
constexpr int kFitIterations = 3;
constexpr double kFitVelocityStepAuPerDay = 1e-7;
constexpr int kSettlingRounds = 2;

MinorBody Body(const std::string& gmPath, const std::string& name, int naifId, bool perturbs) {
  return {name, naifId == kChironNaifId ? 0.0 : ReadGm(gmPath, naifId), perturbs};
}

// Position after integrating one state from one day to another under a model.
Vec3 Carry(PerturbingPlanets& planets, const ForceModel& model, double stepDays, const StateVector& start, double from,
           double to) {
  MinorBodyIntegrator integrator(planets, model, stepDays);
  std::vector<StateVector> states{start};
  integrator.Advance(from, states, to);
  return states[0].position;
}

// Solves the 3 x 3 system m x = b (Cramer's rule).
Vec3 Solve3(const Vec3 columns[3], const Vec3& b) {
  const double det = Dot(columns[0], Cross(columns[1], columns[2]));
  if (!(std::fabs(det) > 0.0)) throw std::runtime_error("singular system in the Pluto fit");
  return {Dot(b, Cross(columns[1], columns[2])) / det, Dot(columns[0], Cross(b, columns[2])) / det,
          Dot(columns[0], Cross(columns[1], b)) / det};
}

}  // namespace

MinorBodySetup ReadMinorBodySetup(const std::string& folder) {
  const std::string gm = folder + "/gm_de440.csv";
  const std::string sbdb = folder + "/sbdb_initial_conditions.csv";
  const std::string horizons = folder + "/horizons_barycentric_states.csv";
  MinorBodySetup setup;
  setup.model.sunGm = ReadGm(gm, kSunNaifId);
  for (int p = 0; p < kPlanetCount; ++p) setup.model.planetGm[p] = ReadGm(gm, kPlanetNaifIds[p]);
  setup.model.bodies = {Body(gm, "Pluto", kPlutoSystemNaifId, false),   Body(gm, "Chiron", kChironNaifId, false),
                        Body(gm, "Ceres", kFirstAsteroidNaifId + 1, true), Body(gm, "Pallas", kFirstAsteroidNaifId + 2, true),
                        Body(gm, "Juno", kFirstAsteroidNaifId + 3, false), Body(gm, "Vesta", kFirstAsteroidNaifId + 4, true)};
  setup.epochStates = {ReadHorizonsState(horizons, "Pluto (body 999)", kCommonEpochJd),
                       ReadSbdbState(sbdb, "2060 Chiron"),
                       ReadSbdbState(sbdb, "1 Ceres"),
                       ReadSbdbState(sbdb, "2 Pallas"),
                       ReadMpcState(folder + "/mpc_elements.csv", "(3) Juno", setup.model.sunGm),
                       ReadHorizonsState(horizons, "4 Vesta", kCommonEpochJd)};
  setup.plutoAt1950 = ReadHorizonsState(horizons, "Pluto (body 999)", kPlutoCheckEpochJd);
  return setup;
}

Vec3 FitPlutoVelocity(const MinorBodySetup& setup, PerturbingPlanets& planets, double stepDays) {
  ForceModel plutoAlone = setup.model;
  plutoAlone.bodies = {setup.model.bodies[kPluto]};
  const Vec3 start = setup.epochStates[kPluto].state.position;
  const Vec3 target = setup.plutoAt1950.state.position;
  const auto miss = [&](const Vec3& velocity) {
    return Carry(planets, plutoAlone, stepDays, {start, velocity}, kCommonEpochJd, kPlutoCheckEpochJd) - target;
  };
  Vec3 velocity = setup.epochStates[kPluto].state.velocity;
  for (int iteration = 0; iteration < kFitIterations; ++iteration) {
    const Vec3 residual = miss(velocity);
    Vec3 columns[3];
    const Vec3 unit[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int k = 0; k < 3; ++k) {
      columns[k] = (1.0 / kFitVelocityStepAuPerDay) * (miss(velocity + kFitVelocityStepAuPerDay * unit[k]) - residual);
    }
    velocity = velocity - Solve3(columns, residual);
  }
  return velocity;
}

std::vector<StateVector> StatesAtCommonEpoch(const MinorBodySetup& setup, const Vec3& plutoVelocity,
                                             PerturbingPlanets& planets, double stepDays) {
  // A two-body first guess, then each body carried from its own epoch with the others.
  std::vector<StateVector> atEpoch;
  for (const EpochState& s : setup.epochStates) {
    atEpoch.push_back(PropagateKepler(s.state, setup.model.sunGm, kCommonEpochJd - s.julianDayTdb));
  }
  atEpoch[kPluto].velocity = plutoVelocity;
  MinorBodyIntegrator integrator(planets, setup.model, stepDays);
  for (int round = 0; round < kSettlingRounds; ++round) {
    std::vector<StateVector> settled = atEpoch;
    for (int body = 0; body < kMinorBodyCount; ++body) {
      const EpochState& own = setup.epochStates[body];
      if (own.julianDayTdb == kCommonEpochJd) continue;
      std::vector<StateVector> states = atEpoch;
      double t = kCommonEpochJd;
      integrator.Advance(t, states, own.julianDayTdb);
      states[body] = own.state;
      integrator.Advance(t, states, kCommonEpochJd);
      settled[body] = states[body];
    }
    atEpoch = settled;
  }
  return atEpoch;
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

void FillTrajectory(MinorBodyIntegrator& integrator, const std::vector<StateVector>& atCommonEpoch,
                    Trajectory& trajectory) {
  const double spacing = trajectory.spacingDays();
  const long points = static_cast<long>(trajectory.points());
  const long start = static_cast<long>(std::floor((kCommonEpochJd - trajectory.firstJd()) / spacing));
  if (start < 0 || start >= points) throw std::out_of_range("the common epoch lies off the trajectory's grid");
  for (long direction : {-1L, +1L}) {
    std::vector<StateVector> states = atCommonEpoch;
    double t = kCommonEpochJd;
    for (long point = start; point >= 0 && point < points; point += direction) {
      integrator.Advance(t, states, trajectory.firstJd() + spacing * static_cast<double>(point));
      trajectory.Set(static_cast<std::size_t>(point), states);
    }
  }
}

}  // namespace kelvara::tools
