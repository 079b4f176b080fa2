// Sine and cosine of one angle together, for the inner loops of the series: a cast evaluates
// some three thousand terms, and the C library's sin and cos spend most of a cast's time.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

namespace kelvara::engine {

struct SinCos {
  double sin;
  double cos;
};

namespace sin_cos_detail {

// pi/2 in three parts (fdlibm's __ieee754_rem_pio2: pio2_1, pio2_2, pio2_2t); the first two
// carry 33 significant bits, so k * part is exact for |k| < 2^20.
constexpr double kPiOver2Part1 = 1.57079632673412561417e+00;
constexpr double kPiOver2Part2 = 6.07710050630396597660e-11;
constexpr double kPiOver2Part3 = 2.02226624879595063154e-21;
constexpr double kTwoOverPi = 0.63661977236758134308;
// Adding 1.5 * 2^52 rounds a double below 2^51 to the nearest integer (round-to-nearest mode).
constexpr double kRoundingShift = 6755399441055744.0;
// Beyond 2^19 quarter turns the reduction would lose exactness: the C library takes over.
constexpr double kMaxReducedRad = 524288.0 * 1.57079632679489661923;

// Taylor coefficients (-1)^k / (2k+1)! and (-1)^k / (2k)!, k = 1..8: on [-pi/4, pi/4] the first
// terms left out are below 1e-19 (sine) and 3e-17 (cosine).
constexpr std::size_t kTaylorTerms = 8;

constexpr std::array<double, kTaylorTerms> TaylorCoefficients(int firstDenominator) {
  std::array<double, kTaylorTerms> c{};
  double term = 1.0;
  int n = firstDenominator;
  for (std::size_t k = 0; k < kTaylorTerms; ++k) {
    term = -term / static_cast<double>((n + 1) * (n + 2));
    n += 2;
    c[k] = term;
  }
  return c;
}
inline constexpr std::array<double, kTaylorTerms> kSinTaylor = TaylorCoefficients(1);  // -1/3!, 1/5!, ...
inline constexpr std::array<double, kTaylorTerms> kCosTaylor = TaylorCoefficients(0);  // -1/2!, 1/4!, ...

// Quadrant q of the reduced angle r: sin x = sign * (sin r or cos r), as a table so the loops
// do not branch on it.
inline constexpr std::array<double, 4> kSinSign = {1.0, 1.0, -1.0, -1.0};
inline constexpr std::array<double, 4> kCosSign = {1.0, -1.0, -1.0, 1.0};

// c0 + c1 z + ... + c7 z^7 in Estrin's scheme: short dependency chains for the loops' pipelines.
inline double Polynomial(const std::array<double, kTaylorTerms>& c, double z) {
  static_assert(kTaylorTerms == 8);
  const double z2 = z * z;
  const double z4 = z2 * z2;
  return (c[0] + c[1] * z) + z2 * (c[2] + c[3] * z) + z4 * ((c[4] + c[5] * z) + z2 * (c[6] + c[7] * z));
}

}  // namespace sin_cos_detail

// sin and cos of angleRad, within about 2e-16 of the exact values for |angleRad| < 8e5
// (Cody & Waite reduction by pi/2, then the Taylor series); the C library beyond.
inline SinCos SinCosRad(double angleRad) {
  using namespace sin_cos_detail;
  if (!(std::fabs(angleRad) < kMaxReducedRad)) return {std::sin(angleRad), std::cos(angleRad)};
  const double quarterTurns = (angleRad * kTwoOverPi + kRoundingShift) - kRoundingShift;
  const double r = ((angleRad - quarterTurns * kPiOver2Part1) - quarterTurns * kPiOver2Part2) -
                   quarterTurns * kPiOver2Part3;
  const double z = r * r;
  const std::array<double, 2> reduced = {r + r * z * Polynomial(kSinTaylor, z), 1.0 + z * Polynomial(kCosTaylor, z)};
  const auto quadrant = static_cast<std::size_t>(static_cast<std::int64_t>(quarterTurns) & 3);
  const std::size_t odd = quadrant & 1;
  return {kSinSign[quadrant] * reduced[odd], kCosSign[quadrant] * reduced[odd ^ 1]};
}

}  // namespace kelvara::engine
