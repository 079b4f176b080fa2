#include "display/chart_wheel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "workspace/aspect_finder.h"
#include "workspace/hexagrams.h"

namespace kelvara::display {
namespace {

namespace ws = workspace;
using platform::Brush;
using platform::Canvas;
using platform::Color;
using platform::Pen;
using platform::Point;
using platform::Rect;

constexpr Color kCuspGreen{0, 150, 0};
constexpr Color kAngleRed{255, 0, 0};
constexpr Color kLeaderGreen{0, 150, 0};
constexpr Color kStepOrange{255, 128, 0};
constexpr Color kStepPressed{0, 255, 0};
constexpr Color kClockFace{255, 255, 150};
constexpr Color kClockHand{255, 0, 0};
constexpr Color kHexagramInk{0, 0, 0};
// Sign glyphs by element: fire, earth, air, water.
constexpr std::array<Color, 4> kElementColours{{{190, 30, 30}, {120, 80, 20}, {30, 110, 40}, {20, 60, 170}}};
constexpr double kCuspLabelLeadDeg = 3.0;

constexpr int kHexagramLines = 6;
constexpr int kHexagramWidthUnits = 10;   // display-scale units
constexpr int kHexagramDashUnits = 3;
constexpr int kHexagramGapUnits = 4;
constexpr int kHexagramPitchUnits = 3;    // line-scale units between lines
constexpr int kInnerHexagramUnits = 2;    // left edge + this many display-scale units
constexpr int kOuterHexagramUnits = 15;

struct Context {
  Canvas& canvas;
  const Rect& drawing;
  const WheelInput& input;
  WheelLayout layout;
  WheelHits hits;
};

Rect Square(Point centre, int side) {
  const int half = side / 2;
  return {centre.x - half, centre.y - half, centre.x - half + side, centre.y - half + side};
}

Rect Circle(Point centre, int radius) {
  return {centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius};
}

// Moves a square that would stand outside the picture back to its edge.
Rect KeptInside(Rect square, const Rect& area) {
  const int dx = std::max(0, area.left - square.left) - std::max(0, square.right - area.right);
  const int dy = std::max(0, area.top - square.top) - std::max(0, square.bottom - area.bottom);
  return {square.left + dx, square.top + dy, square.right + dx, square.bottom + dy};
}

Color ObjectColour(const ws::ChartObject& object) { return Color::FromColorRef(object.display.colourRgb); }

double Angle(const Context& c, double longitudeDeg) { return ScreenAngleDeg(c.layout, longitudeDeg); }

void RadialLine(Context& c, double longitudeDeg, double fromRadius, double toRadius) {
  const double a = Angle(c, longitudeDeg);
  c.canvas.DrawLine(PointAt(c.layout.centre, fromRadius, a), PointAt(c.layout.centre, toRadius, a));
}

void FilledCircle(Context& c, int radius, Color fill) {
  c.canvas.SetPen({platform::kBlack, 1});
  c.canvas.SetBrush(Brush::Solid(fill));
  c.canvas.DrawEllipse(Circle(c.layout.centre, radius));
}

void DrawGlyphIn(Context& c, const platform::GlyphRecord& glyph, const Rect& square, Color colour) {
  c.canvas.SetTextColor(colour);
  platform::DrawGlyph(c.canvas, glyph, square, c.input.glyphCache);
}

void DrawCircles(Context& c) {
  const WheelLayout& l = c.layout;
  if (l.twoCharts || l.houses) FilledCircle(c, l.r2, platform::kWhite);
  FilledCircle(c, l.r, c.input.options.signBand);
  FilledCircle(c, l.r1, platform::kWhite);
  FilledCircle(c, l.r3, platform::kWhite);
}

void DrawSigns(Context& c) {
  const WheelLayout& l = c.layout;
  c.canvas.SetPen({platform::kBlack, 1});
  for (int i = 0; i < 12; ++i) {
    RadialLine(c, ws::kDegreesPerSign * i, l.r1, l.r);
    const double middle = ws::kDegreesPerSign * i + ws::kDegreesPerSign / 2;
    const Point centre = PointAt(l.centre, l.r1 + (l.r - l.r1) / 2, Angle(c, middle));
    DrawGlyphIn(c, SignGlyph(i + 1), Square(centre, l.s), kElementColours[i % 4]);
  }
}

bool IsAngleSlot(int slot) {
  return slot == ws::kSlotFirstCusp || slot == ws::kSlotFourthCusp || slot == ws::kSlotSeventhCusp ||
         slot == ws::kSlotMidheaven;
}

bool HasArrow(int slot) { return slot == ws::kSlotFirstCusp || slot == ws::kSlotMidheaven; }

void DrawArrowhead(Context& c, double longitudeDeg, int radius) {
  const int size = c.layout.r / 27;
  const double a = Angle(c, longitudeDeg);
  const Point tip = PointAt(c.layout.centre, radius, a);
  const Point base = PointAt(c.layout.centre, radius - 2 * size, a);
  const double side = (a + 90.0) * kRadiansPerDegree;
  const int dx = static_cast<int>(std::lround(size * std::cos(side)));
  const int dy = static_cast<int>(std::lround(size * std::sin(side)));
  const std::array<Point, 3> corners{{tip, {base.x + dx, base.y + dy}, {base.x - dx, base.y - dy}}};
  c.canvas.SetBrush(Brush::Solid(kAngleRed));
  c.canvas.DrawPolygon(corners);
}

void DrawCusps(Context& c) {
  const WheelLayout& l = c.layout;
  const ws::ObjectTable& objects = *c.input.inner;
  const int lineWidth = static_cast<int>(c.input.scale.lineWidthFactor);
  for (int slot = ws::kSlotFirstCusp; slot <= ws::kSlotLastCusp; ++slot) {
    const ws::ChartObject& cusp = objects[slot];
    if (!IsDrawable(cusp)) continue;
    const double inner = l.r3 - l.m / 2;
    if (IsAngleSlot(slot)) {
      c.canvas.SetPen({kAngleRed, 2 * lineWidth});
      RadialLine(c, cusp.longitude, inner, l.r + l.r / 8);
      if (HasArrow(slot)) DrawArrowhead(c, cusp.longitude, l.r + l.r / 8);
      continue;
    }
    c.canvas.SetPen({kCuspGreen, 1});
    RadialLine(c, cusp.longitude, inner, l.r1);
    RadialLine(c, cusp.longitude, l.r, l.r + l.r / 10);
  }
}

Pen AspectPen(const ws::AspectRecord& aspect, const platform::ViewScale& scale) {
  const int width = aspect.penWidth >= 2 ? static_cast<int>(aspect.penWidth * scale.lineWidthFactor) : aspect.penWidth;
  const int style = std::clamp<int>(aspect.penStyle, 0, 2);
  return {Color::FromColorRef(aspect.firstColor), std::max(0, width), static_cast<platform::PenStyle>(style)};
}

bool TicksOuterCusp(int slot) { return slot >= 18 && slot <= 27 && slot != ws::kSlotMidheaven; }

void DrawAspects(Context& c) {
  const WheelInput& in = c.input;
  if (!in.aspects) return;
  const bool two = in.outer != nullptr;
  const ws::AspectFinderInput finder = WheelAspectFinder(in);
  const double radius = c.layout.r3 - c.layout.m / 2;
  for (const ws::FoundAspect& found : ws::FindAspects(finder)) {
    const ws::AspectRecord& aspect = (*in.aspects)[found.aspect];
    const double a = Angle(c, (*finder.inner)[found.innerSlot].longitude);
    const double b = Angle(c, (*finder.outer)[found.outerSlot].longitude);
    c.canvas.SetPen(AspectPen(aspect, in.scale));
    c.canvas.DrawLine(PointAt(c.layout.centre, radius, a), PointAt(c.layout.centre, radius, b));
    const AspectEntry entry = WheelAspectEntry(finder, found);
    c.hits.aspects.push_back(entry);
    if (two && TicksOuterCusp(found.outerSlot)) {
      c.canvas.DrawLine(PointAt(c.layout.centre, radius, b), PointAt(c.layout.centre, c.layout.r3, b));
      c.hits.aspects.push_back(entry);
    }
  }
}

void DrawLabels(Context& c, const ws::ChartObject& object, const Rect& square, Color colour) {
  const int g = c.layout.g;
  c.canvas.SetFont(platform::GlyphLabelFont(g));
  c.canvas.SetTextColor(colour);
  if (object.retrograde) platform::DrawRetrogradeMark(c.canvas, square, g);
  if (c.input.options.degreesShown) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(std::floor(object.signDegree)));
    c.canvas.DrawText({square.right + g / 5, square.top + g / 5}, text);
  }
}

