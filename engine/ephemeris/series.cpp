#include "engine/ephemeris/series.h"

#include <cmath>

namespace kelvara::engine {
namespace {

// sum_n t^n S_n(t) and its derivative, where termSum gives S_n and S_n' for the terms of power n.
template <typename Terms, std::size_t N, typename TermSum>
SeriesValue SumOverPowers(const std::array<Terms, N>& byPower, double t, TermSum termSum) {
  SeriesValue total;
  double power = 1.0;       // t^n
  double powerBelow = 0.0;  // n t^(n-1)
  for (std::size_t n = 0; n < N; ++n) {
    const SeriesValue sum = termSum(byPower[n]);
    total.value += sum.value * power;
    total.rate += sum.rate * power + sum.value * powerBelow;
    powerBelow = static_cast<double>(n + 1) * power;
    power *= t;
  }
  return total;
}

}  // namespace

SeriesValue EvaluateVsopCoordinate(const VsopCoordinate& coordinate, double millennia) {
  return SumOverPowers(coordinate.byPower, millennia, [millennia](std::span<const VsopTerm> terms) {
    SeriesValue sum;
    for (const VsopTerm& term : terms) {
      const double angle = term.phaseRad + term.frequencyRadPerMillennium * millennia;
      sum.value += term.amplitude * std::cos(angle);
      sum.rate -= term.amplitude * term.frequencyRadPerMillennium * std::sin(angle);
    }
    return sum;
  });
}

SeriesValue EvaluateLunarCoordinate(const LunarCoordinate& coordinate, double centuries) {
  return SumOverPowers(coordinate.byPower, centuries, [centuries](std::span<const LunarTerm> terms) {
    SeriesValue sum;
    for (const LunarTerm& term : terms) {
      const SeriesValue phase = EvaluatePolynomial(term.phaseRad, centuries);
      sum.value += term.amplitude * std::sin(phase.value);
      sum.rate += term.amplitude * phase.rate * std::cos(phase.value);
    }
    return sum;
  });
}

}  // namespace kelvara::engine
