// Two-body orbits: osculating elements to a state vector, and Kepler propagation.
#pragma once

#include "engine/ephemeris/geometry.h"

namespace kelvara::tools {

// Osculating elliptic elements referred to some reference plane (here the ecliptic J2000).
struct OrbitalElements {
  double semiMajorAxisAu;
  double eccentricity;
  double inclinationRad;
  double ascendingNodeRad;
  double argumentOfPerihelionRad;
  double meanAnomalyRad;
};

// Position and velocity (au, au/day) on the elements' reference plane under gravitational
// parameter mu (au^3/day^2).
engine::StateVector StateFromElements(const OrbitalElements& elements, double mu);

// Two-body motion: the state after elapsedDays under gravitational parameter mu (au^3/day^2).
engine::StateVector PropagateKepler(const engine::StateVector& start, double mu, double elapsedDays);

}  // namespace kelvara::tools
