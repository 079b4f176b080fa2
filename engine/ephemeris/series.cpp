#include "engine/ephemeris/series.h"

#include <algorithm>

#include "engine/ephemeris/sin_cos.h"

namespace kelvara::engine {
namespace {

// Terms go through the sine and cosine in blocks of this many (a few kilobytes of stack).
constexpr std::size_t kBlockTerms = 128;

struct AngleBlock {
  std::array<double, kBlockTerms> angleRad;
  std::array<double, kBlockTerms> sin;
  std::array<double, kBlockTerms> cos;

  void Evaluate(std::size_t count) { SinCosOfAngles(angleRad.data(), sin.data(), cos.data(), count); }
};

// Calls add(term, block, index) for every term, with the block's sines and cosines of the
// angles that angleOf(term) gives.
template <typename Term, typename AngleOf, typename Add>
void ForEachTermAngle(std::span<const Term> terms, AngleBlock& block, AngleOf angleOf, Add add) {
  for (std::size_t start = 0; start < terms.size(); start += kBlockTerms) {
    const std::size_t count = std::min(kBlockTerms, terms.size() - start);
    for (std::size_t i = 0; i < count; ++i) block.angleRad[i] = angleOf(terms[start + i]);
    block.Evaluate(count);
    for (std::size_t i = 0; i < count; ++i) add(terms[start + i], block, i);
  }
}

}  // namespace

// X = sum_a t^a S_a(t) and its derivative.
SeriesValue EvaluateVsopCoordinate(const VsopCoordinate& coordinate, double millennia) {
  AngleBlock block;
  SeriesValue total;
  double power = 1.0;      // t^a
  double powerRate = 0.0;  // a t^(a-1)
  for (std::size_t a = 0; a < kVsopPowerCount; ++a) {
    SeriesValue sum;
    ForEachTermAngle(
        coordinate.byPower[a], block,
        [millennia](const VsopTerm& term) { return term.phaseRad + term.frequencyRadPerMillennium * millennia; },
        [&sum](const VsopTerm& term, const AngleBlock& angles, std::size_t i) {
          sum.value += term.amplitude * angles.cos[i];
          sum.rate -= term.amplitude * term.frequencyRadPerMillennium * angles.sin[i];
        });
    total.value += sum.value * power;
    total.rate += sum.rate * power + sum.value * powerRate;
    powerRate = static_cast<double>(a + 1) * power;
    power *= millennia;
  }
  return total;
}

// X = sum_n t^n S_n(t) with its first two derivatives.
Jet EvaluateLunarCoordinate(const LunarCoordinate& coordinate, double centuries) {
  const double t = centuries, t2 = t * t, t3 = t2 * t, t4 = t3 * t;
  AngleBlock block;
  Jet total;
  double power = 1.0;              // t^n
  double powerRate = 0.0;          // n t^(n-1)
  double powerAcceleration = 0.0;  // n (n-1) t^(n-2)
  for (std::size_t n = 0; n < kLunarPowerCount; ++n) {
    Jet sum;
    ForEachTermAngle(
        coordinate.byPower[n], block,
        [=](const LunarTerm& term) {
          const std::array<double, 5>& p = term.phaseRad;
          return p[0] + p[1] * t + p[2] * t2 + p[3] * t3 + p[4] * t4;
        },
        [=, &sum](const LunarTerm& term, const AngleBlock& angles, std::size_t i) {
          const std::array<double, 5>& p = term.phaseRad;
          const double phaseRate = p[1] + 2.0 * p[2] * t + 3.0 * p[3] * t2 + 4.0 * p[4] * t3;
          const double phaseAcceleration = 2.0 * p[2] + 6.0 * p[3] * t + 12.0 * p[4] * t2;
          const double alongSin = term.amplitude * angles.sin[i], alongCos = term.amplitude * angles.cos[i];
          sum.value += alongSin;
          sum.rate += phaseRate * alongCos;
          sum.acceleration += phaseAcceleration * alongCos - phaseRate * phaseRate * alongSin;
        });
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