void DrawLeader(Context& c, const PlacedGlyph& glyph, double fromRadius, Point glyphCentre) {
  const Point from = PointAt(c.layout.centre, fromRadius, Angle(c, glyph.trueLongitudeDeg));
  const double toCentre = std::hypot(glyphCentre.x - c.layout.centre.x, glyphCentre.y - c.layout.centre.y);
  const double fraction = toCentre > 0.0 ? std::max(0.0, toCentre - c.layout.g / 2.0) / toCentre : 0.0;
  const Point edge{c.layout.centre.x + static_cast<int>(std::lround((glyphCentre.x - c.layout.centre.x) * fraction)),
                   c.layout.centre.y + static_cast<int>(std::lround((glyphCentre.y - c.layout.centre.y) * fraction))};
  c.canvas.SetPen({kLeaderGreen, 1});
  c.canvas.DrawLine(from, edge);
}

void DrawRing(Context& c, ws::ObjectTable& objects, Ring ring) {
  const bool sort = c.input.options.sort;
  const double leaderFrom = ring == Ring::kInner ? c.layout.r3 + c.layout.m / 2 : c.layout.r;
  for (const PlacedGlyph& glyph : PlaceRing(objects, c.layout, ring, sort)) {
    const Point centre = PointAt(c.layout.centre, glyph.radiusPx, Angle(c, glyph.longitudeDeg));
    if (glyph.leader) DrawLeader(c, glyph, leaderFrom, centre);
    const Rect square = KeptInside(Square(centre, c.layout.g), c.drawing);
    const ws::ChartObject& object = objects[glyph.slot];
    DrawGlyphIn(c, SlotGlyph(glyph.slot), square, ObjectColour(object));
    DrawLabels(c, object, square, ObjectColour(object));
    c.hits.glyphs.push_back({ring, glyph.slot, square});
  }
}

