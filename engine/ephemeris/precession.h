// Ecliptic precession between J2000 and the mean ecliptic and equinox of date.
#pragma once

#include "engine/ephemeris/geometry.h"

namespace kelvara::engine {

// Correction to the IAU 1976 precession constant, Herring et al. (2002).
inline constexpr double kPrecessionCorrectionArcsecPerCentury = -0.29965;

// Accumulated precession in longitude from the departure point, Laskar (1986) p_A with the
// correction -0.29965"/cy of Herring et al. (2002); rad and rad/day.
struct PrecessionAngle {
  double angleRad;
  double rateRadPerDay;
};
PrecessionAngle GeneralPrecessionInLongitude(double julianDayTdb);

// The mean ecliptic of date (from its departure point) to the ecliptic and equinox of J2000
// through Laskar's P, Q (ELP/MPP02 notice, section 5.1), and back.
Vec3 EclipticOfDateToJ2000(const Vec3& v, double julianDayTdb);
Vec3 EclipticJ2000ToOfDate(const Vec3& v, double julianDayTdb);

// Ecliptic and mean equinox of J2000 to the ecliptic and mean equinox of date, and back.
Vec3 PrecessEclipticJ2000ToDate(const Vec3& v, double julianDayTdb);
Vec3 PrecessEclipticDateToJ2000(const Vec3& v, double julianDayTdb);

// Mean equator and equinox of J2000 to the ecliptic of J2000, obliquity 84381.448" (IAU 1976),
// and back.
Vec3 EquatorialJ2000ToEcliptic(const Vec3& v);
Vec3 EclipticJ2000ToEquatorial(const Vec3& v);

}  // namespace kelvara::engine
