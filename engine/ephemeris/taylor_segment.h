// Taylor segments: a theory's coordinates over a few hours (the Moon) or a day (the planets)
// as polynomials about the segment's middle, from one evaluation of the series with its
// derivatives up to a few orders. A chart on its own at any moment costs about one evaluation;
// charts cast close together (the clock, the front-end's scanners) share it. The segment grid
// is fixed, so a moment always gets its values from the same polynomial.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "engine/ephemeris/geometry.h"
#include "engine/ephemeris/series.h"

namespace kelvara::engine {

inline constexpr std::size_t kTaylorCoefficients = std::tuple_size_v<Derivatives>;

template <std::size_t Components>
struct TaylorSegment {
  double middleDay = 0.0;
  // X^(m)(middle) / m!, per day^m.
  std::array<std::array<double, kTaylorCoefficients>, Components> coefficients{};

  void Set(std::size_t component, const Derivatives& derivatives) {
    double factorial = 1.0;
    for (std::size_t m = 0; m < kTaylorCoefficients; ++m) {
      if (m > 0) factorial *= static_cast<double>(m);
      coefficients[component][m] = derivatives[m] / factorial;
    }
  }

  // The component with its first two derivatives per day at a day (Horner's scheme).
  Jet At(std::size_t component, double day) const {
    const double tau = day - middleDay;
    const std::array<double, kTaylorCoefficients>& a = coefficients[component];
    Jet result;
    for (std::size_t m = kTaylorCoefficients; m-- > 0;) {
      result.acceleration = result.acceleration * tau + 2.0 * result.rate;
      result.rate = result.rate * tau + result.value;
      result.value = result.value * tau + a[m];
    }
    return result;
  }
};

// Heliocentric L, B, R of a VSOP87D body (rad, rad, au) about a middle day (TDB), with
// derivatives up to order.
TaylorSegment<3> VsopTaylorSegment(const VsopColumnSeries& series, double middleDay, std::size_t order);
// The lunar series' V (with the mean longitude W1), U, r (rad, rad, km) about a middle day.
TaylorSegment<3> LunarTaylorSegment(const LunarColumnSeries& series, double middleDay, std::size_t order);

// The segments of one theory last asked, kTaylorSlots of them by segment number; thread-safe.
inline constexpr std::size_t kTaylorSlots = 8;

template <std::size_t Components>
class TaylorSegments {
 public:
  using Segment = TaylorSegment<Components>;
  using Build = Segment (*)(double middleDay);

  TaylorSegments(Build build, double lengthDays) : build_(build), lengthDays_(lengthDays) {}

  // The segment holding a day; false beyond the segment numbers (days no theory serves).
  bool Holding(double julianDay, Segment& segment) {
    const double offset = std::floor((julianDay - kJ2000Jd) / lengthDays_);
    if (!(std::fabs(offset) < kMaxSegmentNumber)) return false;
    const auto number = static_cast<std::int64_t>(offset);
    const std::size_t index = static_cast<std::size_t>(((number % kSlots) + kSlots) % kSlots);
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      const Slot& slot = slots_[index];
      if (slot.filled && slot.number == number) {
        segment = slot.segment;
        return true;
      }
    }
    segment = build_(kJ2000Jd + (offset + 0.5) * lengthDays_);
    const std::lock_guard<std::mutex> lock(mutex_);
    slots_[index] = {true, number, segment};
    return true;
  }

 private:
  static constexpr double kMaxSegmentNumber = 1.0e15;
  static constexpr std::int64_t kSlots = static_cast<std::int64_t>(kTaylorSlots);

  struct Slot {
    bool filled = false;
    std::int64_t number = 0;
    Segment segment;
  };

  Build build_;
  double lengthDays_;
  std::mutex mutex_;
  std::array<Slot, kTaylorSlots> slots_{};
};

}  // namespace kelvara::engine
