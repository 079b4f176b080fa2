// The ten integrated bodies of the ephemeris files: the outer planets' systems and the minor
// bodies, their force model, their states brought to one epoch, and their trajectory on the
// grid of the files.
#pragma once

#include <string>
#include <vector>

#include "engine/ephemeris/geometry.h"
#include "tools/ephemgen/de405.h"
#include "tools/ephemgen/forces.h"
#include "tools/ephemgen/initial_conditions.h"
#include "tools/ephemgen/outer_planets.h"
#include "tools/ephemgen/planets.h"

namespace kelvara::tools {

// Order of the minor bodies in the force model and in every state list, after the five systems.
enum MinorBodyIndex : int { kChiron = kOuterPlanetCount, kCeres, kPallas, kJuno, kVesta, kBodyCount };

inline constexpr double kHorizonsCheckEpochJd = 2433282.5;  // 1950-01-01, the second Horizons state

// What the two folders give: the force model (DE405 for the Sun and the planets, DE440 GMs for
// the asteroids, whose solutions were fitted with them), the planets' DE405 states at
// kStartEpochJd and every minor body's state at its own epoch.
struct IntegrationSetup {
  ForceModel model;
  std::vector<engine::StateVector> planetsAtStart;
  std::vector<EpochState> minorBodyStates;  // from kChiron on
};

// Reads "gm_de440.csv", "sbdb_initial_conditions.csv", "horizons_barycentric_states.csv" and
// "mpc_elements.csv" from minorBodyFolder. Throws std::runtime_error naming the file on any fault.
IntegrationSetup ReadIntegrationSetup(const De405& de405, const std::string& minorBodyFolder);

// Heliocentric states of all bodies at kStartEpochJd: each minor body is carried from its own
// epoch in the company of the others, twice over so that the mutual pulls of Ceres, Pallas and
// Vesta settle.
std::vector<engine::StateVector> StatesAtStartEpoch(const IntegrationSetup& setup, PerturbingPlanets& planets,
                                                    double stepDays);

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

// Integrates the states from kStartEpochJd backwards and forwards over the whole grid.
void FillTrajectory(BodyIntegrator& integrator, const std::vector<engine::StateVector>& atStart, Trajectory& trajectory);

}  // namespace kelvara::tools
