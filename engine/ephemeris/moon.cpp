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

Jet Evaluate(const LunarCoordinate& coordinate, double centuries) { return EvaluateLunarCoordinate(coordinate, centuries); }
Jet Evaluate(const LunarColumnCoordinate& coordinate, double centuries) {
  return EvaluateLunarColumns(coordinate, centuries);
}

template <typename Series>
LunarPlace SeriesPlace(const Series& series, double julianDayTdb) {
  const double t = CenturiesFromJ2000(julianDayTdb);
  const Jet w1 = EvaluatePolynomial(series.meanLongitudeRad, t);
  const Jet v = Evaluate(series.longitude, t);
  const Jet longitude = {std::fmod(w1.value + v.value, kTwoPi), w1.rate + v.rate, w1.acceleration + v.acceleration};
  return {PerDay(longitude), PerDay(Evaluate(series.latitude, t)),
          PerDay(Evaluate(series.distance, t))};
}

// The compiled series in columns, laid out once.
const LunarColumnSeries& CompiledMoonColumns() {
  static const LunarColumnSeries columns = ColumnsOf(kElpMpp02Moon);
  return columns;
}

}  // namespace

LunarPlace LunarSeriesPlace(const LunarSeries& series, double julianDayTdb) { return SeriesPlace(series, julianDayTdb); }

StateVector MoonEclipticJ2000Km(const LunarSeries& series, double julianDayTdb) {
  const LunarPlace place = LunarSeriesPlace(series, julianDayTdb);
  const MotionState ofDate = SphericalToRectangular(place.longitudeRad, place.latitudeRad, place.distanceKm);
  // The rotation's own rate moves the velocity by a few metres a day; it is left out.
  return {EclipticOfDateToJ2000(ofDate.position, julianDayTdb), EclipticOfDateToJ2000(ofDate.velocity, julianDayTdb)};
}

MotionState MoonOfDate(LunarPlace place, double julianDayTdb) {
  const PrecessionAngle precession = GeneralPrecessionInLongitude(julianDayTdb);
  place.longitudeRad.value += precession.angleRad;
  place.longitudeRad.rate += precession.rateRadPerDay;
  return SphericalToRectangular(place.longitudeRad, place.latitudeRad, Scaled(place.distanceKm, 1.0 / kKmPerAu));
}

MotionState MoonOfDate(double julianDayTdb) {
  return MoonOfDate(SeriesPlace(CompiledMoonColumns(), julianDayTdb), julianDayTdb);
}

TaylorSegment<3> MoonTaylorSegment(double middleDay, std::size_t order) {
  return LunarTaylorSegment(CompiledMoonColumns(), middleDay, order);
}

LunarPlace LunarPlaceOf(const TaylorSegment<3>& segment, double julianDayTdb) {
  Jet longitude = segment.At(0, julianDayTdb);
  longitude.value = std::fmod(longitude.value, kTwoPi);
  return {longitude, segment.At(1, julianDayTdb), segment.At(2, julianDayTdb)};
}

}  // namespace kelvara::engine