int CuspLabelSide(const WheelLayout& l, int slot) {
  const int side = 3 * l.g / 4;
  if (HasArrow(slot)) return side * 5 / 3;
  if (IsAngleSlot(slot)) return side * 5 / 4;
  return side;
}

void DrawHouseLabels(Context& c) {
  ws::ObjectTable& objects = *c.input.inner;
  for (int slot = ws::kSlotFirstCusp; slot <= ws::kSlotLastCusp; ++slot) {
    const ws::ChartObject& cusp = objects[slot];
    if (!IsDrawable(cusp)) continue;
    const double angle = std::isfinite(cusp.display.angleDeg) && cusp.display.angleDeg != ws::kNoDisplayAngle
                             ? cusp.display.angleDeg
                             : cusp.longitude + kCuspLabelLeadDeg;
    const double fraction = std::isfinite(cusp.display.radius) && cusp.display.radius > 0.0 ? cusp.display.radius : 1.0;
    const Point centre = PointAt(c.layout.centre, CuspLabelBaseRadius(c.layout, slot) * fraction, Angle(c, angle));
    const Rect square = KeptInside(Square(centre, CuspLabelSide(c.layout, slot)), c.drawing);
    DrawGlyphIn(c, SlotGlyph(slot), square, ObjectColour(cusp));
    if (c.input.options.degreesShown) DrawLabels(c, cusp, square, ObjectColour(cusp));
    c.hits.glyphs.push_back({Ring::kInner, slot, square});
  }
}

