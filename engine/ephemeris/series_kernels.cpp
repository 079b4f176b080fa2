#include "engine/ephemeris/series_kernels.h"

#include <algorithm>
#include <array>

#include "engine/ephemeris/sin_cos.h"
#include "engine/ephemeris/vector_clones.h"

namespace kelvara::engine {
namespace {

// Terms are taken a block at a time (a few kilobytes of stack) and added into kLanes partial
// sums, term i into lane i mod kLanes; the lanes are added last, in order.
constexpr std::size_t kBlockTerms = 128;
constexpr std::size_t kLanes = 8;
constexpr double kMillenniaPerDay = 1.0 / kDaysPerMillennium;
constexpr double kCenturiesPerDay = 1.0 / kDaysPerCentury;

using Lanes = std::array<double, kLanes>;
using BlockArray = std::array<double, kBlockTerms>;

bool InRange(double angleRad) { return std::fabs(angleRad) < sin_cos_detail::kMaxReducedRad; }

// Adds values[0..count) into the lanes.
KELVARA_VECTOR_CLONES
void AddIntoLanes(const double* KELVARA_RESTRICT values, std::size_t count, double* KELVARA_RESTRICT lanes) {
  std::size_t i = 0;
  for (; i + kLanes <= count; i += kLanes) {
    for (std::size_t j = 0; j < kLanes; ++j) lanes[j] += values[i + j];
  }
  for (std::size_t j = 0; i < count; ++i, ++j) lanes[j] += values[i];
}

double SumOfLanes(const Lanes& lanes) {
  double sum = 0.0;
  for (const double lane : lanes) sum += lane;
  return sum;
}

// A run of at most kBlockTerms terms, one array per coefficient, which the vectorizer needs.
// The compiled tables' columns are read in place; a table of structures is copied a block at
// a time (a few loads a term, against the arithmetic that then runs several terms at once).
struct VsopBlock {
  const double* amplitude;
  const double* phase;
  const double* frequency;  // rad per millennium
  std::size_t count;
};

struct LunarBlock {
  const double* amplitude;
  std::array<const double*, 5> phase;  // rad per century^k
  std::size_t count;
};

struct VsopCopy {
  BlockArray amplitude, phase, frequency;
};

struct LunarCopy {
  BlockArray amplitude;
  std::array<BlockArray, 5> phase;
};

template <typename Visit>
void ForEachBlock(std::span<const VsopTerm> terms, Visit visit) {
  VsopCopy copy;
  for (std::size_t start = 0; start < terms.size(); start += kBlockTerms) {
    const std::size_t count = std::min(kBlockTerms, terms.size() - start);
    for (std::size_t i = 0; i < count; ++i) {
      const VsopTerm& term = terms[start + i];
      copy.amplitude[i] = term.amplitude;
      copy.phase[i] = term.phaseRad;
      copy.frequency[i] = term.frequencyRadPerMillennium;
    }
    visit(VsopBlock{copy.amplitude.data(), copy.phase.data(), copy.frequency.data(), count});
  }
}

template <typename Visit>
void ForEachBlock(const VsopColumns& columns, Visit visit) {
  for (std::size_t start = 0; start < columns.amplitude.size(); start += kBlockTerms) {
    const std::size_t count = std::min(kBlockTerms, columns.amplitude.size() - start);
    visit(VsopBlock{columns.amplitude.data() + start, columns.phaseRad.data() + start,
                    columns.frequencyRadPerMillennium.data() + start, count});
  }
}

template <typename Visit>
void ForEachBlock(std::span<const LunarTerm> terms, Visit visit) {
  LunarCopy copy;
  for (std::size_t start = 0; start < terms.size(); start += kBlockTerms) {
    const std::size_t count = std::min(kBlockTerms, terms.size() - start);
    for (std::size_t i = 0; i < count; ++i) {
      const LunarTerm& term = terms[start + i];
      copy.amplitude[i] = term.amplitude;
      for (std::size_t k = 0; k < 5; ++k) copy.phase[k][i] = term.phaseRad[k];
    }
    LunarBlock block{copy.amplitude.data(), {}, count};
    for (std::size_t k = 0; k < 5; ++k) block.phase[k] = copy.phase[k].data();
    visit(block);
  }
}

template <typename Visit>
void ForEachBlock(const LunarColumns& columns, Visit visit) {
  for (std::size_t start = 0; start < columns.amplitude.size(); start += kBlockTerms) {
    const std::size_t count = std::min(kBlockTerms, columns.amplitude.size() - start);
    LunarBlock block{columns.amplitude.data() + start, {}, count};
    for (std::size_t k = 0; k < 5; ++k) block.phase[k] = columns.phaseRad[k].data() + start;
    visit(block);
  }
}

struct LunarPowers {
  double t, t2, t3, t4;
};

LunarPowers PowersOf(double t) {
  const double t2 = t * t, t3 = t2 * t;
  return {t, t2, t3, t3 * t};
}

// Angles of a block and their rates (per unit of the series' time): B + C t, or the lunar
// phase polynomial with its first two derivatives.
struct BlockAngles {
  BlockArray angleRad, rate, acceleration;
};

KELVARA_VECTOR_CLONES
void VsopAngles(const double* KELVARA_RESTRICT phase, const double* KELVARA_RESTRICT frequency, std::size_t count,
                double t, BlockAngles& KELVARA_RESTRICT angles) {
  for (std::size_t i = 0; i < count; ++i) {
    angles.angleRad[i] = phase[i] + frequency[i] * t;
    angles.rate[i] = frequency[i];
  }
}

KELVARA_VECTOR_CLONES
void LunarAngles(const double* KELVARA_RESTRICT p0, const double* KELVARA_RESTRICT p1,
                 const double* KELVARA_RESTRICT p2, const double* KELVARA_RESTRICT p3,
                 const double* KELVARA_RESTRICT p4, std::size_t count, LunarPowers t,
                 BlockAngles& KELVARA_RESTRICT angles) {
  for (std::size_t i = 0; i < count; ++i) {
    angles.angleRad[i] = p0[i] + p1[i] * t.t + p2[i] * t.t2 + p3[i] * t.t3 + p4[i] * t.t4;
    angles.rate[i] = p1[i] + 2.0 * p2[i] * t.t + 3.0 * p3[i] * t.t2 + 4.0 * p4[i] * t.t3;
    angles.acceleration[i] = 2.0 * p2[i] + 6.0 * p3[i] * t.t + 12.0 * p4[i] * t.t2;
  }
}

void AnglesOf(const VsopBlock& block, double t, BlockAngles& angles) {
  VsopAngles(block.phase, block.frequency, block.count, t, angles);
}

void AnglesOf(const LunarBlock& block, LunarPowers t, BlockAngles& angles) {
  const auto& p = block.phase;
  LunarAngles(p[0], p[1], p[2], p[3], p[4], block.count, t, angles);
}

// Per term: A cos and A C sin of the angle; false when an angle lies beyond the fast reduction
// (dates thousands of years out), whose parts are then taken again from the C library.
KELVARA_VECTOR_CLONES
bool CosineParts(const double* KELVARA_RESTRICT amplitude, const BlockAngles& KELVARA_RESTRICT angles,
                 std::size_t count, double* KELVARA_RESTRICT values, double* KELVARA_RESTRICT rates) {
  int outOfRange = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const SinCos sc = sin_cos_detail::ReducedSinCos(angles.angleRad[i]);
    values[i] = amplitude[i] * sc.cos;
    rates[i] = amplitude[i] * angles.rate[i] * sc.sin;
    outOfRange |= !InRange(angles.angleRad[i]);
  }
  return outOfRange == 0;
}

void CosinePartsFarOut(const double* amplitude, const BlockAngles& angles, std::size_t count, double* values,
                       double* rates) {
  for (std::size_t i = 0; i < count; ++i) {
    if (InRange(angles.angleRad[i])) continue;
    values[i] = amplitude[i] * std::cos(angles.angleRad[i]);
    rates[i] = amplitude[i] * angles.rate[i] * std::sin(angles.angleRad[i]);
  }
}

// Per term: A sin of the angle with its first and second derivatives.
KELVARA_VECTOR_CLONES
bool SineParts(const double* KELVARA_RESTRICT amplitude, const BlockAngles& KELVARA_RESTRICT angles,
               std::size_t count, double* KELVARA_RESTRICT values, double* KELVARA_RESTRICT rates,
               double* KELVARA_RESTRICT accelerations) {
  int outOfRange = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const SinCos sc = sin_cos_detail::ReducedSinCos(angles.angleRad[i]);
    const double alongSin = amplitude[i] * sc.sin, alongCos = amplitude[i] * sc.cos;
    const double phaseRate = angles.rate[i];
    values[i] = alongSin;
    rates[i] = phaseRate * alongCos;
    accelerations[i] = angles.acceleration[i] * alongCos - phaseRate * phaseRate * alongSin;
    outOfRange |= !InRange(angles.angleRad[i]);
  }
  return outOfRange == 0;
}

