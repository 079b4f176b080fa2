#include "engine/ephemeris/moon.h"

#include <array>

#include "engine/ephemeris/tables.h"

namespace kelvara::engine {
namespace {

// Precession from the departure point to the mean equinox of date, arcsec in centuries:
// Laskar (1986) p_A with the correction -0.29965"/cy of Herring et al. (2002).
constexpr std::array<double, 5> kPrecessionArcsec = {0.0, 5029.0966 - 0.29965, 1.1120, 0.000077, -0.00002353};

// Laskar's P and Q of the ecliptic of date on J2000, degree five in centuries.
constexpr std::array<double, 6> kLaskarP = {0.0, 0.10180391e-4, 0.47020439e-6, -0.5417367e-9, -0.2507948e-11,
                                            0.463486e-14};
constexpr std::array<double, 6> kLaskarQ = {0.0, -0.113469002e-3, 0.12372674e-6, 0.1265417e-8, -0.1371808e-10,
                                            -0.320334e-14};

double Horner(const std::array<double, 6>& c, double t) {
  double value = 0.0;
  for (std::size_t k = c.size(); k-- > 0;) value = value * t + c[k];
  return value;
}

Vec3 RotateToJ2000(const Vec3& v, double p, double q) {
  const double root = std::sqrt(1.0 - p * p - q * q);
  return {(1.0 - 2.0 * p * p) * v.x + 2.0 * p * q * v.y + 2.0 * p * root * v.z,
          2.0 * p * q * v.x + (1.0 - 2.0 * q * q) * v.y - 2.0 * q * root * v.z,
          -2.0 * p * root * v.x + 2.0 * q * root * v.y + (1.0 - 2.0 * p * p - 2.0 * q * q) * v.z};
}

}  // namespace

SphericalState LunarSeriesPlace(const LunarSeries& series, double julianDayTdb) {
  const double t = (julianDayTdb - kJ2000Jd) / kDaysPerCentury;
  const SeriesValue w1 = EvaluatePolynomial(series.meanLongitudeRad, t);
  const SeriesValue v = EvaluateLunarCoordinate(series.longitude, t);
  const SeriesValue u = EvaluateLunarCoordinate(series.latitude, t);
  const SeriesValue r = EvaluateLunarCoordinate(series.distance, t);
  return {std::fmod(w1.value + v.value, kTwoPi), u.value, r.value, (w1.rate + v.rate) / kDaysPerCentury,
          u.rate / kDaysPerCentury, r.rate / kDaysPerCentury};
}

StateVector MoonEclipticJ2000Km(const LunarSeries& series, double julianDayTdb) {
  const double t = (julianDayTdb - kJ2000Jd) / kDaysPerCentury;
  const StateVector ofDate = SphericalToRectangular(LunarSeriesPlace(series, julianDayTdb));
  const double p = Horner(kLaskarP, t), q = Horner(kLaskarQ, t);
  // The rotation's own rate moves the velocity by under 1e-4 km/day; it is left out.
  return {RotateToJ2000(ofDate.position, p, q), RotateToJ2000(ofDate.velocity, p, q)};
}

StateVector MoonOfDate(double julianDayTdb) {
  const double t = (julianDayTdb - kJ2000Jd) / kDaysPerCentury;
  SphericalState place = LunarSeriesPlace(kElpMpp02Moon, julianDayTdb);
  const SeriesValue precession = EvaluatePolynomial(kPrecessionArcsec, t);
  place.longitudeRad += precession.value * kArcsecToRad;
  place.longitudeRateRadPerDay += precession.rate * kArcsecToRad / kDaysPerCentury;
  place.distance /= kKmPerAu;
  place.distanceRatePerDay /= kKmPerAu;
  return SphericalToRectangular(place);
}

}  // namespace kelvara::engine
