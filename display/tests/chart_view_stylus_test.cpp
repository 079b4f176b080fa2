#include "display/chart_view_stylus.h"

#include <gtest/gtest.h>

#include "display/tests/wheel_fixtures.h"
#include "display/wheel_stylus_target.h"
#include "platform/recording_canvas.h"
#include "workspace/position_text.h"

namespace kelvara::display {
namespace {

namespace ws = workspace;
using Kind = StylusActionKind;

// One glyph at (100, 100)-(110, 110), one hexagram at (0, 200)-(20, 220).
class FakeTarget : public StylusTarget {
 public:
  std::optional<GlyphUnder> GlyphAt(platform::Point p) const override {
    const platform::Rect square{100, 100, 110, 110};
    if (square.Contains(p)) return GlyphUnder{1, 3, square};
    return std::nullopt;
  }
  std::optional<int> HexagramAt(platform::Point p) const override {
    if (platform::Rect{0, 200, 20, 220}.Contains(p)) return hexagramNumber;
    return std::nullopt;
  }
  int DragSquareSide() const override { return 10; }
  void DragStarted(const GlyphUnder&) override { ++starts; }
  bool Drop(const GlyphUnder&, platform::Point p) override {
    drops.push_back(p);
    return true;
  }
  std::vector<std::string> InformationLines(const GlyphUnder&) const override { return {"Меркурий"}; }
  bool SwipeLeftAllowed() const override { return doubleChart; }

  bool doubleChart = false;
  int hexagramNumber = 3;
  int starts = 0;
  std::vector<platform::Point> drops;
};

struct Gesture {
  StylusAction down, up;
};

Gesture Tap(ChartViewStylus& stylus, platform::Point from, platform::Point to) {
  Gesture g;
  g.down = stylus.Down(from);
  if (stylus.Dragging()) stylus.Move(to);
  g.up = stylus.Up(to);
  return g;
}

TEST(ChartViewStylus, AShortTapSwitchesToInformationAndTheNextTapOpensAWindow) {
  FakeTarget target;
  ChartViewStylus stylus(target, {});
  EXPECT_EQ(Tap(stylus, {10, 10}, {15, 14}).up.kind, Kind::kNone);  // 9 pixels: a tap
  EXPECT_EQ(stylus.Mode(), GestureMode::kInformation);
  const Gesture open = Tap(stylus, {105, 105}, {105, 105});
  EXPECT_EQ(open.down.kind, Kind::kShowInformation);
  EXPECT_EQ(open.down.lines, std::vector<std::string>{"Меркурий"});
  EXPECT_EQ(open.down.corner, (platform::Point{112, 112}));
  EXPECT_TRUE(stylus.WindowOpen());
  EXPECT_EQ(Tap(stylus, {50, 50}, {70, 50}).down.kind, Kind::kCloseWindows);  // the next tap closes it
  EXPECT_EQ(stylus.Mode(), GestureMode::kInformation);                         // and is not classified
  Tap(stylus, {10, 10}, {20, 10});                                             // 10 pixels: drag mode
  EXPECT_EQ(stylus.Mode(), GestureMode::kDrag);
}

TEST(ChartViewStylus, DragMovesTheSquareAndDropsAtTheStylus) {
  FakeTarget target;
  ChartViewStylus stylus(target, {});
  EXPECT_EQ(stylus.Down({104, 106}).square, (platform::Rect{99, 101, 109, 111}));
  EXPECT_EQ(stylus.Move({114, 100}).square, (platform::Rect{109, 95, 119, 105}));
  stylus.Move({120, 100});
  EXPECT_EQ(target.starts, 1);
  EXPECT_EQ(stylus.Up({120, 100}).kind, Kind::kDrop);
  EXPECT_EQ(target.drops, (std::vector<platform::Point>{{120, 100}}));
  EXPECT_FALSE(stylus.Dragging());
}

TEST(ChartViewStylus, LongSwipesOpenThePositionTables) {
  FakeTarget target;
  ChartViewStylus stylus(target, {});
  EXPECT_EQ(Tap(stylus, {10, 10}, {91, 10}).up.chart, 1);
  EXPECT_EQ(Tap(stylus, {10, 10}, {90, 10}).up.kind, Kind::kNone);
  EXPECT_EQ(Tap(stylus, {200, 10}, {119, 10}).up.kind, Kind::kNone);  // one chart: no second table
  target.doubleChart = true;
  const StylusAction left = Tap(stylus, {200, 10}, {119, 10}).up;
  EXPECT_EQ(left.kind, Kind::kOpenPositionTable);
  EXPECT_EQ(left.chart, 2);
}

TEST(ChartViewStylus, AHexagramTapShowsItsShortTextWhenThereIsOne) {
  FakeTarget target;
  std::vector<int> asked;
  std::string answer = "Чжунь\nНачальная трудность.\nВторая строка";
  ChartViewStylus stylus(target, [&](int number) {
    asked.push_back(number);
    return answer;
  });
  const StylusAction shown = stylus.Down({5, 210});
  EXPECT_EQ(shown.kind, Kind::kShowText);
  EXPECT_EQ(shown.title, "Чжунь");
  EXPECT_EQ(shown.body, "Начальная трудность.\nВторая строка");
  stylus.Up({5, 210});
  stylus.Down({5, 5});
  stylus.Up({5, 5});
  answer.clear();
  EXPECT_EQ(stylus.Down({5, 210}).kind, Kind::kNone);
  EXPECT_FALSE(stylus.WindowOpen());
  EXPECT_EQ(asked, (std::vector<int>{3, 3}));
  target.hexagramNumber = 0;  // a figure without a number asks nothing
  EXPECT_EQ(stylus.Down({5, 210}).kind, Kind::kNone);
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(HexagramShortRequest(3), "3 И-Цзин short");
}

TEST(DropGeometry, AnglesAndDistancesAroundTheCentre) {
  EXPECT_FALSE(DropGeometryOf({50, 50}, {50, 50}));
  const auto above = DropGeometryOf({50, 50}, {50, 20});  // dx = 0: the sine branch
  ASSERT_TRUE(above);
  EXPECT_DOUBLE_EQ(above->alphaDeg, 270.0);
  EXPECT_NEAR(above->distancePx, 30.0, 1e-9);
  EXPECT_DOUBLE_EQ(DropGeometryOf({50, 50}, {20, 50})->alphaDeg, 180.0);
  EXPECT_NEAR(DropGeometryOf({50, 50}, {80, 90})->distancePx, 50.0, 1e-9);
  EXPECT_NEAR(DropGeometryOf({50, 50}, {80, 40})->alphaDeg, 360.0 - 18.43494882, 1e-6);
}

class WheelTargetTest : public ::testing::Test {
 protected:
  WheelHits DrawnWith(ws::ObjectTable* outer, WheelOptions options = {}) {
    WheelInput input;
    input.inner = &inner;
    input.outer = outer;
    input.aspects = &table;
    input.options = options;
    platform::RecordingCanvas canvas;
    return DrawWheel(canvas, {0, 0, 400, 400}, input);
  }