void SinePartsFarOut(const double* amplitude, const BlockAngles& angles, std::size_t count, double* values,
                     double* rates, double* accelerations) {
  for (std::size_t i = 0; i < count; ++i) {
    if (InRange(angles.angleRad[i])) continue;
    const double alongSin = amplitude[i] * std::sin(angles.angleRad[i]);
    const double alongCos = amplitude[i] * std::cos(angles.angleRad[i]);
    const double phaseRate = angles.rate[i];
    values[i] = alongSin;
    rates[i] = phaseRate * alongCos;
    accelerations[i] = angles.acceleration[i] * alongCos - phaseRate * phaseRate * alongSin;
  }
}

// Adds each term's m-th derivatives A w^m f^(m) into the lanes of order m, f being the sine or
// cosine of an angle moving at w per day: f^(m) is +-even for even m and +-oddSign * odd
// for odd m, the sign turning every second order.
using DerivativeLanes = std::array<Lanes, kTaylorOrder + 1>;

KELVARA_VECTOR_CLONES
void AddDerivatives(const double* KELVARA_RESTRICT amplitude, const double* KELVARA_RESTRICT rate,
                    double ratePerDay, const double* KELVARA_RESTRICT evenPart,
                    const double* KELVARA_RESTRICT oddPart, double oddSign, std::size_t count, std::size_t order,
                    DerivativeLanes& KELVARA_RESTRICT lanes) {
  BlockArray scale, w;  // A w^m, and w per day
  for (std::size_t i = 0; i < count; ++i) {
    scale[i] = amplitude[i];
    w[i] = rate[i] * ratePerDay;
  }
  for (std::size_t m = 0; m <= order; ++m) {
    const bool odd = (m & 1) != 0;
    const double* KELVARA_RESTRICT f = odd ? oddPart : evenPart;
    const double sign = ((m & 2) == 0 ? 1.0 : -1.0) * (odd ? oddSign : 1.0);
    double* KELVARA_RESTRICT lane = lanes[m].data();
    std::size_t i = 0;
    for (; i + kLanes <= count; i += kLanes) {
      for (std::size_t j = 0; j < kLanes; ++j) {
        const double s = scale[i + j];
        lane[j] += s * (sign * f[i + j]);
        scale[i + j] = s * w[i + j];
      }
    }
    for (std::size_t j = 0; i < count; ++i, ++j) {
      lane[j] += scale[i] * (sign * f[i]);
      scale[i] *= w[i];
    }
  }
}

