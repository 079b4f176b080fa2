#include "engine/ephemeris/moon.h"

#include "engine/ephemeris/precession.h"
#include "engine/ephemeris/tables.h"

namespace kelvara::engine {
namespace {

// A jet in centuries expressed per day.
Jet PerDay(const Jet& perCentury) {
  return {perCentury.value, perCentury.rate / kDaysPerCentury,
          perCentury.acceleration / (kDaysPerCentury * kDaysPerCentury)};
}

Jet Scaled(const Jet& jet, double factor) {
  return {jet.value * factor, jet.rate * factor, jet.acceleration * factor};
}

}  // namespace

LunarPlace LunarSeriesPlace(const LunarSeries& series, double julianDayTdb) {
  const double t = CenturiesFromJ2000(julianDayTdb);
  const Jet w1 = EvaluatePolynomial(series.meanLongitudeRad, t);
  const Jet v = EvaluateLunarCoordinate(series.longitude, t);
  const Jet longitude = {std::fmod(w1.value + v.value, kTwoPi), w1.rate + v.rate, w1.acceleration + v.acceleration};
  return {PerDay(longitude), PerDay(EvaluateLunarCoordinate(series.latitude, t)),
          PerDay(EvaluateLunarCoordinate(series.distance, t))};
}

StateVector MoonEclipticJ2000Km(const LunarSeries& series, double julianDayTdb) {
  const LunarPlace place = LunarSeriesPlace(series, julianDayTdb);
  const MotionState ofDate = SphericalToRectangular(place.longitudeRad, place.latitudeRad, place.distanceKm);
  // The rotation's own rate moves the velocity by a few metres a day; it is left out.
  return {EclipticOfDateToJ2000(ofDate.position, julianDayTdb), EclipticOfDateToJ2000(ofDate.velocity, julianDayTdb)};
}

MotionState MoonOfDate(double julianDayTdb) {
  LunarPlace place = LunarSeriesPlace(kElpMpp02Moon, julianDayTdb);
  const PrecessionAngle precession = GeneralPrecessionInLongitude(julianDayTdb);
  place.longitudeRad.value += precession.angleRad;
  place.longitudeRad.rate += precession.rateRadPerDay;
  return SphericalToRectangular(place.longitudeRad, place.latitudeRad, Scaled(place.distanceKm, 1.0 / kKmPerAu));
}

}  // namespace kelvara::engine