// Six lines from the bottom up, the lowest digit first; returns the hexagram's box.
Rect DrawHexagram(Context& c, int left, int bottom, int code) {
  const double s = c.input.scale.display;
  const int line = c.input.scale.line;
  const int width = static_cast<int>(std::lround(kHexagramWidthUnits * s));
  const int dash = static_cast<int>(std::lround(kHexagramDashUnits * s));
  const int gapEnd = dash + static_cast<int>(std::lround(kHexagramGapUnits * s));
  c.canvas.SetPen({kHexagramInk, line});
  int digits = code;
  int y = bottom - line;
  for (int i = 0; i < kHexagramLines; ++i, digits /= 10, y -= kHexagramPitchUnits * line) {
    if (digits % 10 == 2) {
      c.canvas.DrawLine({left, y}, {left + dash, y});
      c.canvas.DrawLine({left + gapEnd, y}, {left + width, y});
    } else {
      c.canvas.DrawLine({left, y}, {left + width, y});
    }
  }
  return {left, y + kHexagramPitchUnits * line - line, left + width, bottom};
}

// The angle's hexagram with its glyph above it; the top of the pair.
int DrawAngleHexagram(Context& c, const ws::ObjectTable& objects, Ring ring, int slot, int left, int bottom) {
  const int code = ws::HexagramCodeOfLongitude(objects[slot].longitude);
  const Rect box = DrawHexagram(c, left, bottom, code);
  c.hits.hexagrams.push_back({ring, slot, ws::HexagramNumber(code), box});
  const int side = box.Width();
  const Rect glyph{box.left, box.top - side - c.input.scale.line, box.right, box.top - c.input.scale.line};
  DrawGlyphIn(c, SlotGlyph(slot), glyph, ObjectColour(objects[slot]));
  return glyph.top;
}

int HexagramBottom(const Context& c) {
  int bottom = c.drawing.bottom;
  for (const StepControls& controls : c.input.stepControls) {
    if (controls.backward.left < c.drawing.left + c.drawing.Width() / 2) bottom = std::min(bottom, controls.backward.top);
  }
  return bottom - c.input.scale.line;
}

void DrawHexagrams(Context& c, const ws::ObjectTable& objects, Ring ring) {
  const double s = c.input.scale.display;
  const int bottom = HexagramBottom(c);
  if (ring == Ring::kOuter) {
    if (!HasHouses(objects)) return;
    const int left = c.drawing.left + static_cast<int>(std::lround(kOuterHexagramUnits * s));
    DrawAngleHexagram(c, objects, ring, ws::kSlotFirstCusp, left, bottom);
    return;
  }
  const int left = c.drawing.left + static_cast<int>(std::lround(kInnerHexagramUnits * s));
  const int top = DrawAngleHexagram(c, objects, ring, ws::kSlotFirstCusp, left, bottom);
  DrawAngleHexagram(c, objects, ring, ws::kSlotMidheaven, left, top - c.input.scale.line);
}

void DrawStepControls(Context& c) {
  c.canvas.SetPen({platform::kBlack, 1});
  for (const StepControls& controls : c.input.stepControls) {
    const auto fill = [&](int which) { c.canvas.SetBrush(Brush::Solid(controls.pressed == which ? kStepPressed : kStepOrange)); };
    fill(0);
    c.canvas.DrawEllipse(controls.middle);
    for (int direction : {-1, 1}) {
      const Rect& r = direction < 0 ? controls.backward : controls.forward;
      const int mid = (r.top + r.bottom) / 2;
      const std::array<Point, 3> arrow =
          direction < 0 ? std::array<Point, 3>{{{r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, mid}}}
                        : std::array<Point, 3>{{{r.left, r.top}, {r.left, r.bottom - 1}, {r.right - 1, mid}}};
      fill(direction);
      c.canvas.DrawPolygon(arrow);
    }
  }
}

void DrawHand(Canvas& canvas, Point centre, double degreesFromTop, double length, double halfWidth) {
  const double a = degreesFromTop - 90.0;
  const std::array<Point, 4> hand{{PointAt(centre, length, a), PointAt(centre, halfWidth, a + 90.0),
                                   PointAt(centre, halfWidth, a + 180.0), PointAt(centre, halfWidth, a - 90.0)}};
  canvas.DrawPolygon(hand);
}

void DrawClock(Context& c, const ClockHands& hands) { DrawClockFace(c.canvas, c.layout.centre, 3 * c.layout.r3 / 8, hands); }

}  // namespace

