#include "display/glyph_placement.h"

#include <algorithm>
#include <cmath>

#include "workspace/glyph_spread.h"

namespace kelvara::display {
namespace {

namespace ws = workspace;

constexpr double kMovedDeg = 0.01;  // a glyph further from its place gets a leader line

double CrowdedOffsetPx(const WheelLayout& layout) { return layout.g / 3; }

double AngularGapDeg(double a, double b) {
  const double d = std::fabs(NormalizeDeg(a - b));
  return std::min(d, ws::kFullCircle - d);
}

void Spread(ws::ObjectTable& objects, const std::vector<int>& slots, double separationDeg) {
  std::vector<double> longitudes;
  longitudes.reserve(slots.size());
  for (int slot : slots) longitudes.push_back(DisplayLongitudeDeg(objects[slot]));
  ws::SpreadAlongCircle(longitudes, separationDeg);
  for (std::size_t i = 0; i < slots.size(); ++i) objects[slots[i]].display.angleDeg = longitudes[i];
}

// Crowded glyphs without a kept radius take turns outside and inside the middle, in
// the order of their longitudes, and keep the radius chosen.
void Stagger(ws::ObjectTable& objects, const std::vector<int>& slots, const WheelLayout& layout, double base) {
  const std::vector<bool> crowded = CrowdedMarks(objects, slots);
  std::vector<int> marked;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    if (crowded[i]) marked.push_back(slots[i]);
  }
  std::stable_sort(marked.begin(), marked.end(),
                   [&](int a, int b) { return objects[a].longitude < objects[b].longitude; });
  int turn = 0;
  for (int slot : marked) {
    ws::ObjectDisplay& display = objects[slot].display;
    const double offset = (turn++ % 2 == 0 ? 1.0 : -1.0) * CrowdedOffsetPx(layout);
    if (!(display.radius > 0.0) && base > 0.0) display.radius = (base + offset) / base;
  }
}

}  // namespace

std::vector<int> RingSlots(bool houses) {
  std::vector<int> slots;
  for (int slot = ws::kFirstSlot; slot <= ws::kSlotLilith; ++slot) slots.push_back(slot);
  if (houses) {
    for (int slot = ws::kSlotCeres; slot <= ws::kLastSlot; ++slot) slots.push_back(slot);
  }
  return slots;
}

double RingBaseRadius(const WheelLayout& layout, Ring ring, bool sort) {
  if (ring == Ring::kInner) return layout.InnerRingMiddle();
  return sort ? layout.r + 2 * (layout.r2 - layout.r) / 3 : layout.OuterRingMiddle();
}

double MinimumSeparationDeg(const WheelLayout& layout, Ring ring) {
  const double middle = ring == Ring::kInner ? layout.InnerRingMiddle() : RingBaseRadius(layout, ring, true);
  if (middle <= 0.0) return 0.0;
  return std::atan(layout.g / middle) / kRadiansPerDegree;
}

double DisplayLongitudeDeg(const ws::ChartObject& object) {
  const double angle = object.display.angleDeg;
  if (!std::isfinite(angle) || angle == ws::kNoDisplayAngle) return object.longitude;
  return NormalizeDeg(angle);
}

bool IsDrawable(const ws::ChartObject& object) {
  return object.visible != 0 && std::isfinite(object.longitude) && object.HasLongitude();
}

std::vector<bool> CrowdedMarks(const ws::ObjectTable& objects, const std::vector<int>& slots) {
  std::vector<bool> crowded(slots.size(), false);
  for (std::size_t i = 0; i < slots.size(); ++i) {
    for (std::size_t j = i + 1; j < slots.size(); ++j) {
      const ws::ChartObject& a = objects[slots[i]];
      const ws::ChartObject& b = objects[slots[j]];
      if (ws::IsCuspSlot(slots[i]) || ws::IsCuspSlot(slots[j]) || !IsDrawable(a) || !IsDrawable(b)) continue;
      if (AngularGapDeg(a.longitude, b.longitude) < kCrowdedDeg) crowded[i] = crowded[j] = true;
    }
  }
  return crowded;
}

std::vector<PlacedGlyph> PlaceRing(ws::ObjectTable& objects, const WheelLayout& layout, Ring ring, bool sort) {
  std::vector<int> slots;
  for (int slot : RingSlots(layout.houses)) {
    if (IsDrawable(objects[slot])) slots.push_back(slot);
  }
  const double base = RingBaseRadius(layout, ring, sort);
  if (sort) {
    Spread(objects, slots, MinimumSeparationDeg(layout, ring));
  } else {
    Stagger(objects, slots, layout, base);
  }
  std::vector<PlacedGlyph> placed;
  for (int slot : slots) {
    const ws::ChartObject& object = objects[slot];
    PlacedGlyph glyph;
    glyph.slot = slot;
    glyph.trueLongitudeDeg = object.longitude;
    glyph.longitudeDeg = DisplayLongitudeDeg(object);
    const double fraction = object.display.radius;
    glyph.radiusPx = base * (std::isfinite(fraction) && fraction > 0.0 ? fraction : 1.0);
    glyph.leader = sort || AngularGapDeg(glyph.longitudeDeg, glyph.trueLongitudeDeg) > kMovedDeg;
    placed.push_back(glyph);
  }
  return placed;
}

}  // namespace kelvara::display