// The derivative sums of a series' terms, a block at a time.
struct DerivativeSums {
  explicit DerivativeSums(std::size_t highestOrder) : order(std::min(highestOrder, kTaylorOrder)) {}

  std::size_t order;
  DerivativeLanes lanes{};
  BlockAngles angles;
  BlockArray sines, cosines;

  // sine: the terms are A sin(angle) (else A cos); ratePerDay turns the angles' rates into rad/day.
  void Add(const double* amplitude, std::size_t count, bool sine, double ratePerDay) {
    SinCosOfAngles(angles.angleRad.data(), sines.data(), cosines.data(), count);
    // sin: sin, cos, -sin, -cos, ...; cos: cos, -sin, -cos, sin, ...
    const double* even = sine ? sines.data() : cosines.data();
    const double* odd = sine ? cosines.data() : sines.data();
    AddDerivatives(amplitude, angles.rate.data(), ratePerDay, even, odd, sine ? 1.0 : -1.0, count, order, lanes);
  }

  Derivatives Sums() const {
    Derivatives sums{};
    for (std::size_t m = 0; m <= order; ++m) sums[m] = SumOfLanes(lanes[m]);
    return sums;
  }
};

template <typename Terms>
SeriesValue SumVsop(const Terms& terms, double millennia) {
  Lanes value{}, rate{};
  BlockAngles angles;
  BlockArray values, rates;
  ForEachBlock(terms, [&](const VsopBlock& block) {
    AnglesOf(block, millennia, angles);
    if (!CosineParts(block.amplitude, angles, block.count, values.data(), rates.data())) {
      CosinePartsFarOut(block.amplitude, angles, block.count, values.data(), rates.data());
    }
    AddIntoLanes(values.data(), block.count, value.data());
    AddIntoLanes(rates.data(), block.count, rate.data());
  });
  return {SumOfLanes(value), -SumOfLanes(rate)};
}

