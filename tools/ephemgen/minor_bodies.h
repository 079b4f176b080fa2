// The six integrated bodies of the ephemeris files: their force model, their initial
// conditions brought to one epoch, and their trajectory on the grid of the files.
#pragma once

#include <string>
#include <vector>

#include "engine/ephemeris/geometry.h"
#include "tools/ephemgen/forces.h"
#include "tools/ephemgen/initial_conditions.h"
#include "tools/ephemgen/planets.h"

namespace kelvara::tools {

// Order of the bodies in the force model and in every state list.
enum MinorBodyIndex : int { kPluto = 0, kChiron, kCeres, kPallas, kJuno, kVesta, kMinorBodyCount };

inline constexpr double kCommonEpochJd = engine::kJ2000Jd;  // where every body's state is brought
inline constexpr double kPlutoCheckEpochJd = 2433282.5;    // 1950-01-01, the second Horizons state

// What the minor-body folder gives: the force model (DE440 GMs) and per body its own epoch state
// (Pluto: its Horizons state at J2000, and the one at 1950 its velocity is fitted to).
struct MinorBodySetup {
  ForceModel model;
  std::vector<EpochState> epochStates;
  EpochState plutoAt1950;
};

// Reads "gm_de440.csv", "sbdb_initial_conditions.csv", "horizons_barycentric_states.csv" and
// "mpc_elements.csv" from folder. Throws std::runtime_error naming the file on any fault.
MinorBodySetup ReadMinorBodySetup(const std::string& folder);

// Pluto's Horizons state is that of the body, which circles the Pluto-Charon barycentre at
// 0.02 km/s; the orbit needs the barycentre's velocity. Keeps the J2000 position and solves for
// the velocity whose orbit passes through the 1950 position (Newton's method), au/day.
engine::Vec3 FitPlutoVelocity(const MinorBodySetup& setup, PerturbingPlanets& planets, double stepDays);

// Heliocentric states of all bodies at kCommonEpochJd: each body is carried from its own epoch
// in the company of the others, twice over so that the mutual pulls of Ceres, Pallas and Vesta
// settle.
std::vector<engine::StateVector> StatesAtCommonEpoch(const MinorBodySetup& setup, const engine::Vec3& plutoVelocity,
                                                     PerturbingPlanets& planets, double stepDays);

// Heliocentric ecliptic J2000 positions of every body at firstJd + k spacingDays.
class Trajectory {
 public:
  Trajectory(double firstJd, double spacingDays, std::size_t points);
  double firstJd() const { return firstJd_; }
  double spacingDays() const { return spacingDays_; }
  std::size_t points() const { return positions_.size(); }
  // Position of a body at a grid day; throws std::out_of_range off the grid.
  const engine::Vec3& At(int body, double julianDayTdb) const;
  void Set(std::size_t point, const std::vector<engine::StateVector>& states);

 private:
  double firstJd_, spacingDays_;
  std::vector<std::vector<engine::Vec3>> positions_;
};

// Integrates the states from kCommonEpochJd backwards and forwards over the whole grid.
void FillTrajectory(MinorBodyIntegrator& integrator, const std::vector<engine::StateVector>& atCommonEpoch,
                    Trajectory& trajectory);

}  // namespace kelvara::tools
