#include "engine/ephemeris/moon.h"

#include "engine/ephemeris/precession.h"
#include "engine/ephemeris/tables.h"

namespace kelvara::engine {

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
  const StateVector ofDate = SphericalToRectangular(LunarSeriesPlace(series, julianDayTdb));
  // The rotation's own rate moves the velocity by a few metres a day; it is left out.
  return {EclipticOfDateToJ2000(ofDate.position, julianDayTdb), EclipticOfDateToJ2000(ofDate.velocity, julianDayTdb)};
}

StateVector MoonOfDate(double julianDayTdb) {
  SphericalState place = LunarSeriesPlace(kElpMpp02Moon, julianDayTdb);
  const PrecessionAngle precession = GeneralPrecessionInLongitude(julianDayTdb);
  place.longitudeRad += precession.angleRad;
  place.longitudeRateRadPerDay += precession.rateRadPerDay;
  place.distance /= kKmPerAu;
  place.distanceRatePerDay /= kKmPerAu;
  return SphericalToRectangular(place);
}

}  // namespace kelvara::engine
