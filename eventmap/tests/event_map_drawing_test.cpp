// The dial drawn on a recording canvas: its sizes worked out by hand for an 800 x 600
// rectangle, what it draws, how arcs share rings, and what a tap finds.
#include "eventmap/event_map_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/recording_canvas.h"
#include "workspace/chart_record.h"

namespace kelvara::eventmap {
namespace {

namespace ws = workspace;
using platform::CanvasCall;
using platform::Point;

constexpr platform::Rect kRect{0, 0, 800, 600};
constexpr Point kCentre{400, 300};
// Smaller side 600: the frame loses 7 pixels left and right, 8 top and bottom; R = 584 / 2 - 1.
constexpr int kR = 291;
constexpr int kTrine = 1;
const ws::CalendarMoment kDay{2020, 3, 10, 0, 0, 0};
const double kDayStart = ws::HoursSince1860(kDay);
const platform::Color kTrineColour{255, 0, 0};

EventRecord Event(int aspect, int moving, double startHour, double endHour, int base = ws::kSlotSun) {
  EventRecord e;
  e.aspectIndex = aspect;
  e.aspectAngleDeg = ws::DefaultTwoChartAspects()[aspect].angle;
  e.movingPoint = moving;
  e.basePoint = base;
  e.orbDeg = 1.0;
  e.startHours = kDayStart + startHour;
  e.endHours = kDayStart + endHour;
  e.culminationHours = kDayStart + std::clamp((startHour + endHour) / 2, 0.0, 23.5);
  e.startFound = e.endFound = e.exactFound = true;
  return e;
}

class EventMapDrawingTest : public ::testing::Test {
 protected:
  EventMapPicture Draw(TimeFormat format = TimeFormat::kMilitary) {
    EventMapInputs inputs;
    inputs.exact = &exact_;
    inputs.inForce = &inForce_;
    inputs.day = kDay;
    inputs.aspects = &aspects_;
    inputs.timeFormat = format;
    canvas_.Clear();
    return DrawEventMap(canvas_, kRect, inputs);
  }
  std::size_t Count(CanvasCall::Kind kind) const { return canvas_.CallsOf(kind).size(); }
  const ArcRegion& ArcFor(const EventMapPicture& picture, int moving) const {
    return *std::find_if(picture.arcs.begin(), picture.arcs.end(),
                         [&](const ArcRegion& a) { return a.event.movingPoint == moving; });
  }

