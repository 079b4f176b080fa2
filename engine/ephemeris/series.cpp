#include "engine/ephemeris/series.h"

#include "engine/ephemeris/series_kernels.h"

namespace kelvara::engine {
namespace {

// d^m/dtau^m of sum_a t^a S_a(t), where t counts unitsPerDay per day and sums[a] holds the
// derivatives of S_a per day^m (Leibniz's rule, with d^j t^a = a!/(a-j)! t^(a-j) unitsPerDay^j).
// C(m, j) for the orders of the Taylor segments.
constexpr auto kBinomials = [] {
  std::array<std::array<double, kTaylorOrder + 1>, kTaylorOrder + 1> c{};
  for (std::size_t m = 0; m <= kTaylorOrder; ++m) {
    c[m][0] = 1.0;
    for (std::size_t j = 1; j <= m; ++j) c[m][j] = c[m - 1][j - 1] + (j < m ? c[m - 1][j] : 0.0);
  }
  return c;
}();

template <std::size_t Powers>
Derivatives PoissonDerivatives(const std::array<Derivatives, Powers>& sums, double t, double unitsPerDay,
                               std::size_t order) {
  Derivatives result{};
  std::array<double, Powers> tPowers;  // t^k
  tPowers[0] = 1.0;
  for (std::size_t k = 1; k < Powers; ++k) tPowers[k] = tPowers[k - 1] * t;
  for (std::size_t a = 0; a < Powers; ++a) {
    if (sums[a] == Derivatives{}) continue;  // no terms of this power
    // powerDerivative[j] = d^j t^a / dtau^j = a!/(a-j)! t^(a-j) unitsPerDay^j
    Derivatives powerDerivative{};
    double factor = 1.0;
    for (std::size_t j = 0; j <= a && j <= order; ++j) {
      powerDerivative[j] = factor * tPowers[a - j];
      factor *= static_cast<double>(a - j) * unitsPerDay;
    }
    for (std::size_t m = 0; m <= order; ++m) {
      for (std::size_t j = 0; j <= m && j <= a; ++j) result[m] += kBinomials[m][j] * powerDerivative[j] * sums[a][m - j];
    }
  }
  return result;
}

// X = sum_a t^a S_a(t) and its derivative.
template <typename Coordinate>
SeriesValue VsopCoordinateValue(const Coordinate& coordinate, double millennia) {
  SeriesValue total;
  double power = 1.0;      // t^a
  double powerRate = 0.0;  // a t^(a-1)
  for (std::size_t a = 0; a < kVsopPowerCount; ++a) {
    const SeriesValue sum = SumVsopTerms(coordinate.byPower[a], millennia);
    total.value += sum.value * power;
    total.rate += sum.rate * power + sum.value * powerRate;
    powerRate = static_cast<double>(a + 1) * power;
    power *= millennia;
  }
  return total;
}

// X = sum_n t^n S_n(t) with its first two derivatives.
template <typename Coordinate>
Jet LunarCoordinateValue(const Coordinate& coordinate, double centuries) {
  const double t = centuries;
  Jet total;
  double power = 1.0;              // t^n
  double powerRate = 0.0;          // n t^(n-1)
  double powerAcceleration = 0.0;  // n (n-1) t^(n-2)
  for (std::size_t n = 0; n < kLunarPowerCount; ++n) {
    const Jet sum = SumLunarTerms(coordinate.byPower[n], t);
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

template <typename Coordinate>
Derivatives VsopDerivativesOf(const Coordinate& coordinate, double millennia, std::size_t order) {
  std::array<Derivatives, kVsopPowerCount> sums;
  for (std::size_t a = 0; a < kVsopPowerCount; ++a) {
    sums[a] = VsopTermDerivatives(coordinate.byPower[a], millennia, order);
  }
  return PoissonDerivatives(sums, millennia, 1.0 / kDaysPerMillennium, order);
}

template <typename Coordinate>
Derivatives LunarDerivativesOf(const Coordinate& coordinate, double centuries, std::size_t order) {
  std::array<Derivatives, kLunarPowerCount> sums;
  for (std::size_t n = 0; n < kLunarPowerCount; ++n) {
    sums[n] = LunarTermDerivatives(coordinate.byPower[n], centuries, order);
  }
  return PoissonDerivatives(sums, centuries, 1.0 / kDaysPerCentury, order);
}

VsopColumns ColumnsOf(std::span<const VsopTerm> terms) {
  VsopColumns columns;
  for (const VsopTerm& term : terms) {
    columns.amplitude.push_back(term.amplitude);
    columns.phaseRad.push_back(term.phaseRad);
    columns.frequencyRadPerMillennium.push_back(term.frequencyRadPerMillennium);
  }
  return columns;
}

VsopColumnCoordinate ColumnsOf(const VsopCoordinate& coordinate) {
  VsopColumnCoordinate columns;
  for (std::size_t a = 0; a < kVsopPowerCount; ++a) columns.byPower[a] = ColumnsOf(coordinate.byPower[a]);
  return columns;
}

LunarColumns ColumnsOf(std::span<const LunarTerm> terms) {
  LunarColumns columns;
  for (const LunarTerm& term : terms) {
    columns.amplitude.push_back(term.amplitude);
    for (std::size_t k = 0; k < 5; ++k) columns.phaseRad[k].push_back(term.phaseRad[k]);
  }
  return columns;
}

LunarColumnCoordinate ColumnsOf(const LunarCoordinate& coordinate) {
  LunarColumnCoordinate columns;
  for (std::size_t n = 0; n < kLunarPowerCount; ++n) columns.byPower[n] = ColumnsOf(coordinate.byPower[n]);
  return columns;
}

}  // namespace

VsopColumnSeries ColumnsOf(const VsopBodySeries& series) {
  return {ColumnsOf(series.longitude), ColumnsOf(series.latitude), ColumnsOf(series.radius)};
}

LunarColumnSeries ColumnsOf(const LunarSeries& series) {
  return {ColumnsOf(series.longitude), ColumnsOf(series.latitude), ColumnsOf(series.distance),
          series.meanLongitudeRad};
}

SeriesValue EvaluateVsopCoordinate(const VsopCoordinate& coordinate, double millennia) {
  return VsopCoordinateValue(coordinate, millennia);
}
SeriesValue EvaluateVsopColumns(const VsopColumnCoordinate& coordinate, double millennia) {
  return VsopCoordinateValue(coordinate, millennia);
}

Jet EvaluateLunarCoordinate(const LunarCoordinate& coordinate, double centuries) {
  return LunarCoordinateValue(coordinate, centuries);
}
Jet EvaluateLunarColumns(const LunarColumnCoordinate& coordinate, double centuries) {
  return LunarCoordinateValue(coordinate, centuries);
}

Derivatives VsopCoordinateDerivatives(const VsopCoordinate& coordinate, double millennia, std::size_t order) {
  return VsopDerivativesOf(coordinate, millennia, order);
}
Derivatives VsopCoordinateDerivatives(const VsopColumnCoordinate& coordinate, double millennia, std::size_t order) {
  return VsopDerivativesOf(coordinate, millennia, order);
}

Derivatives LunarCoordinateDerivatives(const LunarCoordinate& coordinate, double centuries, std::size_t order) {
  return LunarDerivativesOf(coordinate, centuries, order);
}
Derivatives LunarCoordinateDerivatives(const LunarColumnCoordinate& coordinate, double centuries, std::size_t order) {
  return LunarDerivativesOf(coordinate, centuries, order);
}

}  // namespace kelvara::engine
