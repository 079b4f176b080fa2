#include "engine/ephemeris/nutation.h"

#include <cmath>

#include "engine/ephemeris/geometry.h"
#include "engine/ephemeris/tables.h"

namespace kelvara::engine {
namespace {

constexpr double kMasToRad = kArcsecToRad / 1000.0;
constexpr double kArcsecPerTurn = 1296000.0;
// Planetary nutation replaced by constants in IAU 2000B, milliarcseconds.
constexpr double kPlanetaryPsiMas = -0.135;
constexpr double kPlanetaryEpsMas = 0.388;

// Delaunay arguments l, l', F, D, Omega of IAU 2000B (linear in T), radians.
struct DelaunayArguments {
  double l, lp, f, d, om;
};

double ArgumentRad(double arcsecAtEpoch, double arcsecPerCentury, double centuries) {
  return std::fmod(arcsecAtEpoch + arcsecPerCentury * centuries, kArcsecPerTurn) * kArcsecToRad;
}

DelaunayArguments Arguments2000B(double centuries) {
  return {ArgumentRad(485868.249036, 1717915923.2178, centuries),
          ArgumentRad(1287104.79305, 129596581.0481, centuries),
          ArgumentRad(335779.526232, 1739527262.8478, centuries),
          ArgumentRad(1072260.70369, 1602961601.2090, centuries),
          ArgumentRad(450160.398036, -6962890.5431, centuries)};
}

}  // namespace

Nutation Nutation2000B(double julianDayTt) {
  const double t = (julianDayTt - kJ2000Jd) / kDaysPerCentury;
  const DelaunayArguments a = Arguments2000B(t);
  double psiMas = 0.0;
  double epsMas = 0.0;
  for (auto it = kNutation2000B.rbegin(); it != kNutation2000B.rend(); ++it) {  // smallest first
    const NutationTerm& term = *it;
    const double arg = term.l * a.l + term.lp * a.lp + term.f * a.f + term.d * a.d + term.om * a.om;
    const double s = std::sin(arg), c = std::cos(arg);
    psiMas += (term.psiSinMas + term.psiSinRateMasPerCentury * t) * s + term.psiCosMas * c;
    epsMas += (term.epsCosMas + term.epsCosRateMasPerCentury * t) * c + term.epsSinMas * s;
  }
  return {(psiMas + kPlanetaryPsiMas) * kMasToRad, (epsMas + kPlanetaryEpsMas) * kMasToRad};
}

}  // namespace kelvara::engine
