#include "engine/ephemeris/planets.h"

#include <array>

#include "engine/ephemeris/precession.h"
#include "engine/ephemeris/tables.h"

namespace kelvara::engine {

namespace {

SeriesValue Evaluate(const VsopCoordinate& coordinate, double millennia) {
  return EvaluateVsopCoordinate(coordinate, millennia);
}
SeriesValue Evaluate(const VsopColumnCoordinate& coordinate, double millennia) {
  return EvaluateVsopColumns(coordinate, millennia);
}

template <typename Series>
SphericalState Heliocentric(const Series& series, double julianDayTdb) {
  const double millennia = (julianDayTdb - kJ2000Jd) / kDaysPerMillennium;
  const SeriesValue l = Evaluate(series.longitude, millennia);
  const SeriesValue b = Evaluate(series.latitude, millennia);
  const SeriesValue r = Evaluate(series.radius, millennia);
  return {std::fmod(l.value, kTwoPi), b.value, r.value, l.rate / kDaysPerMillennium,
          b.rate / kDaysPerMillennium, r.rate / kDaysPerMillennium};
}

// The compiled series in columns, each laid out once.
const VsopColumnSeries& CompiledVsopColumns(VsopBody body) {
  static const std::array<VsopColumnSeries, 4> columns = {
      ColumnsOf(kVsop87dMercury), ColumnsOf(kVsop87dVenus), ColumnsOf(kVsop87dEarth), ColumnsOf(kVsop87dMars)};
  return columns[static_cast<std::size_t>(body)];
}

}  // namespace

SphericalState VsopHeliocentric(const VsopBodySeries& series, double julianDayTdb) {
  return Heliocentric(series, julianDayTdb);
}

SphericalState WithCorrectedPrecession(SphericalState place, double julianDayTdb) {
  constexpr double kCorrectionRadPerCentury = kPrecessionCorrectionArcsecPerCentury * kArcsecToRad;
  place.longitudeRad += kCorrectionRadPerCentury * (julianDayTdb - kJ2000Jd) / kDaysPerCentury;
  place.longitudeRateRadPerDay += kCorrectionRadPerCentury / kDaysPerCentury;
  return place;
}

SphericalState CorrectedVsopHeliocentric(const VsopBodySeries& series, double julianDayTdb) {
  return WithCorrectedPrecession(VsopHeliocentric(series, julianDayTdb), julianDayTdb);
}

StateVector PlanetHeliocentricState(VsopBody body, double julianDayTdb) {
  const SphericalState place = Heliocentric(CompiledVsopColumns(body), julianDayTdb);
  return SphericalToRectangular(WithCorrectedPrecession(place, julianDayTdb));
}

StateVector PlanetHeliocentricState(const TaylorSegment<3>& segment, double julianDayTdb) {
  const Jet l = segment.At(0, julianDayTdb), b = segment.At(1, julianDayTdb), r = segment.At(2, julianDayTdb);
  const SphericalState place{std::fmod(l.value, kTwoPi), b.value, r.value, l.rate, b.rate, r.rate};
  return SphericalToRectangular(WithCorrectedPrecession(place, julianDayTdb));
}

TaylorSegment<3> PlanetTaylorSegment(VsopBody body, double middleDay, std::size_t order) {
  return VsopTaylorSegment(CompiledVsopColumns(body), middleDay, order);
}

const VsopBodySeries& CompiledVsopSeries(VsopBody body) {
  switch (body) {
    case VsopBody::kMercury: return kVsop87dMercury;
    case VsopBody::kVenus: return kVsop87dVenus;
    case VsopBody::kEarth: return kVsop87dEarth;
    case VsopBody::kMars: return kVsop87dMars;
  }
  return kVsop87dEarth;
}

}  // namespace kelvara::engine
