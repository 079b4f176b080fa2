#include "interpretation/chain_layout.h"

#include <cassert>
#include <cmath>

namespace kelvara::interpretation {
namespace {

int KindIndex(ChainKind kind) {
  assert(kind != ChainKind::kNone);
  return static_cast<int>(kind) - static_cast<int>(ChainKind::kRulership);
}

}  // namespace

bool ChainPlace::Placed() const { return std::isfinite(angleDeg) && angleDeg != kUnplacedAngleDeg; }

ChainPlace& ChainLayout::At(ChainKind kind, int object) { return places_.at(KindIndex(kind)).at(object); }

const ChainPlace& ChainLayout::At(ChainKind kind, int object) const {
  return places_.at(KindIndex(kind)).at(object);
}

bool ChainLayout::Kept(ChainKind kind) const { return kept_.at(KindIndex(kind)); }

void ChainLayout::Keep(ChainKind kind) { kept_.at(KindIndex(kind)) = true; }

void ChainLayout::ResetUnlessKept(ChainKind kind) {
  if (!Kept(kind)) places_.at(KindIndex(kind)) = KindPlaces{};
}

void ChainLayout::Clear() { *this = ChainLayout{}; }

}  // namespace kelvara::interpretation