template <typename Terms>
Jet SumLunar(const Terms& terms, double centuries) {
  const LunarPowers t = PowersOf(centuries);
  Lanes value{}, rate{}, acceleration{};
  BlockAngles angles;
  BlockArray values, rates, accelerations;
  ForEachBlock(terms, [&](const LunarBlock& block) {
    AnglesOf(block, t, angles);
    if (!SineParts(block.amplitude, angles, block.count, values.data(), rates.data(), accelerations.data())) {
      SinePartsFarOut(block.amplitude, angles, block.count, values.data(), rates.data(), accelerations.data());
    }
    AddIntoLanes(values.data(), block.count, value.data());
    AddIntoLanes(rates.data(), block.count, rate.data());
    AddIntoLanes(accelerations.data(), block.count, acceleration.data());
  });
  return {SumOfLanes(value), SumOfLanes(rate), SumOfLanes(acceleration)};
}

std::size_t TermCount(std::span<const VsopTerm> terms) { return terms.size(); }
std::size_t TermCount(const VsopColumns& terms) { return terms.amplitude.size(); }
std::size_t TermCount(std::span<const LunarTerm> terms) { return terms.size(); }
std::size_t TermCount(const LunarColumns& terms) { return terms.amplitude.size(); }

template <typename Terms>
Derivatives VsopDerivatives(const Terms& terms, double millennia, std::size_t order) {
  if (TermCount(terms) == 0) return {};
  DerivativeSums sums(order);
  ForEachBlock(terms, [&](const VsopBlock& block) {
    AnglesOf(block, millennia, sums.angles);
    sums.Add(block.amplitude, block.count, false, kMillenniaPerDay);
  });
  return sums.Sums();
}

template <typename Terms>
Derivatives LunarDerivatives(const Terms& terms, double centuries, std::size_t order) {
  if (TermCount(terms) == 0) return {};
  const LunarPowers t = PowersOf(centuries);
  DerivativeSums sums(order);
  ForEachBlock(terms, [&](const LunarBlock& block) {
    AnglesOf(block, t, sums.angles);
    sums.Add(block.amplitude, block.count, true, kCenturiesPerDay);
  });
  return sums.Sums();
}

}  // namespace

SeriesValue SumVsopTerms(std::span<const VsopTerm> terms, double millennia) { return SumVsop(terms, millennia); }
SeriesValue SumVsopTerms(const VsopColumns& terms, double millennia) { return SumVsop(terms, millennia); }

Jet SumLunarTerms(std::span<const LunarTerm> terms, double centuries) { return SumLunar(terms, centuries); }
Jet SumLunarTerms(const LunarColumns& terms, double centuries) { return SumLunar(terms, centuries); }

Derivatives VsopTermDerivatives(std::span<const VsopTerm> terms, double millennia, std::size_t order) {
  return VsopDerivatives(terms, millennia, order);
}
Derivatives VsopTermDerivatives(const VsopColumns& terms, double millennia, std::size_t order) {
  return VsopDerivatives(terms, millennia, order);
}

Derivatives LunarTermDerivatives(std::span<const LunarTerm> terms, double centuries, std::size_t order) {
  return LunarDerivatives(terms, centuries, order);
}
Derivatives LunarTermDerivatives(const LunarColumns& terms, double centuries, std::size_t order) {
  return LunarDerivatives(terms, centuries, order);
}

}  // namespace kelvara::engine
