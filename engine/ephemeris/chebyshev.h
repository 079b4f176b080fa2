// Chebyshev series of a few quantities over one segment of time, fitted from a theory's values
// at the Chebyshev nodes (the series interpolates the theory there, which for smooth motion is
// within a hair of the best polynomial of that degree).
#pragma once

#include <array>
#include <cmath>
#include <cstddef>

#include "engine/ephemeris/geometry.h"  // kPi

namespace kelvara::engine {

// Components quantities, Nodes coefficients each (degree Nodes - 1).
template <std::size_t Components, std::size_t Nodes>
struct ChebyshevSegment {
  using Values = std::array<double, Components>;

  double startDay = 0.0;
  double lengthDays = 0.0;
  std::array<std::array<double, Nodes>, Components> coefficients{};

  // The moment of node k (0 .. Nodes-1) of a segment: x_k = cos(pi (k + 1/2) / Nodes).
  static double NodeDay(double startDay, double lengthDays, std::size_t k) {
    const double x = std::cos(kPi * (static_cast<double>(k) + 0.5) / static_cast<double>(Nodes));
    return startDay + 0.5 * lengthDays * (x + 1.0);
  }

  // c_j = 2/N sum_k f(x_k) cos(pi j (k + 1/2) / N), with c_0 halved so the sum starts at c_0.
  // A node's day is rounded to a double (a ten-billionth of a day near JD 2.4e6, 1e-10 rad
  // of the Moon's motion), so the transform is refined against the days the theory was
  // actually asked at: the series then meets the theory at those very moments.
  template <typename Theory>
  static ChebyshevSegment Fit(double startDay, double lengthDays, Theory theory) {
    ChebyshevSegment segment;
    segment.startDay = startDay;
    segment.lengthDays = lengthDays;
    std::array<double, Nodes> days;
    std::array<Values, Nodes> residuals;
    for (std::size_t k = 0; k < Nodes; ++k) {
      days[k] = NodeDay(startDay, lengthDays, k);
      residuals[k] = theory(days[k]);
    }
    const std::array<Values, Nodes> samples = residuals;
    for (int pass = 0; pass < kRefinements; ++pass) {
      segment.AddTransform(residuals);
      for (std::size_t k = 0; k < Nodes; ++k) {
        const Values fitted = segment.At(days[k]);
        for (std::size_t c = 0; c < Components; ++c) residuals[k][c] = samples[k][c] - fitted[c];
      }
    }
    return segment;
  }

  // Each pass shrinks the node-rounding error by the same factor as the rounding itself.
  static constexpr int kRefinements = 2;

  // Adds the coefficients of the series through values taken at the exact nodes.
  void AddTransform(const std::array<Values, Nodes>& values) {
    const double n = static_cast<double>(Nodes);
    for (std::size_t j = 0; j < Nodes; ++j) {
      Values sum{};
      for (std::size_t k = 0; k < Nodes; ++k) {
        const double weight = std::cos(kPi * static_cast<double>(j) * (static_cast<double>(k) + 0.5) / n);
        for (std::size_t c = 0; c < Components; ++c) sum[c] += weight * values[k][c];
      }
      const double scale = (j == 0 ? 1.0 : 2.0) / n;
      for (std::size_t c = 0; c < Components; ++c) coefficients[c][j] += scale * sum[c];
    }
  }

  // Every component at a day of the segment (Clenshaw's recurrence).
  Values At(double day) const {
    const double x = 2.0 * (day - startDay) / lengthDays - 1.0;
    Values result;
    for (std::size_t c = 0; c < Components; ++c) {
      const std::array<double, Nodes>& a = coefficients[c];
      double b1 = 0.0, b2 = 0.0;
      for (std::size_t j = Nodes - 1; j >= 1; --j) {
        const double b0 = 2.0 * x * b1 - b2 + a[j];
        b2 = b1;
        b1 = b0;
      }
      result[c] = x * b1 - b2 + a[0];
    }
    return result;
  }
};

}  // namespace kelvara::engine
