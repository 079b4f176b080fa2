// One day's dial of the example chart painted by Qt, against its golden image and against
// what the same drawing records.
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "eventmap/day_scan.h"
#include "eventmap/event_map_drawing.h"
#include "eventmap/tests/example_chart.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/tests/golden_image.h"
#include "platform/qt/tests/qt_test_application.h"
#include "platform/recording_canvas.h"

namespace kelvara::eventmap {
namespace {

namespace ws = workspace;
constexpr int kSide = 600;

struct ExampleDay {
  ExampleDay() {
    DayScanOutcome outcome = DayScan(natal, aspects, testing::ExampleDayRequest(day), testing::ExampleEngine());
    EXPECT_TRUE(outcome.lists) << outcome.refusal;
    if (outcome.lists) lists = std::move(*outcome.lists);
  }

  EventMapInputs Inputs() const {
    EventMapInputs inputs;
    inputs.exact = &lists.exact;
    inputs.inForce = &lists.inForce;
    inputs.day = day;
    inputs.aspects = &aspects;
    inputs.dialFace = "DejaVu Sans";
    return inputs;
  }

  ws::ChartRecord natal = testing::ExampleChart();
  ws::AspectTable aspects = ws::DefaultTwoChartAspects();
  ws::CalendarMoment day{2024, 5, 15, 0, 0, 0};
  DayScanLists lists;
};

TEST(EventMapGolden, ExampleChartOnFifteenthMay2024) {
  platform::testing::TestApplication();
  const ExampleDay example;
  QImage image(kSide, kSide, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  platform::QtCanvas canvas(painter);
  const EventMapPicture painted = DrawEventMap(canvas, {0, 0, kSide, kSide}, example.Inputs());
  painter.end();
  std::string why;
  EXPECT_TRUE(platform::testing::MatchesGolden(
      image, std::string(KELVARA_SOURCE_DIR) + "/eventmap/tests/golden/example-day.png", &why))
      << why;

  // The same picture on the recording canvas: the same layout, a polygon per half hour of
  // every band and one per arc, and every listed aspect in force drawn as a text.
  platform::RecordingCanvas recording;
  const EventMapPicture recorded = DrawEventMap(recording, {0, 0, kSide, kSide}, example.Inputs());
  EXPECT_EQ(recorded.bands.size(), painted.bands.size());
  EXPECT_EQ(recorded.arcs.size(), painted.arcs.size());
  EXPECT_FALSE(recorded.arcs.empty());
  EXPECT_EQ(recording.CallsOf(platform::CanvasCall::Kind::Polygon).size(),
            48 * recorded.bands.size() + recorded.arcs.size());
  std::size_t listed = 0;
  for (const auto& call : recording.CallsOf(platform::CanvasCall::Kind::Text)) {
    listed += std::count(recorded.inForceLines.begin(), recorded.inForceLines.end(), call.text);
  }
  EXPECT_EQ(listed, recorded.inForceLines.size());
}

}  // namespace
}  // namespace kelvara::eventmap
