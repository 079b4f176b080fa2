#include "engine/ephemeris/series.h"

#include "engine/ephemeris/sin_cos.h"

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
      const SinCos angle = SinCosRad(term.phaseRad + term.frequencyRadPerMillennium * millennia);
      sum.value += term.amplitude * angle.cos;
      sum.rate -= term.amplitude * term.frequencyRadPerMillennium * angle.sin;
    }
    return sum;
  });
}

Jet EvaluateLunarCoordinate(const LunarCoordinate& coordinate, double centuries) {
  const double t = centuries, t2 = t * t, t3 = t2 * t, t4 = t3 * t;
  Jet total;
  double power = 1.0;              // t^n
  double powerRate = 0.0;          // n t^(n-1)
  double powerAcceleration = 0.0;  // n (n-1) t^(n-2)
  for (std::size_t n = 0; n < kLunarPowerCount; ++n) {
    Jet sum;
    for (const LunarTerm& term : coordinate.byPower[n]) {
      const std::array<double, 5>& p = term.phaseRad;
      const double phase = p[0] + p[1] * t + p[2] * t2 + p[3] * t3 + p[4] * t4;
      const double phaseRate = p[1] + 2.0 * p[2] * t + 3.0 * p[3] * t2 + 4.0 * p[4] * t3;
      const double phaseAcceleration = 2.0 * p[2] + 6.0 * p[3] * t + 12.0 * p[4] * t2;
      const SinCos angle = SinCosRad(phase);
      const double alongSin = term.amplitude * angle.sin, alongCos = term.amplitude * angle.cos;
      sum.value += alongSin;
      sum.rate += phaseRate * alongCos;
      sum.acceleration += phaseAcceleration * alongCos - phaseRate * phaseRate * alongSin;
    }
    total.value += sum.value * power;
    total.rate += sum.rate * power + sum.value * powerRate;
    total.acceleration += sum.acceleration * power + 2.0 * sum.rate * powerRate + sum.value * powerAcceleration;
    const double next = static_cast<double>(n + 1);
    powerAcceleration = next * powerRate;
    powerRate = next * power;
    power *= t;
  }
  return total;
}

}  // namespace kelvara::engine
