// The inner sums of the series evaluators: one power's terms of one coordinate, from a table
// of terms or from its columns. Compiled for the vectorizer (see CMakeLists.txt) with fixed
// lanes of partial sums, so every processor adds in the same order and gets the same bits.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <tuple>

#include "engine/ephemeris/series.h"

namespace kelvara::engine {

// sum A cos(B + C t) and its derivative sum -A C sin(B + C t), t in millennia.
SeriesValue SumVsopTerms(std::span<const VsopTerm> terms, double millennia);
SeriesValue SumVsopTerms(const VsopColumns& terms, double millennia);

// sum A sin(phi(t)) with its first and second derivatives, t in centuries.
Jet SumLunarTerms(std::span<const LunarTerm> terms, double centuries);
Jet SumLunarTerms(const LunarColumns& terms, double centuries);

// The same sums with their derivatives of order 0..order (at most kTaylorOrder), per day^m;
// higher orders stay 0. Across the few hours of a Taylor segment the lunar phases' own
// curvature (below 1e-14 rad) is left out.
inline constexpr std::size_t kTaylorOrder = 8;
static_assert(std::tuple_size_v<Derivatives> == kTaylorOrder + 1);
Derivatives VsopTermDerivatives(std::span<const VsopTerm> terms, double millennia, std::size_t order);
Derivatives VsopTermDerivatives(const VsopColumns& terms, double millennia, std::size_t order);
Derivatives LunarTermDerivatives(std::span<const LunarTerm> terms, double centuries, std::size_t order);
Derivatives LunarTermDerivatives(const LunarColumns& terms, double centuries, std::size_t order);

}  // namespace kelvara::engine