  ws::ObjectTable inner = testing::HandMadeChart(100.0);
  ws::ObjectTable outer = testing::HandMadeChart(100.0, 180.0);
  ws::AspectTable table = ws::DefaultSingleChartAspects();
};

TEST_F(WheelTargetTest, InTheWestADropAtTheLeftEdgeTakesTheAscendantsLongitude) {
  const WheelHits hits = DrawnWith(nullptr);
  WheelStylusTarget target(hits, {&inner, nullptr, false}, {});
  const platform::Point left{hits.layout.centre.x - hits.layout.InnerRingMiddle(), hits.layout.centre.y};
  ASSERT_TRUE(target.Drop({1, ws::kSlotSun, {}}, left));
  EXPECT_NEAR(inner[ws::kSlotSun].display.angleDeg, inner[ws::kSlotFirstCusp].longitude, 1e-9);
  EXPECT_NEAR(inner[ws::kSlotSun].display.radius, 1.0, 1e-9);
  // The centre itself has no angle: nothing changes.
  EXPECT_FALSE(target.Drop({1, ws::kSlotMoon, {}}, hits.layout.centre));
  EXPECT_EQ(inner[ws::kSlotMoon].display.angleDeg, ws::kNoDisplayAngle);
}

TEST_F(WheelTargetTest, OuterGlyphsKeepTheirFractionOfTheirOwnRing) {
  table = ws::DefaultTwoChartAspects();
  const WheelHits hits = DrawnWith(&outer);
  WheelStylusTarget target(hits, {&inner, &outer, false}, {});
  const GlyphHit* venus = nullptr;
  for (const GlyphHit& hit : hits.glyphs) {
    if (hit.ring == Ring::kOuter && hit.slot == ws::kSlotVenus) venus = &hit;
  }
  ASSERT_NE(venus, nullptr);
  const auto under = target.GlyphAt(venus->square.Center());
  ASSERT_TRUE(under);
  EXPECT_EQ(under->chart, 2);
  target.Drop(*under, venus->square.Center());
  const WheelHits again = DrawnWith(&outer);
  for (const GlyphHit& hit : again.glyphs) {
    if (hit.ring == Ring::kOuter && hit.slot == ws::kSlotVenus) {
      EXPECT_LE(std::abs(hit.square.left - venus->square.left), 1);
      EXPECT_LE(std::abs(hit.square.top - venus->square.top), 1);
    }
  }
}

TEST_F(WheelTargetTest, TheInformationWindowListsTheGlyphsOwnAspectsOnly) {
  // Cusps I and VII of a single chart, II and XII cusps' names contain "I_Дом".
  for (int slot = 1; slot <= ws::kLastSlot; ++slot) inner[slot].display.name = ws::SlotName(slot);
  inner[ws::kSlotFirstCusp].display.name = "I_Дом";
  inner[ws::kSlotFirstCusp + 1].display.name = "II_Дом";
  inner[ws::kSlotSun].SetLongitude(inner[ws::kSlotFirstCusp + 1].longitude);  // Sun on cusp II
  WheelOptions options;
  options.tapShowsAspects = true;
  const WheelHits hits = DrawnWith(nullptr, options);
  WheelStylusTarget target(hits, {&inner, nullptr, false}, options);
  const std::vector<std::string> lines = target.InformationLines({1, ws::kSlotFirstCusp, {}});
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front().rfind("I_Дом ", 0), 0u);
  std::vector<std::string> own{lines.front()};
  bool namesInside = false;  // an aspect of "II_Дом" alone, whose name holds "I_Дом"
  for (const AspectEntry& entry : hits.aspects) {
    const bool mine = entry.innerSlot == ws::kSlotFirstCusp || entry.outerSlot == ws::kSlotFirstCusp;
    if (mine) own.push_back(entry.text);
    if (!mine && entry.text.find("I_Дом") != std::string::npos) namesInside = true;
  }
  EXPECT_TRUE(namesInside);
  EXPECT_EQ(lines, own);
  EXPECT_EQ(ws::SignPositionText(inner[ws::kSlotSun]), "10°00′00″ Лев");
}

}  // namespace
}  // namespace kelvara::display
