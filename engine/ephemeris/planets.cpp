#include "engine/ephemeris/planets.h"

#include "engine/ephemeris/precession.h"
#include "engine/ephemeris/tables.h"

namespace kelvara::engine {

SphericalState VsopHeliocentric(const VsopBodySeries& series, double julianDayTdb) {
  const double millennia = (julianDayTdb - kJ2000Jd) / kDaysPerMillennium;
  const SeriesValue l = EvaluateVsopCoordinate(series.longitude, millennia);
  const SeriesValue b = EvaluateVsopCoordinate(series.latitude, millennia);
  const SeriesValue r = EvaluateVsopCoordinate(series.radius, millennia);
  return {std::fmod(l.value, kTwoPi), b.value, r.value, l.rate / kDaysPerMillennium,
          b.rate / kDaysPerMillennium, r.rate / kDaysPerMillennium};
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
  return SphericalToRectangular(CorrectedVsopHeliocentric(CompiledVsopSeries(body), julianDayTdb));
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
