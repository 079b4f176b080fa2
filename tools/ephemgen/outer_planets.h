// The outer planets' systems as integrated bodies: their force model and DE405 states, and the
// check of an integration against DE405 at the epochs it did not start from.
#pragma once

#include <array>
#include <vector>

#include "engine/ephemeris/geometry.h"
#include "tools/ephemgen/de405.h"
#include "tools/ephemgen/forces.h"

namespace kelvara::tools {

// Order of the systems in every model and state list (they come first).
enum OuterPlanet : int { kJupiter = 0, kSaturn, kUranus, kNeptune, kPluto };

inline constexpr double kStartEpochJd = engine::kJ2000Jd;  // the DE405 states the integration starts from

// The Sun with its post-Newtonian term, the inner planets (positions from PerturbingPlanets) and
// the five systems pulling one another, with DE405's GMs and au.
ForceModel OuterPlanetModel(const De405Constants& constants);

// The same with Mercury ... Mars merged into the Sun (their masses joining its own), for
// coordinates from Origin::kInnerBarycentre.
ForceModel WithInnerPlanetsMerged(ForceModel model);

// The five systems' states relative to an origin at a DE405 epoch, in model order.
std::vector<engine::StateVector> OuterPlanetStates(const De405& de405, double epochJd, Origin origin);

struct EpochCheck {
  double julianDayTdb;
  std::array<double, kOuterPlanetCount> arcsec;         // integrated against DE405, seen from the Sun
  std::array<engine::Vec3, kOuterPlanetCount> heliocentric;  // the integrated positions, au
};

// Carries atStart (the model's bodies at kStartEpochJd, the five systems first, from `origin`)
// to every other epoch of the DE405 file, nearest first, and compares the systems' heliocentric
// directions with DE405's there.
std::vector<EpochCheck> CheckAgainstDe405(BodyIntegrator& integrator, const std::vector<engine::StateVector>& atStart,
                                          const De405& de405, Origin origin);

// Angle between two directions, arcseconds.
double SeparationArcsec(const engine::Vec3& a, const engine::Vec3& b);

}  // namespace kelvara::tools
