#include "display/wheel_stylus_target.h"

#include "workspace/position_text.h"

namespace kelvara::display {

namespace ws = workspace;

WheelStylusTarget::WheelStylusTarget(const WheelHits& hits, WheelCharts charts, const WheelOptions& options)
    : hits_(hits), charts_(charts), options_(options) {}

ws::ObjectTable* WheelStylusTarget::TableOf(int chart) const { return chart == 2 ? charts_.second : charts_.first; }

// Chart 2 is the outer ring, or the only one when it is drawn by itself.
Ring WheelStylusTarget::RingOf(int chart) const {
  return chart == 2 && !charts_.secondAlone ? Ring::kOuter : Ring::kInner;
}

std::optional<GlyphUnder> WheelStylusTarget::GlyphAt(platform::Point point) const {
  const int innerChart = charts_.secondAlone ? 2 : 1;
  for (Ring ring : {Ring::kInner, Ring::kOuter}) {
    for (const GlyphHit& hit : hits_.glyphs) {
      if (hit.ring != ring || !hit.square.Contains(point)) continue;
      return GlyphUnder{ring == Ring::kInner ? innerChart : 2, hit.slot, hit.square};
    }
  }
  return std::nullopt;
}

std::optional<int> WheelStylusTarget::HexagramAt(platform::Point point) const {
  for (const HexagramHit& hit : hits_.hexagrams) {
    if (hit.rect.Contains(point)) return hit.number;
  }
  return std::nullopt;
}

bool WheelStylusTarget::Drop(const GlyphUnder& glyph, platform::Point point) {
  ws::ObjectTable* table = TableOf(glyph.chart);
  const auto geometry = DropGeometryOf(hits_.layout.centre, point);
  if (!table || !geometry) return false;
  const WheelLayout& layout = hits_.layout;
  const double base = ws::IsCuspSlot(glyph.slot) ? CuspLabelBaseRadius(layout, glyph.slot)
                                                 : RingBaseRadius(layout, RingOf(glyph.chart), options_.sort);
  if (base <= 0.0) return false;
  ws::ObjectDisplay& display = (*table)[glyph.slot].display;
  display.angleDeg = LongitudeAtScreenAngle(layout, geometry->alphaDeg);
  display.radius = geometry->distancePx / base;
  return true;
}

// An entry belongs to the glyph by its slot on the glyph's own side of the pair.
bool WheelStylusTarget::EntryConcerns(const AspectEntry& entry, const GlyphUnder& glyph) const {
  const bool twoRings = charts_.second && !charts_.secondAlone;
  if (!twoRings) return entry.innerSlot == glyph.slot || entry.outerSlot == glyph.slot;
  return glyph.chart == 2 ? entry.outerSlot == glyph.slot : entry.innerSlot == glyph.slot;
}

std::string ObjectPositionLine(const ws::ObjectTable& objects, int slot) {
  const ws::ChartObject& object = objects[slot];
  std::string line = ws::ObjectDisplayName(objects, slot) + " " + ws::SignPositionText(object);
  if (object.retrograde) line += " R";
  return line;
}

std::vector<std::string> WheelStylusTarget::InformationLines(const GlyphUnder& glyph) const {
  const ws::ObjectTable* table = TableOf(glyph.chart);
  if (!table) return {};
  std::vector<std::string> lines{ObjectPositionLine(*table, glyph.slot)};
  if (!options_.tapShowsAspects) return lines;
  for (const AspectEntry& entry : hits_.aspects) {
    if (EntryConcerns(entry, glyph) && (lines.size() < 2 || lines.back() != entry.text)) lines.push_back(entry.text);
  }
  return lines;
}

}  // namespace kelvara::display
