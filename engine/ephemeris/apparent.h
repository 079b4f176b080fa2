// From geometric places to apparent geocentric places of date.
#pragma once

#include <functional>

#include "engine/ephemeris/geometry.h"
#include "engine/ephemeris/nutation.h"

namespace kelvara::engine {

// Apparent geocentric ecliptic place, true equinox of date.
struct ApparentPlace {
  double longitudeDeg = 0.0;  // [0, 360)
  double latitudeDeg = 0.0;
  double motionDegPerDay = 0.0;  // rate of the apparent longitude
};

// Heliocentric state of a body at a TT Julian day (mean ecliptic and equinox of that date);
// false when the body is not available then.
using HeliocentricSource = std::function<bool(double julianDayTt, StateVector& heliocentric)>;

// Stellar aberration of a unit direction for an observer moving at velocity (in units of c),
// relativistic form without light deflection (SOFA iauAb, Klioner 2003).
Vec3 Aberrate(const Vec3& unitDirection, const Vec3& velocityOverC);

// Geometric geocentric state of a body as seen at julianDayTt: the body at the time its light
// left it, the Earth at the time of observation. bodyNow is the body's state at julianDayTt.
bool LightTimeCorrected(const HeliocentricSource& body, double julianDayTt, const StateVector& earth,
                        const StateVector& bodyNow, StateVector& geocentric);

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
