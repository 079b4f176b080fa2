#include "engine/ephemeris/nutation.h"

#include <array>
#include <cmath>
#include <vector>

#include "engine/ephemeris/geometry.h"
#include "engine/ephemeris/sin_cos.h"
#include "engine/ephemeris/tables.h"

namespace kelvara::engine {
namespace {

constexpr double kMasToRad = kArcsecToRad / 1000.0;
constexpr double kArcsecPerTurn = 1296000.0;
// Planetary nutation replaced by constants in IAU 2000B, milliarcseconds.
constexpr double kPlanetaryPsiMas = -0.135;
constexpr double kPlanetaryEpsMas = 0.388;

// Delaunay arguments l, l', F, D, Omega of IAU 2000B (linear in T), radians or rad/century.
struct DelaunayArguments {
  double l, lp, f, d, om;
};

constexpr DelaunayArguments kArgumentsArcsec = {485868.249036, 1287104.79305, 335779.526232, 1072260.70369,
                                                450160.398036};
constexpr DelaunayArguments kRatesArcsecPerCentury = {1717915923.2178, 129596581.0481, 1739527262.8478,
                                                      1602961601.2090, -6962890.5431};

double ArgumentRad(double arcsecAtEpoch, double arcsecPerCentury, double centuries) {
  return std::fmod(arcsecAtEpoch + arcsecPerCentury * centuries, kArcsecPerTurn) * kArcsecToRad;
}

DelaunayArguments Arguments2000B(double centuries) {
  const DelaunayArguments& a = kArgumentsArcsec;
  const DelaunayArguments& r = kRatesArcsecPerCentury;
  return {ArgumentRad(a.l, r.l, centuries), ArgumentRad(a.lp, r.lp, centuries), ArgumentRad(a.f, r.f, centuries),
          ArgumentRad(a.d, r.d, centuries), ArgumentRad(a.om, r.om, centuries)};
}

double Combined(const NutationTerm& term, const DelaunayArguments& a) {
  return term.l * a.l + term.lp * a.lp + term.f * a.f + term.d * a.d + term.om * a.om;
}

// Rates of the terms' arguments, rad/century: fixed by the table, so worked out once.
const std::vector<double>& ArgumentRatesRadPerCentury() {
  static const std::vector<double> rates = [] {
    std::vector<double> r;
    r.reserve(kNutation2000B.size());
    for (const NutationTerm& term : kNutation2000B) r.push_back(Combined(term, kRatesArcsecPerCentury) * kArcsecToRad);
    return r;
  }();
  return rates;
}

}  // namespace

Nutation Nutation2000B(double julianDayTt) {
  const double t = CenturiesFromJ2000(julianDayTt);
  const DelaunayArguments a = Arguments2000B(t);
  const std::vector<double>& argRates = ArgumentRatesRadPerCentury();
  // The sines and cosines a block at a time; the sums then run smallest term first.
  constexpr std::size_t kBlock = 128;
  std::array<double, kBlock> args, sines, cosines;
  double psiMas = 0.0;
  double epsMas = 0.0;
  double psiRateMasPerCentury = 0.0;  // the slow change of the amplitudes is left out
  for (std::size_t end = kNutation2000B.size(); end > 0;) {
    const std::size_t begin = end > kBlock ? end - kBlock : 0;
    const std::size_t count = end - begin;
    for (std::size_t i = 0; i < count; ++i) args[i] = Combined(kNutation2000B[begin + i], a);
    SinCosOfAngles(args.data(), sines.data(), cosines.data(), count);
    for (std::size_t i = count; i-- > 0;) {
      const NutationTerm& term = kNutation2000B[begin + i];
      const double s = sines[i], c = cosines[i];
      const double psiSin = term.psiSinMas + term.psiSinRateMasPerCentury * t;
      psiMas += psiSin * s + term.psiCosMas * c;
      epsMas += (term.epsCosMas + term.epsCosRateMasPerCentury * t) * c + term.epsSinMas * s;
      psiRateMasPerCentury += (psiSin * c - term.psiCosMas * s) * argRates[begin + i];
    }
    end = begin;
  }
  return {(psiMas + kPlanetaryPsiMas) * kMasToRad, (epsMas + kPlanetaryEpsMas) * kMasToRad,
          psiRateMasPerCentury * kMasToRad / kDaysPerCentury};
}

}  // namespace kelvara::engine