  std::vector<EventRecord> exact_;
  std::vector<EventRecord> inForce_;
  ws::AspectTable aspects_ = ws::DefaultTwoChartAspects();
  platform::RecordingCanvas canvas_;
};

TEST_F(EventMapDrawingTest, RadiiBandsTicksAndArcsForAKnownRectangle) {
  exact_ = {Event(kTrine, ws::kSlotSun, 1.0, 9.0)};
  const EventMapPicture picture = Draw();
  const EventMapGeometry& g = picture.geometry;
  EXPECT_EQ(g.centre, kCentre);
  EXPECT_EQ(g.outer, kR);
  EXPECT_EQ(g.bandsInner, kR - kR / 50);  // one event: one unit of R / 50
  EXPECT_EQ(g.face, 286 - kR / 20);
  EXPECT_EQ(g.hub, 272 / 6);
  EXPECT_EQ(g.labelCircle, 272 - 272 / 8);
  EXPECT_EQ(g.ringThickness, 238 / 25);
  ASSERT_EQ(picture.bands.size(), 1u);
  EXPECT_EQ(picture.bands[0].outerRadius, kR);
  // 48 half-hour trapezoids and the arc, all in the trine's colour.
  const auto polygons = canvas_.CallsOf(CanvasCall::Kind::Polygon);
  ASSERT_EQ(polygons.size(), 49u);
  for (const CanvasCall& call : polygons) EXPECT_EQ(call.brush.color, kTrineColour);
  EXPECT_EQ(polygons[0].points.size(), 4u);
  EXPECT_EQ(polygons[0].points[0], (Point{kCentre.x, kCentre.y - kR}));
  // The arc from 1 to 9 o'clock in tenths of an hour, its outer edge just inside the label circle.
  const CanvasCall& arc = polygons.back();
  EXPECT_EQ(arc.points.size(), 2u * 81u);
  EXPECT_EQ(arc.points.front(), DialPoint(kCentre, 1.0, 237));
  EXPECT_EQ(arc.points[80], DialPoint(kCentre, 9.0, 237));
  EXPECT_EQ(arc.points[81], DialPoint(kCentre, 9.0, 237 - 9));
  EXPECT_EQ(Count(CanvasCall::Kind::Line), 24u);
  const auto ticks = canvas_.CallsOf(CanvasCall::Kind::Line);
  EXPECT_EQ(ticks[6].points, (std::vector<Point>{{kCentre.x + 45 + 3, 300}, {kCentre.x + 238 - 3, 300}}));
  EXPECT_EQ(Count(CanvasCall::Kind::Ellipse), 5u);  // the band's two edges, face, hub, label circle
}

TEST_F(EventMapDrawingTest, HourLabelsInBothFormats) {
  EventMapPicture picture = Draw(TimeFormat::kMilitary);
  auto texts = canvas_.CallsOf(CanvasCall::Kind::Text);
  ASSERT_EQ(texts.size(), 24u);
  const int middleOfZone = (picture.geometry.face + picture.geometry.labelCircle) / 2;
  EXPECT_EQ(picture.geometry.labelHeight, (272 / 8) * 3 / 4);
  for (int h = 1; h <= 24; ++h) {
    EXPECT_EQ(texts[h - 1].text, std::to_string(h));
    EXPECT_EQ(texts[h - 1].font.escapement, 0);
    EXPECT_EQ(texts[h - 1].font.weight, platform::kNormalWeight);
    EXPECT_EQ(texts[h - 1].points[0], DialPoint(kCentre, h, middleOfZone));
    EXPECT_EQ(texts[h - 1].align.vertical, platform::VerticalAlign::Middle);
  }
  picture = Draw(TimeFormat::kCivil);
  texts = canvas_.CallsOf(CanvasCall::Kind::Text);
  ASSERT_EQ(texts.size(), 12u);
  const char* expected[] = {"2am", "4am", "6am", "8am", "10am", "12pm", "2pm", "4pm", "6pm", "8pm", "10pm", "12"};
  for (int i = 0; i < 12; ++i) {
    const int h = 2 * (i + 1);
    EXPECT_EQ(texts[i].text, expected[i]);
    EXPECT_EQ(texts[i].font.escapement, 3600 - h * 150);
    EXPECT_EQ(texts[i].font.face, kDialFace);
    EXPECT_EQ(texts[i].points[0], DialPoint(kCentre, h, picture.geometry.face));
    EXPECT_EQ(texts[i].align.horizontal, platform::HorizontalAlign::Center);
  }
  EXPECT_EQ(HourLabel(13, TimeFormat::kCivil), "");
  EXPECT_EQ(HourLabel(24, TimeFormat::kCivil), "12    ");
}

TEST_F(EventMapDrawingTest, ArcsAreClampedToTheDay) {
  exact_ = {Event(kTrine, ws::kSlotSun, -5.0, 3.0), Event(kTrine, ws::kSlotMars, 20.0, 30.0)};
  const EventMapPicture picture = Draw();
  const ArcRegion& early = ArcFor(picture, ws::kSlotSun);
  const ArcRegion& late = ArcFor(picture, ws::kSlotMars);
  EXPECT_EQ(early.startHour, 0.0);
  EXPECT_EQ(late.endHour, 24.0);
  // Both fit one ring: the first starts at the top of the dial.
  EXPECT_EQ(early.outerRadius, late.outerRadius);
  const auto polygons = canvas_.CallsOf(CanvasCall::Kind::Polygon);
  EXPECT_EQ(polygons[48].points.front(), (Point{kCentre.x, kCentre.y - early.outerRadius}));
}

TEST_F(EventMapDrawingTest, ArcsShareARingUnlessTheyOverlapAndTheMoonHasItsOwn) {
  exact_ = {Event(kTrine, ws::kSlotSun, 1.0, 3.0), Event(kTrine, ws::kSlotMars, 2.0, 5.0),
            Event(kTrine, ws::kSlotVenus, 4.0, 6.0), Event(kTrine, ws::kSlotMoon, 10.0, 11.0)};
  const EventMapPicture picture = Draw();
  const int step = picture.geometry.ringThickness + 1;
  const int top = picture.geometry.labelCircle - 1;
  EXPECT_EQ(ArcFor(picture, ws::kSlotSun).outerRadius, top);
  EXPECT_EQ(ArcFor(picture, ws::kSlotVenus).outerRadius, top);
  EXPECT_EQ(ArcFor(picture, ws::kSlotMars).outerRadius, top - step);
  // One ring's width below the planets' last ring.
  EXPECT_EQ(ArcFor(picture, ws::kSlotMoon).outerRadius, top - 3 * step);
  EXPECT_TRUE(ArcFor(picture, ws::kSlotMoon).moon);
}

TEST_F(EventMapDrawingTest, ADayWithoutEventsShowsTheFaceAndLabelsOnly) {
  exact_ = {Event(kTrine, ws::kSlotSun, -30.0, -20.0)};
  exact_[0].culminationHours = kDayStart - 25.0;
  const EventMapPicture picture = Draw();
  EXPECT_TRUE(picture.bands.empty());
  EXPECT_TRUE(picture.arcs.empty());
  EXPECT_EQ(Count(CanvasCall::Kind::Polygon), 0u);
  EXPECT_EQ(Count(CanvasCall::Kind::Ellipse), 3u);
  EXPECT_EQ(Count(CanvasCall::Kind::Line), 24u);
  EXPECT_EQ(Count(CanvasCall::Kind::Text), 24u);
  EXPECT_EQ(picture.geometry.bandsInner, kR);
}

// 17 aspects with three day-long events each would take 51 R/50 of bands: they share R/2,
// and the 51 rings still end at the hub.
TEST_F(EventMapDrawingTest, ACrowdedDaySqueezesBandsAndRings) {
  for (int aspect = 0; aspect < 17; ++aspect) {
    for (int moving : {ws::kSlotSun, ws::kSlotMars, ws::kSlotJupiter}) exact_.push_back(Event(aspect, moving, -1.0, 25.0));
  }
  const EventMapPicture picture = Draw();
  ASSERT_EQ(picture.bands.size(), 17u);
  EXPECT_EQ(picture.bands.front().outerRadius, kR);
  EXPECT_EQ(picture.geometry.bandsInner, kR - kR / 2);
  for (std::size_t i = 1; i < picture.bands.size(); ++i) {
    EXPECT_EQ(picture.bands[i].outerRadius, picture.bands[i - 1].innerRadius);
    EXPECT_GT(picture.bands[i].innerRadius, picture.bands[i].outerRadius - 3 * kR / 50);
  }
  ASSERT_EQ(picture.arcs.size(), 51u);
  int innermost = kR;
  for (const ArcRegion& arc : picture.arcs) innermost = std::min(innermost, arc.innerRadius);
  EXPECT_GE(innermost, picture.geometry.hub);
  EXPECT_LE(innermost, picture.geometry.hub + 2);
}

TEST_F(EventMapDrawingTest, ATapFindsTheArcOrTheBandUnderIt) {
  exact_ = {Event(kTrine, ws::kSlotSun, 5.0, 7.0), Event(kTrine, ws::kSlotMars, 4.0, 8.0),
            Event(0, ws::kSlotVenus, 13.0, 14.0)};
  const EventMapPicture picture = Draw();
  const ArcRegion& sun = ArcFor(picture, ws::kSlotSun);
  const ArcRegion& mars = ArcFor(picture, ws::kSlotMars);
  ASSERT_EQ(mars.outerRadius, sun.innerRadius - 1);
  const auto at = [&](Point p) { return picture.EventsAt(p); };
  const auto middle = [&](const ArcRegion& a) { return DialPoint(kCentre, 6.0, (a.outerRadius + a.innerRadius) / 2.0); };
  ASSERT_EQ(at(middle(sun)).size(), 1u);
  EXPECT_EQ(at(middle(sun))[0].movingPoint, ws::kSlotSun);
  ASSERT_EQ(at(middle(mars)).size(), 1u);
  EXPECT_EQ(at(middle(mars))[0].movingPoint, ws::kSlotMars);
  EXPECT_TRUE(at({kCentre.x + sun.innerRadius - 1, kCentre.y}).empty());  // the pixel between the rings
  EXPECT_TRUE(at(DialPoint(kCentre, 18.0, (sun.outerRadius + sun.innerRadius) / 2.0)).empty());
  // The bands answer with the day's events of their aspect: the conjunction band lies outside.
  ASSERT_EQ(picture.bands.size(), 2u);
  const BandRegion& trines = picture.bands[1];
  EXPECT_EQ(trines.aspectIndex, kTrine);
  EXPECT_EQ(at(DialPoint(kCentre, 20.0, (trines.outerRadius + trines.innerRadius) / 2.0)).size(), 2u);
  EXPECT_EQ(at(DialPoint(kCentre, 20.0, kR - 1)).at(0).movingPoint, ws::kSlotVenus);
  EXPECT_TRUE(at(kCentre).empty());
}

TEST_F(EventMapDrawingTest, TheDaysSlowAspectsAreListedInTheCorners) {
  EventRecord slow = Event(6, ws::kSlotJupiter, -48.0, 48.0);
  slow.aspectAngleDeg = 90.0;
  slow.culminationHours = kDayStart + 1.0;
  EventRecord yesterday = slow;
  yesterday.culminationHours = kDayStart - 23.0;
  inForce_ = {yesterday, slow};
  const EventMapPicture picture = Draw();
  EXPECT_EQ(picture.inForceLines, (std::vector<std::string>{"В силе:", "Юпитер 90° Солнце"}));
  const auto texts = canvas_.CallsOf(CanvasCall::Kind::Text);
  const auto listed = std::find_if(texts.begin(), texts.end(), [](const CanvasCall& c) { return c.text == "Юпитер 90° Солнце"; });
  ASSERT_NE(listed, texts.end());
  EXPECT_LT(listed->points[0].x, kCentre.x - kR / 2);  // beside the dial, not over it
}

}  // namespace
}  // namespace kelvara::eventmap
