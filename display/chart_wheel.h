// The chart wheel: the zodiac, the cusps, the aspects and the glyphs of one chart or of
// a chart with a second one around it, drawn through the canvas. It computes no
// positions; it writes the glyphs' display angles and fractions back into the objects
// and returns what the stylus later tests taps against.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "display/glyph_placement.h"
#include "display/wheel_layout.h"
#include "display/wheel_options.h"
#include "platform/canvas.h"
#include "platform/glyph.h"
#include "platform/view_scale.h"
#include "workspace/aspect_finder.h"
#include "workspace/aspect_tables.h"
#include "workspace/chart_record.h"

namespace kelvara::display {

// The step controls of one chart, laid out by the program's step zones.
struct StepControls {
  platform::Rect backward;
  platform::Rect middle;
  platform::Rect forward;
  int pressed = 0;  // -1 backward, 1 forward, 0 none
};

struct ClockHands {
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
};

// The 24-hour clock: the hour hand turns once a day, midnight at the top, as on the event map.
void DrawClockFace(platform::Canvas& canvas, platform::Point centre, int radius, const ClockHands& hands);

struct WheelInput {
  workspace::ObjectTable* inner = nullptr;  // the chart viewed
  workspace::ObjectTable* outer = nullptr;  // the second chart around it; null for one chart
  std::string outerName;                    // decides the standing-still rule of the aspects
  const workspace::AspectTable* aspects = nullptr;
  WheelOptions options;
  platform::ViewScale scale;
  std::vector<StepControls> stepControls;
  std::optional<ClockHands> clock;  // drawn when set
  platform::GlyphFitCache* glyphCache = nullptr;
};

struct GlyphHit {
  Ring ring = Ring::kInner;
  int slot = 0;
  platform::Rect square;
  friend bool operator==(const GlyphHit&, const GlyphHit&) = default;
};

struct HexagramHit {
  Ring ring = Ring::kInner;
  int slot = 0;
  int number = 0;  // King Wen number, 0 for none
  platform::Rect rect;
};

// One drawn aspect: its description and the two objects (the inner one first).
struct AspectEntry {
  std::string text;
  int innerSlot = 0;
  int outerSlot = 0;
};

struct WheelHits {
  WheelLayout layout;
  std::vector<GlyphHit> glyphs;
  std::vector<HexagramHit> hexagrams;
  std::vector<AspectEntry> aspects;
};

WheelHits DrawWheel(platform::Canvas& canvas, const platform::Rect& drawing, const WheelInput& input);

// What the wheel asks the aspect finder for its input, and the description it lists
// for a found aspect (the outer chart's object first in a double chart).
workspace::AspectFinderInput WheelAspectFinder(const WheelInput& input);
AspectEntry WheelAspectEntry(const workspace::AspectFinderInput& finder, const workspace::FoundAspect& found);

// The layout DrawWheel uses for the input, without drawing.
WheelLayout LayoutFor(const platform::Rect& drawing, const WheelInput& input);

// The clock is drawn for a chart of today's date only.
bool ClockShown(bool setting, const workspace::CalendarMoment& chartLocal, const workspace::CalendarMoment& today);

// The distance of a cusp label from the centre before its fraction: further out for the
// Ascendant and the Midheaven.
double CuspLabelBaseRadius(const WheelLayout& layout, int slot);

// The glyph record of a slot and of a sign, in the glyph font.
platform::GlyphRecord SlotGlyph(int slot);
platform::GlyphRecord SignGlyph(int sign);

}  // namespace kelvara::display
