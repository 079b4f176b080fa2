// Spreading glyphs around a circle so that neighbours stand at least a glyph apart.
#pragma once

#include <vector>

namespace kelvara::workspace {

inline constexpr int kMaxSpreadPasses = 1000;

// Moves the longitudes (degrees, the visible glyphs only) apart in place until every
// neighbour is about minSeparationDeg away, or maxPasses passes have run; returns the
// number of passes run. A glyph never passes its neighbours, so the order stays.
int SpreadAlongCircle(std::vector<double>& longitudesDeg, double minSeparationDeg,
                      int maxPasses = kMaxSpreadPasses);

}  // namespace kelvara::workspace
