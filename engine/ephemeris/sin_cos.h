// Sine and cosine for the inner loops of the series: a cast evaluates some three thousand
// terms, and the C library's sin and cos took most of a cast's time.
#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
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
// Adding 1.5 * 2^52 rounds a double below 2^51 to the nearest integer (round-to-nearest mode),
// which then sits in the low bits of the sum's significand.
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

// c0 + c1 z + ... + c7 z^7 in Estrin's scheme: short dependency chains for the loops' pipelines.
inline double Polynomial(const std::array<double, kTaylorTerms>& c, double z) {
  static_assert(kTaylorTerms == 8);
  const double z2 = z * z;
  const double z4 = z2 * z2;
  return (c[0] + c[1] * z) + z2 * (c[2] + c[3] * z) + z4 * ((c[4] + c[5] * z) + z2 * (c[6] + c[7] * z));
}

// The reduction and the polynomials without branches, so loops over it vectorize; valid for
// |angleRad| < kMaxReducedRad.
inline SinCos ReducedSinCos(double angleRad) {
  const double shifted = angleRad * kTwoOverPi + kRoundingShift;
  const double quarterTurns = shifted - kRoundingShift;
  const double r = ((angleRad - quarterTurns * kPiOver2Part1) - quarterTurns * kPiOver2Part2) -
                   quarterTurns * kPiOver2Part3;
  const double z = r * r;
  const double sinR = r + r * z * Polynomial(kSinTaylor, z);
  const double cosR = 1.0 + z * Polynomial(kCosTaylor, z);
  // Quadrant q: sin x = (sin r, cos r, -sin r, -cos r)[q], cos x = (cos r, -sin r, -cos r, sin r)[q].
  const std::uint64_t quadrant = std::bit_cast<std::uint64_t>(shifted);
  const bool odd = (quadrant & 1) != 0;
  const double sinMagnitude = odd ? cosR : sinR;
  const double cosMagnitude = odd ? sinR : cosR;
  return {(quadrant & 2) != 0 ? -sinMagnitude : sinMagnitude,
          ((quadrant + 1) & 2) != 0 ? -cosMagnitude : cosMagnitude};
}

}  // namespace sin_cos_detail

// sin and cos of angleRad, within 4e-16 of the exact values for |angleRad| < 8e5 (Cody & Waite
// reduction by pi/2, then the Taylor series); the C library beyond.
inline SinCos SinCosRad(double angleRad) {
  if (!(std::fabs(angleRad) < sin_cos_detail::kMaxReducedRad)) return {std::sin(angleRad), std::cos(angleRad)};
  return sin_cos_detail::ReducedSinCos(angleRad);
}

// The same for count angles at once; on processors with wide vector units the loop runs
// several angles per instruction.
void SinCosOfAngles(const double* anglesRad, double* sines, double* cosines, std::size_t count);

}  // namespace kelvara::engine
