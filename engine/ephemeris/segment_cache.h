// Chebyshev segments of a theory, for callers that ask many moments close together.
//
// Scans cast the chart at many nearby moments: the rise/set scan fifty times in a day, the
// calendars day after day. There a segment fitted once from the theory answers every later
// moment in it for a few hundred operations instead of a thousand series terms. The fits meet
// the theory within its own rounding (a few 1e-12 of each quantity); a segment depends only on
// its number, so a moment asked from segments gives the same values whatever came before.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include "engine/ephemeris/chebyshev.h"

namespace kelvara::engine {

// Segments kept per theory (a few hundred kilobytes for all theories, taken on the first fit).
inline constexpr std::size_t kCachedSegments = 64;

template <std::size_t Components, std::size_t Nodes>
class SegmentCache {
 public:
  using Segment = ChebyshevSegment<Components, Nodes>;
  using Values = typename Segment::Values;
  using Theory = Values (*)(double julianDay);

  // Segments of lengthDays from J2000 (TT), each fitted from theory.
  SegmentCache(Theory theory, double lengthDays) : theory_(theory), lengthDays_(lengthDays) {}

  // Whether segments pay for moments spacingDays apart: when each is asked at least once per
  // node. A moment on its own (spacing 0) never is.
  bool PaysAt(double spacingDays) const {
    return spacingDays > 0.0 && lengthDays_ >= static_cast<double>(Nodes) * spacingDays;
  }

  // The theory at a day from its segment, fitted now if it is not kept.
  Values FromSegment(double julianDay) {
    const double offset = std::floor((julianDay - kJ2000Jd) / lengthDays_);
    // Days the layer serves lie well inside the range of the segment numbers.
    if (!(std::fabs(offset) < kMaxSegmentNumber)) return theory_(julianDay);
    const auto number = static_cast<std::int64_t>(offset);
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      if (const Segment* fitted = Fitted(number)) return fitted->At(julianDay);
    }
    // Fitted outside the lock; two threads fitting one segment keep the same coefficients.
    const Segment segment = Segment::Fit(kJ2000Jd + offset * lengthDays_, lengthDays_, theory_);
    const std::lock_guard<std::mutex> lock(mutex_);
    Keep(number, segment);
    return segment.At(julianDay);
  }

  // The theory at a day, from its segment when moments come spacingDays apart.
  Values At(double julianDay, double spacingDays) {
    return PaysAt(spacingDays) ? FromSegment(julianDay) : theory_(julianDay);
  }

 private:
  static constexpr double kMaxSegmentNumber = 1.0e15;

  struct Slot {
    bool filled = false;
    std::int64_t number = 0;
    Segment segment;
  };
  static std::size_t IndexOf(std::int64_t number, std::size_t size) {
    const auto n = static_cast<std::int64_t>(size);
    return static_cast<std::size_t>(((number % n) + n) % n);
  }

  const Segment* Fitted(std::int64_t number) const {
    if (!slots_) return nullptr;
    const Slot& slot = (*slots_)[IndexOf(number, kCachedSegments)];
    return slot.filled && slot.number == number ? &slot.segment : nullptr;
  }

  void Keep(std::int64_t number, const Segment& segment) {
    if (!slots_) slots_ = std::make_unique<std::array<Slot, kCachedSegments>>();
    (*slots_)[IndexOf(number, kCachedSegments)] = {true, number, segment};
  }

  Theory theory_;
  double lengthDays_;
  std::mutex mutex_;
  std::unique_ptr<std::array<Slot, kCachedSegments>> slots_;
};

}  // namespace kelvara::engine
