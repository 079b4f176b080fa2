// The chains picture through the recording canvas: its sizes, where the glyphs go and
// stay, the arrows and the cases that draw nothing but white.
#include "interpretation/chain_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "platform/recording_canvas.h"

namespace kelvara::interpretation {
namespace {

namespace ws = workspace;
using platform::CanvasCall;
using platform::Point;
using platform::Rect;
using platform::RecordingCanvas;
using Kind = CanvasCall::Kind;

constexpr int kSun = 1, kMoon = 2, kMercury = 3, kVenus = 4, kMars = 5;
constexpr ChainKind kRule = ChainKind::kRulership;
const Rect kRect{0, 0, 500, 400};  // P = 320, G = 32, centre (250, 200), radius 160
constexpr double kPhiDeg = 11.309932474020213;  // atan(32 / 160)

// Only the objects given take part, at the longitudes given.
ws::ObjectTable Chart(const std::map<int, double>& longitudes) {
  ws::ObjectTable objects{};
  for (int object = kFirstChainObject; object <= kLastChainObject; ++object) {
    const auto given = longitudes.find(object);
    objects[object].visible = given != longitudes.end();
    objects[object].SetLongitude(given != longitudes.end() ? given->second : 0.0);
    objects[object].display.colourRgb = 0x000000C8u + static_cast<std::uint32_t>(object);
  }
  return objects;
}

// Hand-made links: object -> its dispositors.
ChartChains Links(const std::map<int, std::vector<int>>& dispositors) {
  ChartChains chains;
  for (const auto& [object, list] : dispositors) chains.objects[object].dispositors = list;
  return chains;
}

double Distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

struct Drawn {
  RecordingCanvas canvas;
  ChainDrawing drawing;
  std::vector<CanvasCall> Of(Kind kind) const { return canvas.CallsOf(kind); }
  Rect SquareOf(int object) const {
    for (const ChainGlyph& glyph : drawing.glyphs) {
      if (glyph.object == object) return glyph.square;
    }
    ADD_FAILURE() << "no square of " << object;
    return {};
  }
};

Drawn Draw(const ws::ObjectTable& objects, const ChartChains& chains, ChainLayout& layout,
           ChainKind kind = kRule, Rect rect = kRect, double scale = 1.0) {
  Drawn drawn;
  drawn.drawing = DrawChains(drawn.canvas, rect, scale, objects, chains, layout, kind);
  return drawn;
}

void ExpectWhiteOnly(const Drawn& drawn, const Rect& rect) {
  ASSERT_EQ(drawn.canvas.Calls().size(), 1u);
  EXPECT_EQ(drawn.canvas.Calls()[0].kind, Kind::FillRect);
  EXPECT_EQ(drawn.canvas.Calls()[0].rect, rect);
  EXPECT_EQ(drawn.canvas.Calls()[0].fillColor, platform::kWhite);
  EXPECT_TRUE(drawn.drawing.glyphs.empty());
  EXPECT_FALSE(drawn.drawing.layoutFailed);
}

// The Sun at 0° (three o'clock) and Mars at 90° (six o'clock, y down), far apart: the
// arrow from the Sun to Mars is pulled in by 3G/4 = 24 at each end, with a head of G/4.
TEST(ChainPicture, SizesGlyphsAndOneArrowBetweenFarGlyphs) {
  ws::ObjectTable objects = Chart({{kSun, 0.0}, {kMars, 90.0}});
  objects[kMars].retrograde = 1;
  ChainLayout layout;
  const Drawn drawn = Draw(objects, Links({{kSun, {kMars}}}), layout);
  EXPECT_EQ(drawn.drawing.pictureSide, 320);
  EXPECT_EQ(drawn.drawing.glyphSide, 32);
  EXPECT_EQ(drawn.drawing.centre, (Point{250, 200}));
  EXPECT_FALSE(drawn.drawing.layoutFailed);
  EXPECT_EQ(drawn.canvas.Calls()[0].kind, Kind::FillRect);
  EXPECT_EQ(drawn.canvas.Calls()[0].rect, kRect);

  EXPECT_EQ(drawn.SquareOf(kSun), (Rect{394, 184, 426, 216}));
  EXPECT_EQ(drawn.SquareOf(kMars), (Rect{234, 344, 266, 376}));
  EXPECT_EQ(layout.At(kRule, kSun), (ChainPlace{1.0, 0.0}));
  EXPECT_EQ(layout.At(kRule, kMars), (ChainPlace{1.0, 90.0}));

  const auto lines = drawn.Of(Kind::Line);
  ASSERT_EQ(lines.size(), 1u);
  const Point sun{410, 200}, mars{250, 360};
  EXPECT_NEAR(Distance(lines[0].points[0], sun), 24.0, 1.0);
  EXPECT_NEAR(Distance(lines[0].points[1], mars), 24.0, 1.0);
  EXPECT_EQ(lines[0].pen, (platform::Pen{platform::kBlack, 1}));
  const auto heads = drawn.Of(Kind::Polygon);
  ASSERT_EQ(heads.size(), 1u);
  ASSERT_EQ(heads[0].points.size(), 3u);
  EXPECT_EQ(heads[0].points[0], lines[0].points[1]);  // the tip, at Mars's end
  const Point base{(heads[0].points[1].x + heads[0].points[2].x) / 2, (heads[0].points[1].y + heads[0].points[2].y) / 2};
  EXPECT_NEAR(Distance(base, heads[0].points[0]), 8.0, 1.0);
  EXPECT_NEAR(Distance(heads[0].points[1], heads[0].points[2]), 8.0, 1.5);
  EXPECT_EQ(heads[0].brush.color, platform::kBlack);

  // Each glyph in its colour; Mars's "R" at its square's lower right.
  const auto texts = drawn.Of(Kind::Text);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text, platform::GlyphText(platform::SlotGlyphCode(kSun)));
  EXPECT_EQ(texts[0].textColor, platform::Color::FromColorRef(objects[kSun].display.colourRgb));
  EXPECT_EQ(texts[1].text, platform::GlyphText(platform::SlotGlyphCode(kMars)));
  EXPECT_EQ(texts[2].text, "R");
  EXPECT_EQ(texts[2].points[0], (Point{266, 376}));
  EXPECT_EQ(texts[2].font, platform::GlyphLabelFont(32));
  EXPECT_EQ(texts[2].textColor, platform::Color::FromColorRef(objects[kMars].display.colourRgb));
  EXPECT_TRUE(drawn.Of(Kind::Ellipse).empty());  // no centre
}

// Two objects at one longitude end φ apart, symmetric about it; the angles are stored
// and drawn again as they are, though the longitudes change; a placed angle is not
// moved, and a placed fraction is kept while one of 0 or less becomes 1.
TEST(ChainPicture, SpreadsTheUnplacedAndKeepsWhatIsPlaced) {
  ws::ObjectTable objects = Chart({{kSun, 100.0}, {kMoon, 100.0}});
  ChainLayout layout;
  const Drawn first = Draw(objects, {}, layout);
  const double sun = layout.At(kRule, kSun).angleDeg;
  const double moon = layout.At(kRule, kMoon).angleDeg;
  EXPECT_NEAR(std::fabs(moon - sun), kPhiDeg, 1e-9);
  EXPECT_NEAR((sun + moon) / 2.0, 100.0, 1e-9);

  objects[kSun].SetLongitude(200.0);
  objects[kMoon].SetLongitude(300.0);
  const Drawn second = Draw(objects, {}, layout);
  EXPECT_EQ(second.drawing.glyphs, first.drawing.glyphs);
  EXPECT_EQ(layout.At(kRule, kSun).angleDeg, sun);

  // The Sun placed by hand at 100° and half way in; Moon and Mercury unplaced at 100°
  // spread between themselves only; angles are stored in [0, 360).
  objects = Chart({{kSun, 100.0}, {kMoon, 100.0}, {kMercury, 100.0}, {kVenus, 0.0}});
  layout = {};
  layout.At(kRule, kSun) = {0.5, 100.0};
  layout.At(kRule, kMercury).fraction = -1.0;
  const Drawn placed = Draw(objects, {}, layout);
  EXPECT_EQ(layout.At(kRule, kSun), (ChainPlace{0.5, 100.0}));
  EXPECT_NEAR(layout.At(kRule, kMoon).angleDeg, 100.0 - kPhiDeg / 2, 1e-9);
  EXPECT_NEAR(layout.At(kRule, kMercury).angleDeg, 100.0 + kPhiDeg / 2, 1e-9);
  EXPECT_EQ(layout.At(kRule, kMercury).fraction, 1.0);
  EXPECT_EQ(placed.SquareOf(kSun), (Rect{220, 263, 252, 295}));  // 80 px from the centre at 100°
  EXPECT_GE(layout.At(kRule, kVenus).angleDeg, 0.0);
  EXPECT_LT(layout.At(kRule, kVenus).angleDeg, 360.0);
  // Another kind has places of its own.
  EXPECT_FALSE(layout.At(ChainKind::kExile, kSun).Placed());
}

// Every dispositor drawn gets one arrow, the object itself none (its ring shows it), and
// one not drawn none; Western rulership, the Sun in Leo rules itself.
TEST(ChainPicture, OneArrowPerDispositorAndRingsForCentres) {
  const ws::ObjectTable objects = Chart({{kSun, 130.0}, {kMoon, 10.0}, {kMercury, 200.0}, {kVenus, 70.0}});
  const ChartChains built = BuildChains(objects, ws::DefaultDignityTables(ws::Tradition::kWestern), kRule);
  ASSERT_EQ(built.objects[kSun].dispositors, std::vector<int>{kSun});
  ChainLayout layout;
  Drawn drawn = Draw(objects, built, layout);
  // Moon (Aries) -> Mars hidden: none; Mercury (Libra) -> Venus; Venus (Gemini) -> Mercury.
  EXPECT_EQ(drawn.Of(Kind::Line).size(), 2u);
  EXPECT_EQ(drawn.Of(Kind::Polygon).size(), 2u);
  // Rings round the Sun, Mercury and Venus, each in its colour.
  const auto rings = drawn.Of(Kind::Ellipse);
  ASSERT_EQ(rings.size(), 3u);
  const Point sun = drawn.SquareOf(kSun).Center();
  EXPECT_EQ(rings[0].rect.left + rings[0].rect.Width() / 2, sun.x);
  // Round the glyph, and clear of a neighbour standing a glyph (32 px) away.
  EXPECT_GE(rings[0].rect.Width(), 30);
  EXPECT_LE(rings[0].rect.Width(), 32);
  EXPECT_TRUE(rings[0].brush.hollow);
  EXPECT_EQ(rings[0].pen.color, platform::Color::FromColorRef(objects[kSun].display.colourRgb));

  // Several dispositors of one object, itself among them, and one that is hidden.
  layout = {};
  drawn = Draw(objects, Links({{kSun, {kSun, kMoon, kMercury, kMars}}, {kMoon, {kSun}}}), layout);
  EXPECT_EQ(drawn.Of(Kind::Line).size(), 3u);
}

// Glyphs closer than 1.5 G: the ends are pulled in by a third of the distance, so the
// arrow still runs from the object towards its dispositor.
TEST(ChainPicture, CloseGlyphsGetAShortArrowThatPointsTheRightWay) {
  const ws::ObjectTable objects = Chart({{kSun, 0.0}, {kMoon, 0.0}});
  ChainLayout layout;
  layout.At(kRule, kSun).angleDeg = 0.0;
  layout.At(kRule, kMoon).angleDeg = 15.0;
  const Drawn drawn = Draw(objects, Links({{kMoon, {kSun}}}), layout);
  const Point moon = drawn.SquareOf(kMoon).Center();
  const Point sun = drawn.SquareOf(kSun).Center();
  const double distance = Distance(moon, sun);
  ASSERT_LT(distance, 1.5 * 32);
  const auto lines = drawn.Of(Kind::Line);
  ASSERT_EQ(lines.size(), 1u);
  const Point from = lines[0].points[0], to = lines[0].points[1];
  EXPECT_NEAR(Distance(from, moon), distance / 3, 1.0);
  EXPECT_NEAR(Distance(to, sun), distance / 3, 1.0);
  EXPECT_GT((to.x - from.x) * (sun.x - moon.x) + (to.y - from.y) * (sun.y - moon.y), 0);
  EXPECT_EQ(drawn.Of(Kind::Polygon)[0].points[0], to);
}

// One object alone: the spreading fails, and the object stays at its longitude. Placed
// already, or with a second one, nothing fails.
TEST(ChainPicture, ALoneObjectFailsTheLayoutAndKeepsItsLongitude) {
  const ws::ObjectTable objects = Chart({{kMars, 210.0}});
  ChainLayout layout;
  const Drawn drawn = Draw(objects, {}, layout);
  EXPECT_TRUE(drawn.drawing.layoutFailed);
  EXPECT_EQ(layout.At(kRule, kMars), (ChainPlace{1.0, 210.0}));
  ASSERT_EQ(drawn.drawing.glyphs.size(), 1u);
  EXPECT_EQ(drawn.Of(Kind::Text).size(), 1u);
  EXPECT_FALSE(Draw(objects, {}, layout).drawing.layoutFailed);

  ChainLayout pair;
  pair.At(kRule, kSun).angleDeg = 30.0;
  EXPECT_FALSE(Draw(Chart({{kSun, 5.0}, {kMars, 210.0}}), {}, pair).drawing.layoutFailed);
  EXPECT_EQ(pair.At(kRule, kMars).angleDeg, 210.0);
}

// No object, no kind, or a glyph under 2 px: white only, nothing stored.
TEST(ChainPicture, WhiteOnly) {
  ChainLayout layout;
  ExpectWhiteOnly(Draw(Chart({}), {}, layout), kRect);

  const ws::ObjectTable objects = Chart({{kSun, 0.0}, {kMoon, 90.0}});
  const ChartChains chains = Links({{kSun, {kMoon}}});
  ExpectWhiteOnly(Draw(objects, chains, layout, ChainKind::kNone), kRect);
  const Rect tiny{10, 10, 22, 22};  // P = 10, G = 1
  const Drawn small = Draw(objects, chains, layout, kRule, tiny);
  ExpectWhiteOnly(small, tiny);
  EXPECT_EQ(small.drawing.glyphSide, 1);
  ExpectWhiteOnly(Draw(objects, chains, layout, kRule, kRect, 0.04), kRect);  // G = 1.28, drawn as 1
  EXPECT_EQ(layout, ChainLayout{});
}

}  // namespace
}  // namespace kelvara::interpretation
