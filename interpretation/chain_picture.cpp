#include "interpretation/chain_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "workspace/driver_points.h"
#include "workspace/glyph_spread.h"

namespace kelvara::interpretation {
namespace {

namespace ws = workspace;
using platform::Brush;
using platform::Canvas;
using platform::Color;
using platform::Point;
using platform::Rect;

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kPictureShare = 0.8;       // P of the rectangle's smaller side
constexpr int kGlyphsPerPicture = 10;       // G = P / 10
constexpr int kSmallestGlyphSide = 2;       // below this only the white is drawn
// Glyphs spread a G apart would touch: each is drawn a little inside its square, and the
// ring of a centre runs round the square's middle, clear of the neighbours.
constexpr double kGlyphInsetShare = 0.1;    // of G, on every side
constexpr double kCentreRingShare = 0.5;    // of G
constexpr Color kRingGrey{80, 80, 80};      // for an object drawn in white

int Round(double value) { return static_cast<int>(std::lround(value)); }

Rect Square(Point centre, int side) {
  const int half = side / 2;
  return {centre.x - half, centre.y - half, centre.x - half + side, centre.y - half + side};
}

// Moves a square that would stand outside the picture back to its edge, as the wheel does.
Rect KeptInside(Rect square, const Rect& area) {
  const int dx = std::max(0, area.left - square.left) - std::max(0, square.right - area.right);
  const int dy = std::max(0, area.top - square.top) - std::max(0, square.bottom - area.bottom);
  return {square.left + dx, square.top + dy, square.right + dx, square.bottom + dy};
}

// The spreading found the object being placed alone: it stays at its longitude.
bool PlaceObjects(const std::vector<int>& drawn, const ws::ObjectTable& objects, ChainLayout& layout,
                  ChainKind kind, double minSeparationDeg) {
  std::vector<int> unplaced;
  std::vector<double> angles;
  for (int object : drawn) {
    if (layout.At(kind, object).Placed()) continue;
    unplaced.push_back(object);
    angles.push_back(ws::Normalise360(objects[object].longitude));
  }
  const bool alone = drawn.size() == 1 && unplaced.size() == 1;
  if (!alone && angles.size() > 1) ws::SpreadAlongCircle(angles, minSeparationDeg);
  for (std::size_t i = 0; i < unplaced.size(); ++i) {
    layout.At(kind, unplaced[i]).angleDeg = ws::Normalise360(angles[i]);
  }
  for (int object : drawn) {
    ChainPlace& place = layout.At(kind, object);
    if (!(place.fraction > 0.0) || !std::isfinite(place.fraction)) place.fraction = 1.0;
  }
  return alone;
}

Point GlyphCentre(Point centre, double radius, const ChainPlace& place) {
  const double a = ws::Normalise360(place.angleDeg) * kRadiansPerDegree;
  const double r = radius * place.fraction;
  return {centre.x + Round(r * std::cos(a)), centre.y + Round(r * std::sin(a))};
}

Color ObjectColour(const ws::ChartObject& object) { return Color::FromColorRef(object.display.colourRgb); }

// A line between two squares' centres, both ends pulled in so that it leaves the glyphs
// clear, never so far that it turns round; a filled head at the dispositor's end.
void DrawArrow(Canvas& canvas, Point from, Point to, int glyphSide, int lineWidth) {
  const double dx = to.x - from.x;
  const double dy = to.y - from.y;
  const double distance = std::hypot(dx, dy);
  if (distance <= 0.0) return;
  const double ux = dx / distance;
  const double uy = dy / distance;
  const double pull = std::min(3.0 * glyphSide / 4.0, distance / 3.0);
  const double tip = distance - pull;
  // G / 4; on an arrow between neighbouring glyphs at most half the line, so that the
  // heads of two objects disposing each other do not run into one blob.
  const double head = std::min(glyphSide / 4.0, (tip - pull) / 2.0);
  const auto at = [&](double along, double across) {
    return Point{from.x + Round(ux * along - uy * across), from.y + Round(uy * along + ux * across)};
  };
  canvas.SetPen({platform::kBlack, lineWidth});
  canvas.DrawLine(at(pull, 0.0), at(tip, 0.0));
  canvas.SetBrush(Brush::Solid(platform::kBlack));
  const std::array<Point, 3> corners{{at(tip, 0.0), at(tip - head, head / 2.0), at(tip - head, -head / 2.0)}};
  canvas.DrawPolygon(corners);
}

void DrawCentreRing(Canvas& canvas, const Rect& square, int glyphSide, Color colour, int lineWidth) {
  const bool white = colour == platform::kWhite;
  const int radius = std::max(1, Round(kCentreRingShare * glyphSide));
  const Point c = square.Center();
  canvas.SetPen({white ? kRingGrey : colour, lineWidth});
  canvas.SetBrush(Brush::Hollow());
  canvas.DrawEllipse({c.x - radius, c.y - radius, c.x + radius, c.y + radius});
}

}  // namespace

ChainDrawing DrawChains(Canvas& canvas, const Rect& rect, double scale, const ws::ObjectTable& objects,
                        const ChartChains& chains, ChainLayout& layout, ChainKind kind,
                        platform::GlyphFitCache* glyphCache, bool backgroundFilled) {
  ChainDrawing drawing;
  if (backgroundFilled) canvas.FillRect(rect, platform::kWhite);
  drawing.centre = rect.Center();
  const int smaller = std::max(0, std::min(rect.Width(), rect.Height()));
  drawing.pictureSide = Round(kPictureShare * smaller);
  drawing.glyphSide = Round(drawing.pictureSide / static_cast<double>(kGlyphsPerPicture) * scale);
  const int g = drawing.glyphSide;
  if (kind == ChainKind::kNone || g < kSmallestGlyphSide) return drawing;

  std::vector<int> drawn;
  for (int object = kFirstChainObject; object <= kLastChainObject; ++object) {
    if (TakesPartInChains(objects[object])) drawn.push_back(object);
  }
  if (drawn.empty()) return drawing;

  const double radius = drawing.pictureSide / 2.0;
  const double minSeparationDeg = std::atan(g / radius) * kDegreesPerRadian;
  drawing.layoutFailed = PlaceObjects(drawn, objects, layout, kind, minSeparationDeg);

  std::array<std::optional<Rect>, kLastChainObject + 1> squareOf{};
  for (int object : drawn) {
    const Point centre = GlyphCentre(drawing.centre, radius, layout.At(kind, object));
    squareOf[object] = KeptInside(Square(centre, g), rect);
    drawing.glyphs.push_back({object, *squareOf[object]});
  }

  const int lineWidth = std::max(1, Round(scale));
  // The arrows first, so that the glyphs stand on top of any that pass under them.
  for (const ChainGlyph& glyph : drawing.glyphs) {
    for (int dispositor : chains.objects[glyph.object].dispositors) {
      if (dispositor == glyph.object || dispositor < kFirstChainObject || dispositor > kLastChainObject) continue;
      if (!squareOf[dispositor]) continue;
      DrawArrow(canvas, glyph.square.Center(), squareOf[dispositor]->Center(), g, lineWidth);
    }
  }
  for (const ChainGlyph& glyph : drawing.glyphs) {
    const ws::ChartObject& object = objects[glyph.object];
    const Color colour = ObjectColour(object);
    if (chains.objects[glyph.object].label == kCentreLabel) {
      DrawCentreRing(canvas, glyph.square, g, colour, lineWidth);
    }
    canvas.SetTextColor(colour);
    const int inset = Round(kGlyphInsetShare * g);
    const Rect box{glyph.square.left + inset, glyph.square.top + inset, glyph.square.right - inset,
                   glyph.square.bottom - inset};
    platform::DrawGlyph(canvas, {platform::SlotGlyphCode(glyph.object), nullptr}, box, glyphCache);
    if (object.retrograde) platform::DrawRetrogradeMark(canvas, glyph.square, g);
  }
  return drawing;
}

}  // namespace kelvara::interpretation
