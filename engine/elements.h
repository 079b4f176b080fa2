// The engine's own orbital-elements model: Kepler orbits from mean elements, with the main
// periodic perturbations of the outer planets, and the hypothetical bodies on circles.
#pragma once

#include <array>

#include "engine/ephemeris/geometry.h"

namespace kelvara::engine {

// One row per body: M0 M1 M2 (deg), e0 e1 e2, a (au), w0 w1 w2, N0 N1 N2, i0 i1 i2 (deg);
// each quantity is q0 + q1 T + q2 T^2, T in Julian centuries from JD 2415020.0, referred to
// the mean ecliptic and equinox of date.
inline constexpr int kElementColumns = 16;
inline constexpr int kElementRows = 22;
using ElementRow = std::array<double, kElementColumns>;

// Row 0 the Earth, 1-8 Mercury ... Pluto, 9 Chiron, 10-13 Ceres ... Vesta, 14-21 the
// hypothetical bodies (mean longitude M0 + M1 T on a circle of radius a).
const std::array<ElementRow, kElementRows>& ElementTable();

// Table row of an engine object (1 and 3-15, 33-40); -1 for the others.
int ElementRowOfObject(int object_index);
// Whether a hypothetical body's row holds elements; rows whose elements this engine does not
// carry are all zero and give no position.
bool HasElements(int row);

// Heliocentric ecliptic state of a table row at T (au, au/day, mean equinox of date),
// perturbations included for Jupiter ... Pluto.
StateVector HeliocentricOrbitState(int row, double t_centuries);

struct ElementPlace {
  double longitude_deg = 0.0;  // geocentric, mean equinox of date, [0, 360)
  double latitude_deg = 0.0;
  double motion_rad_per_day = 0.0;
  double distance_au = 0.0;  // from the Earth
  Vec3 heliocentric_au;  // the Earth's for the Sun
};

// Geocentric place of engine object 1 (Sun), 3-15 or 33-40 from the elements model.
// Objects without elements give a zero place.
ElementPlace ElementsPosition(int object_index, double t_centuries);
// The same with the Earth's state already at hand (row 0 at the same T), as a cast that
// places many bodies at one moment has it.
ElementPlace ElementsPosition(int object_index, double t_centuries, const StateVector& earth);

// Nutation in longitude, degrees: the four largest terms (Meeus, Astronomical Algorithms,
// ch. 22), good to 0.5".
double NutationInLongitudeDeg(double t_centuries);

// Light time and annual aberration together, degrees to add to a geometric longitude: the
// body is seen where it was a light time ago, as its geocentric motion carries it
// (first order; -20.5" for the Sun).
double PlanetaryAberrationDeg(double motion_rad_per_day, double distance_au);

}  // namespace kelvara::engine
