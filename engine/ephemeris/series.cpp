#include "engine/ephemeris/series.h"

#include <cmath>

namespace kelvara::engine {

SeriesValue EvaluateVsopCoordinate(const VsopCoordinate& coordinate, double millennia) {
  SeriesValue total;
  double power = 1.0;         // t^a
  double powerBelow = 0.0;    // a * t^(a-1)
  for (std::size_t a = 0; a < kVsopPowerCount; ++a) {
    double sum = 0.0;
    double sumRate = 0.0;
    for (const VsopTerm& term : coordinate.byPower[a]) {
      const double angle = term.phaseRad + term.frequencyRadPerMillennium * millennia;
      sum += term.amplitude * std::cos(angle);
      sumRate -= term.amplitude * term.frequencyRadPerMillennium * std::sin(angle);
    }
    total.value += sum * power;
    total.rate += sumRate * power + sum * powerBelow;
    powerBelow = static_cast<double>(a + 1) * power;
    power *= millennia;
  }
  return total;
}

SeriesValue EvaluateLunarCoordinate(const LunarCoordinate& coordinate, double centuries) {
  SeriesValue total;
  double power = 1.0;
  double powerBelow = 0.0;
  for (std::size_t n = 0; n < kLunarPowerCount; ++n) {
    double sum = 0.0;
    double sumRate = 0.0;
    for (const LunarTerm& term : coordinate.byPower[n]) {
      const SeriesValue phase = EvaluatePolynomial(term.phaseRad, centuries);
      sum += term.amplitude * std::sin(phase.value);
      sumRate += term.amplitude * phase.rate * std::cos(phase.value);
    }
    total.value += sum * power;
    total.rate += sumRate * power + sum * powerBelow;
    powerBelow = static_cast<double>(n + 1) * power;
    power *= centuries;
  }
  return total;
}

}  // namespace kelvara::engine
