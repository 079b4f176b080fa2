// From geometric places to apparent geocentric places of date.
#pragma once

#include "engine/ephemeris/geometry.h"
#include "engine/ephemeris/nutation.h"

namespace kelvara::engine {

// Apparent geocentric ecliptic place, true equinox of date.
struct ApparentPlace {
  double longitudeDeg = 0.0;  // [0, 360)
  double latitudeDeg = 0.0;
  double motionDegPerDay = 0.0;  // rate of the apparent longitude
};

// Stellar aberration of a unit direction for an observer moving at velocity (in units of c),
// relativistic form without light deflection (SOFA iauAb, Klioner 2003).
Vec3 Aberrate(const Vec3& unitDirection, const Vec3& velocityOverC);

// Geometric geocentric state of a body as seen at julianDayTt: the body at the time its light
// left it, the Earth at the time of observation. bodyNow is the body's heliocentric state at
// julianDayTt; the body is carried back along its Keplerian arc (second-order Taylor step with
// the Sun's pull), which stays within 1e-10 au of the theory over a light time for every body
// served, so no theory is evaluated twice.
StateVector LightTimeCorrected(double julianDayTt, const StateVector& earth, const StateVector& bodyNow);

// Deflection of light by the Sun's gravity (SOFA iauLd with unit mass): unitDirection from the
// observer to the body, bodyFromSun from the Sun to the body, observerFromSun from the Sun to the
// observer (au).
Vec3 DeflectBySun(const Vec3& unitDirection, const Vec3& bodyFromSun, const Vec3& observerFromSun);

// What apparent places are made from: the geocentric state with light time applied, the Earth's
// heliocentric state, whether the Sun deflects the light (not for the Sun and the Moon) and
// whether annual aberration applies (not for the Moon, which travels round the Sun with us).
struct GeocentricView {
  StateVector geocentric;
  StateVector earth;
  bool deflectedBySun = false;
  bool annualAberration = true;
};

// Adds light deflection, annual aberration and nutation in longitude; the longitude rate
// includes how these change along the path.
ApparentPlace ApparentFromGeocentric(const GeocentricView& view, const Nutation& nutation);

}  // namespace kelvara::engine
