#include "workspace/glyph_spread.h"

#include <algorithm>
#include <numeric>

#include "workspace/driver_points.h"

namespace kelvara::workspace {
namespace {

// A gap this much short of the separation is left alone, so the passes come to rest.
constexpr double kSlackDeg = 0.1;
// A moved glyph that reached a neighbour within this arc is put back beside it.
constexpr double kNeighbourReachDeg = 10.0;
constexpr double kBesideDeg = 0.001;

// Normalise360 without the division for the values a pass makes, which lie within one
// turn of the circle.
double Wrap(double degrees) {
  if (degrees >= 0.0 && degrees < kFullCircle) return degrees;
  if (degrees < 0.0 && degrees >= -kFullCircle) return degrees + kFullCircle < kFullCircle ? degrees + kFullCircle : 0.0;
  if (degrees >= kFullCircle && degrees < 2 * kFullCircle) return degrees - kFullCircle;
  return Normalise360(degrees);
}

// Indices by longitude, ties by index: a total order, so any sort gives the same one.
// The order of the pass before is nearly right, which an insertion sort finishes fast.
void CircleOrder(const std::vector<double>& longitudes, std::vector<int>& order) {
  if (order.size() != longitudes.size()) {
    order.resize(longitudes.size());
    std::iota(order.begin(), order.end(), 0);
  }
  const auto before = [&](int a, int b) {
    return longitudes[a] < longitudes[b] || (longitudes[a] == longitudes[b] && a < b);
  };
  for (std::size_t i = 1; i < order.size(); ++i) {
    const int item = order[i];
    std::size_t j = i;
    for (; j > 0 && before(item, order[j - 1]); --j) order[j] = order[j - 1];
    order[j] = item;
  }
}

// True when a glyph moved back from `fromDeg` to `toDeg` has come to lie at or before
// `otherDeg`, less than the neighbour reach away, by going over it. A neighbour that
// already lay ahead of it (across the ends of a tight cluster) was not gone over.
bool WentBackOver(double fromDeg, double toDeg, double otherDeg) {
  return Wrap(otherDeg - toDeg) < kNeighbourReachDeg &&
         Wrap(fromDeg - otherDeg) <= Wrap(fromDeg - toDeg);
}

// The same for a glyph moved forward, seen in the mirror.
bool WentForwardOver(double fromDeg, double toDeg, double otherDeg) {
  return WentBackOver(-fromDeg, -toDeg, -otherDeg);
}

// Pushes the pair (previous, current) apart; neither goes over the glyph beyond it.
void PushApart(std::vector<double>& lon, int beforePrevious, int previous, int current, int next,
               double pushDeg) {
  const double previousFrom = lon[previous];
  const double currentFrom = lon[current];
  lon[previous] = Wrap(previousFrom - pushDeg);
  lon[current] = Wrap(currentFrom + pushDeg);
  // With two glyphs the ones beyond are the pair itself.
  if (beforePrevious != current && WentBackOver(previousFrom, lon[previous], lon[beforePrevious])) {
    lon[previous] = Wrap(lon[beforePrevious] + kBesideDeg);
  }
  if (next != previous && WentForwardOver(currentFrom, lon[current], lon[next])) {
    lon[current] = Wrap(lon[next] - kBesideDeg);
  }
}

// One pass over the glyphs in circle order; true when a glyph's longitude changed. A
// push that the neighbour guards undo changes nothing, so a crowd that cannot fit comes
// to rest there instead of running out the passes.
bool SpreadPass(std::vector<double>& lon, double minSeparationDeg, std::vector<int>& order,
                std::vector<double>& before) {
  const int count = static_cast<int>(lon.size());
  CircleOrder(lon, order);
  before = lon;
  for (int at = 0; at < count; ++at) {
    const auto around = [&](int step) { return order[((at + step) % count + count) % count]; };
    const int current = around(0);
    const int previous = around(-1);
    const double gap = Wrap(lon[current] - lon[previous]);
    if (gap + kSlackDeg >= minSeparationDeg) continue;
    PushApart(lon, around(-2), previous, current, around(1), (minSeparationDeg - gap) / 2.0);
  }
  return lon != before;
}

}  // namespace

int SpreadAlongCircle(std::vector<double>& longitudesDeg, double minSeparationDeg, int maxPasses) {
  // A lone glyph has no neighbour to keep away from.
  if (longitudesDeg.size() < 2) return maxPasses > 0 ? 1 : 0;
  int passes = 0;
  std::vector<int> order;
  std::vector<double> before;
  while (passes < maxPasses) {
    ++passes;
    if (!SpreadPass(longitudesDeg, minSeparationDeg, order, before)) break;
  }
  return passes;
}

}  // namespace kelvara::workspace
