#include "display/chart_wheel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "display/tests/wheel_fixtures.h"
#include "platform/recording_canvas.h"
#include "workspace/hexagrams.h"

namespace kelvara::display {
namespace {

using platform::CanvasCall;
using platform::RecordingCanvas;
namespace ws = workspace;

constexpr platform::Rect kDrawing{0, 0, 400, 400};
constexpr platform::Color kCuspGreen{0, 150, 0};

struct Drawn {
  RecordingCanvas canvas;
  WheelHits hits;
};

Drawn Draw(WheelInput input) {
  Drawn drawn;
  drawn.hits = DrawWheel(drawn.canvas, kDrawing, input);
  return drawn;
}

WheelInput Single(ws::ObjectTable& chart, const ws::AspectTable* aspects = nullptr) {
  WheelInput input;
  input.inner = &chart;
  input.aspects = aspects;
  return input;
}

int CountGlyphTexts(const RecordingCanvas& canvas) {
  const auto texts = canvas.CallsOf(CanvasCall::Kind::Text);
  return static_cast<int>(std::count_if(texts.begin(), texts.end(),
                                        [](const CanvasCall& c) { return c.font.face == platform::kGlyphFace; }));
}

TEST(ChartWheel, AChartWithoutHousesShowsTheZodiacAndSixteenGlyphsOnly) {
  ws::ObjectTable chart = testing::HandMadeChart(-1.0);
  WheelInput input = Single(chart);
  input.options.iChing = true;
  const Drawn drawn = Draw(input);
  EXPECT_EQ(drawn.hits.glyphs.size(), 16u);
  EXPECT_TRUE(drawn.hits.hexagrams.empty());
  EXPECT_EQ(CountGlyphTexts(drawn.canvas), 12 + 16);
  for (const CanvasCall& line : drawn.canvas.CallsOf(CanvasCall::Kind::Line)) EXPECT_NE(line.pen.color, kCuspGreen);
  // 0° Aries on the left: Aries' glyph sits left of the centre, a little below it.
  const auto texts = drawn.canvas.CallsOf(CanvasCall::Kind::Text);
  const auto aries = std::find_if(texts.begin(), texts.end(), [](const CanvasCall& c) {
    return c.text == platform::GlyphText(platform::SignGlyphCode(1));
  });
  ASSERT_NE(aries, texts.end());
  EXPECT_LT(aries->points[0].x, drawn.hits.layout.centre.x - drawn.hits.layout.r1);
}

TEST(ChartWheel, HousesBringCuspLabelsAndTheAnglesHexagrams) {
  ws::ObjectTable chart = testing::HandMadeChart(100.0);
  WheelInput input = Single(chart);
  input.options.iChing = true;
  const Drawn drawn = Draw(input);
  EXPECT_EQ(drawn.hits.glyphs.size(), 22u + 12u);
  ASSERT_EQ(drawn.hits.hexagrams.size(), 2u);
  EXPECT_EQ(drawn.hits.hexagrams[0].number,
            ws::HexagramNumber(ws::HexagramCodeOfLongitude(chart[ws::kSlotFirstCusp].longitude)));
  EXPECT_GT(drawn.hits.hexagrams[0].rect.top, drawn.hits.hexagrams[1].rect.top);  // the Midheaven's above
}

TEST(ChartWheel, HexagramLinesRunFromTheLowestDigitAtTheBottom) {
  ws::ObjectTable chart = testing::HandMadeChart(100.0);
  WheelInput input = Single(chart);
  input.options.iChing = true;
  const Drawn drawn = Draw(input);
  const HexagramHit& asc = drawn.hits.hexagrams[0];
  int code = ws::HexagramCodeOfLongitude(chart[ws::kSlotFirstCusp].longitude);
  // Whole lines are one segment, broken ones two; read them bottom up.
  std::vector<int> segmentsPerRow;
  std::map<int, int> rows;
  for (const CanvasCall& line : drawn.canvas.CallsOf(CanvasCall::Kind::Line)) {
    if (line.points[0].y == line.points[1].y && asc.rect.Contains(line.points[0])) ++rows[line.points[0].y];
  }
  ASSERT_EQ(rows.size(), 6u);
  for (auto row = rows.rbegin(); row != rows.rend(); ++row, code /= 10) {
    EXPECT_EQ(row->second, code % 10 == 2 ? 2 : 1);
  }
}

TEST(ChartWheel, StaggeredRadiiAreKeptAndSurviveARedraw) {
  ws::ObjectTable chart = testing::HandMadeChart(100.0);
  chart[ws::kSlotMercury].SetLongitude(chart[ws::kSlotSun].longitude);  // a conjunction
  const WheelHits first = Draw(Single(chart)).hits;
  const double sun = chart[ws::kSlotSun].display.radius, mercury = chart[ws::kSlotMercury].display.radius;
  EXPECT_GT(sun, 0.0);
  EXPECT_NE(sun, mercury);
  EXPECT_FALSE(chart[ws::kSlotMars].display.radius > 0.0);  // not crowded: nothing kept
  const WheelHits second = Draw(Single(chart)).hits;
  EXPECT_EQ(chart[ws::kSlotSun].display.radius, sun);
  for (std::size_t i = 0; i < first.glyphs.size(); ++i) EXPECT_EQ(first.glyphs[i].square, second.glyphs[i].square);
}

TEST(ChartWheel, TheOuterRingMarksItsOwnCrowdedGlyphs) {
  ws::ObjectTable inner = testing::HandMadeChart(100.0);
  ws::ObjectTable outer = testing::HandMadeChart(100.0, 30.0);
  outer[ws::kSlotVenus].SetLongitude(outer[ws::kSlotMars].longitude + 1.0);
  WheelInput input = Single(inner);
  input.outer = &outer;
  Draw(input);
  EXPECT_GT(outer[ws::kSlotVenus].display.radius, 0.0);
  EXPECT_GT(outer[ws::kSlotMars].display.radius, 0.0);
}

TEST(ChartWheel, PointsWithoutAPlaceAreNeitherDrawnNorAspected) {
  ws::ObjectTable chart = testing::HandMadeChart(100.0);
  chart[ws::kSlotSun].longitude = ws::kNotAvailable;
  chart[ws::kSlotMoon].longitude = -1000.0;
  const ws::AspectTable table = ws::DefaultSingleChartAspects();
  const Drawn drawn = Draw(Single(chart, &table));
  for (const GlyphHit& hit : drawn.hits.glyphs) {
    EXPECT_NE(hit.slot, ws::kSlotSun);
    EXPECT_NE(hit.slot, ws::kSlotMoon);
  }
  for (const AspectEntry& entry : drawn.hits.aspects) {
    EXPECT_NE(entry.innerSlot, ws::kSlotSun);
    EXPECT_NE(entry.outerSlot, ws::kSlotMoon);
  }
}

TEST(ChartWheel, AStoredAngleThatIsNoNumberCountsAsNotPlaced) {
  ws::ObjectTable chart = testing::HandMadeChart(100.0);
  const WheelHits placed = Draw(Single(chart)).hits;
  chart[ws::kSlotJupiter].display.angleDeg = std::nan("");
  const WheelHits again = Draw(Single(chart)).hits;
  for (std::size_t i = 0; i < placed.glyphs.size(); ++i) EXPECT_EQ(placed.glyphs[i].square, again.glyphs[i].square);
  chart[ws::kSlotJupiter].display.angleDeg = chart[ws::kSlotJupiter].longitude + 720.0;  // whole turns fold away
  EXPECT_EQ(Draw(Single(chart)).hits.glyphs, placed.glyphs);
}

TEST(ChartWheel, AGlyphPushedOutsideTheViewIsDrawnAtItsEdge) {
  ws::ObjectTable chart = testing::HandMadeChart(100.0);
  chart[ws::kSlotSun].display.radius = 50.0;
  for (const GlyphHit& hit : Draw(Single(chart)).hits.glyphs) {
    EXPECT_GE(hit.square.left, kDrawing.left);
    EXPECT_LE(hit.square.right, kDrawing.right);
    EXPECT_GE(hit.square.top, kDrawing.top);
    EXPECT_LE(hit.square.bottom, kDrawing.bottom);
  }
}

TEST(ChartWheel, DoubleChartsNameTheOuterObjectFirst) {
  ws::ObjectTable inner = testing::HandMadeChart(100.0);
  ws::ObjectTable outer = testing::HandMadeChart(100.0, 120.0);  // every pair in trine
  const ws::AspectTable table = ws::DefaultTwoChartAspects();
  WheelInput input = Single(inner, &table);
  input.outer = &outer;
  const Drawn drawn = Draw(input);
  ASSERT_FALSE(drawn.hits.aspects.empty());
  const AspectEntry& entry = drawn.hits.aspects.front();
  EXPECT_EQ(entry.text.rfind(outer[entry.outerSlot].display.name + " + ", 0), 0u) << entry.text;
}

TEST(ChartWheel, TheClockShowsTodaysChartOnlyInsideTheGlyphRing) {
  ws::ObjectTable chart = testing::HandMadeChart(100.0);
  WheelInput input = Single(chart);
  input.clock = ClockHands{15, 30, 20};
  const Drawn drawn = Draw(input);
  const auto polygons = drawn.canvas.CallsOf(CanvasCall::Kind::Polygon);
  std::vector<CanvasCall> hands;
  std::copy_if(polygons.begin(), polygons.end(), std::back_inserter(hands),
               [](const CanvasCall& c) { return c.pen.color == platform::Color{255, 0, 0} && c.points.size() == 4; });
  ASSERT_EQ(hands.size(), 3u);
  const platform::Point centre = drawn.hits.layout.centre;
  const int radius = 3 * drawn.hits.layout.r3 / 8;
  // Hour hand at 15.5 h on a 24-hour dial: 232.5° clockwise from the top, down and left.
  EXPECT_EQ(hands[0].points[0], PointAt(centre, radius * 5.0 / 11.0, 232.5 - 90.0));
  EXPECT_EQ(hands[1].points[0], PointAt(centre, radius * 0.8, 180.0 - 90.0));
  EXPECT_EQ(hands[2].points[0], PointAt(centre, radius * 20.0 / 21.0, 120.0 - 90.0));
  EXPECT_TRUE(ClockShown(true, {2026, 12, 8, 1, 0, 0}, {2026, 12, 8, 23, 0, 0}));
  EXPECT_FALSE(ClockShown(true, {2026, 12, 7, 1, 0, 0}, {2026, 12, 8, 1, 0, 0}));
  EXPECT_FALSE(ClockShown(false, {2026, 12, 8, 1, 0, 0}, {2026, 12, 8, 1, 0, 0}));
}

}  // namespace
}  // namespace kelvara::display
