#include "engine/ephemeris/taylor_segment.h"

namespace kelvara::engine {
namespace {

// d^m/dtau^m of c0 + c1 t + c2 t^2 + ..., with t counting unitsPerDay per day.
template <std::size_t N>
Derivatives PolynomialDerivatives(const std::array<double, N>& c, double t, double unitsPerDay) {
  Derivatives result{};
  double unitPower = 1.0;
  for (std::size_t m = 0; m < result.size() && m < N; ++m) {
    double sum = 0.0;
    for (std::size_t k = N; k-- > m;) {
      double falling = 1.0;  // k (k-1) ... (k-m+1)
      for (std::size_t j = 0; j < m; ++j) falling *= static_cast<double>(k - j);
      sum = sum * t + falling * c[k];
    }
    result[m] = sum * unitPower;
    unitPower *= unitsPerDay;
  }
  return result;
}

}  // namespace

TaylorSegment<3> VsopTaylorSegment(const VsopColumnSeries& series, double middleDay, std::size_t order) {
  const double millennia = (middleDay - kJ2000Jd) / kDaysPerMillennium;
  TaylorSegment<3> segment;
  segment.middleDay = middleDay;
  segment.Set(0, VsopCoordinateDerivatives(series.longitude, millennia, order));
  segment.Set(1, VsopCoordinateDerivatives(series.latitude, millennia, order));
  segment.Set(2, VsopCoordinateDerivatives(series.radius, millennia, order));
  segment.coefficients[0][0] = std::fmod(segment.coefficients[0][0], kTwoPi);
  return segment;
}

TaylorSegment<3> LunarTaylorSegment(const LunarColumnSeries& series, double middleDay, std::size_t order) {
  const double centuries = CenturiesFromJ2000(middleDay);
  // V = W1 + the series; W1 (thousands of radians) is brought into a turn first.
  Derivatives longitude = LunarCoordinateDerivatives(series.longitude, centuries, order);
  Derivatives w1 = PolynomialDerivatives(series.meanLongitudeRad, centuries, 1.0 / kDaysPerCentury);
  w1[0] = std::fmod(w1[0], kTwoPi);
  for (std::size_t m = 0; m < longitude.size(); ++m) longitude[m] += w1[m];
  TaylorSegment<3> segment;
  segment.middleDay = middleDay;
  segment.Set(0, longitude);
  segment.Set(1, LunarCoordinateDerivatives(series.latitude, centuries, order));
  segment.Set(2, LunarCoordinateDerivatives(series.distance, centuries, order));
  return segment;
}

}  // namespace kelvara::engine