void DrawClockFace(Canvas& canvas, Point centre, int radius, const ClockHands& hands) {
  if (radius <= 0) return;
  canvas.SetPen({platform::kBlack, 1});
  canvas.SetBrush(Brush::Solid(kClockFace));
  canvas.DrawEllipse(Circle(centre, radius));
  canvas.SetPen({kClockHand, 1});
  canvas.SetBrush(Brush::Solid(kClockFace));
  const double width = std::max(1.0, radius / 16.0);
  DrawHand(canvas, centre, (hands.hours + hands.minutes / 60.0) * 15.0, radius * 5.0 / 11.0, 2 * width);
  DrawHand(canvas, centre, hands.minutes * 6.0, radius * 0.8, 1.5 * width);
  DrawHand(canvas, centre, hands.seconds * 6.0, radius * 20.0 / 21.0, width);
}

double CuspLabelBaseRadius(const WheelLayout& layout, int slot) {
  return layout.r + (HasArrow(slot) ? layout.r / 10 : layout.r / 20);
}

platform::GlyphRecord SlotGlyph(int slot) { return {platform::SlotGlyphCode(slot), nullptr}; }
platform::GlyphRecord SignGlyph(int sign) { return {platform::SignGlyphCode(sign), nullptr}; }

WheelLayout LayoutFor(const Rect& drawing, const WheelInput& input) {
  const bool houses = input.inner && HasHouses(*input.inner);
  WheelLayout layout = ComputeWheelLayout({drawing, input.outer != nullptr, houses, input.options.iChing && houses});
  layout.avesta = input.options.avesta;
  layout.rotationDeg = input.inner ? WheelRotationDeg(*input.inner, input.options) : 0.0;
  return layout;
}

bool ClockShown(bool setting, const ws::CalendarMoment& chartLocal, const ws::CalendarMoment& today) {
  return setting && chartLocal.year == today.year && chartLocal.month == today.month && chartLocal.day == today.day;
}

ws::AspectFinderInput WheelAspectFinder(const WheelInput& input) {
  const bool two = input.outer != nullptr;
  ws::AspectFinderInput finder;
  finder.inner = input.inner;
  finder.outer = two ? input.outer : input.inner;
  finder.twoCharts = two;
  finder.table = input.aspects;
  finder.applyingShown = input.options.applyingShown;
  finder.separatingShown = input.options.separatingShown;
  finder.innerStandsStill = two && ws::StandsStillForOuter(input.outerName);
  finder.lastSlot = input.inner && HasHouses(*input.inner) ? ws::kLastSlot : ws::kSlotLilith;
  return finder;
}

AspectEntry WheelAspectEntry(const ws::AspectFinderInput& finder, const ws::FoundAspect& found) {
  const double angle = (*finder.table)[found.aspect].angle;
  const std::string innerName = ws::ObjectDisplayName(*finder.inner, found.innerSlot);
  const std::string outerName = ws::ObjectDisplayName(*finder.outer, found.outerSlot);
  return {finder.twoCharts ? ws::AspectDescription(outerName, angle, innerName)
                           : ws::AspectDescription(innerName, angle, outerName),
          found.innerSlot, found.outerSlot};
}

WheelHits DrawWheel(Canvas& canvas, const Rect& drawing, const WheelInput& input) {
  Context c{canvas, drawing, input, LayoutFor(drawing, input), {}};
  c.hits.layout = c.layout;
  if (input.options.backgroundFilled) canvas.FillRect(drawing, input.options.background);
  if (!input.inner || drawing.IsEmpty()) return c.hits;
  DrawCircles(c);
  DrawSigns(c);
  if (c.layout.houses) DrawCusps(c);
  DrawAspects(c);
  DrawRing(c, *input.inner, Ring::kInner);
  if (c.layout.houses) DrawHouseLabels(c);
  if (input.options.iChing && c.layout.houses) DrawHexagrams(c, *input.inner, Ring::kInner);
  if (input.outer) {
    DrawRing(c, *input.outer, Ring::kOuter);
    if (input.options.iChing && c.layout.houses) DrawHexagrams(c, *input.outer, Ring::kOuter);
  }
  DrawStepControls(c);
  if (input.clock) DrawClock(c, *input.clock);
  return c.hits;
}

}  // namespace kelvara::display
