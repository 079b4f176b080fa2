// Where each object stands in the chains picture, per kind: a radial fraction of the
// picture's circle and an angle, kept between draws and changed by dragging. A kind
// whose arrangement was made by hand keeps it when the kind is chosen again.
#pragma once

#include <array>

#include "interpretation/dispositor_chains.h"

namespace kelvara::interpretation {

inline constexpr double kUnplacedFraction = -1.0;
inline constexpr double kUnplacedAngleDeg = -1000.0;
inline constexpr int kChainKindCount = 4;

struct ChainPlace {
  double fraction = kUnplacedFraction;  // of the circle's radius; 0 or less draws on it
  double angleDeg = kUnplacedAngleDeg;  // clockwise on the screen from three o'clock
  bool Placed() const;                  // the angle is set (a finite value, not the mark)
  friend bool operator==(const ChainPlace&, const ChainPlace&) = default;
};

class ChainLayout {
 public:
  // The kind must be one of the four; object 1-16.
  ChainPlace& At(ChainKind kind, int object);
  const ChainPlace& At(ChainKind kind, int object) const;

  bool Kept(ChainKind kind) const;
  // The arrangement of the kind was made by hand: choosing the kind again keeps it.
  void Keep(ChainKind kind);
  // The kind chosen again: its places start afresh unless the arrangement is kept.
  void ResetUnlessKept(ChainKind kind);
  // New chart data: every place and every keep flag start afresh.
  void Clear();

  friend bool operator==(const ChainLayout&, const ChainLayout&) = default;

 private:
  using KindPlaces = std::array<ChainPlace, kLastChainObject + 1>;  // index = object number
  std::array<KindPlaces, kChainKindCount> places_{};
  std::array<bool, kChainKindCount> kept_{};
};

}  // namespace kelvara::interpretation
