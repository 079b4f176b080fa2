// The wheel painted by Qt compared with its golden images.
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "display/chart_wheel.h"
#include "display/tests/wheel_fixtures.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/tests/golden_image.h"
#include "platform/qt/tests/qt_test_application.h"

namespace kelvara::display {
namespace {

namespace ws = workspace;
constexpr int kSide = 480;

QImage Paint(const WheelInput& input) {
  platform::testing::TestApplication();
  static const bool fonts = !platform::RegisterFontFiles(std::filesystem::path(KELVARA_SOURCE_DIR) / "data" / "fonts").isEmpty();
  EXPECT_TRUE(fonts);
  QImage image(kSide, kSide, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  platform::QtCanvas canvas(painter);
  DrawWheel(canvas, {0, 0, kSide, kSide}, input);
  painter.end();
  return image;
}

void ExpectGolden(const QImage& image, const char* name) {
  std::string why;
  EXPECT_TRUE(platform::testing::MatchesGolden(
      image, std::string(KELVARA_SOURCE_DIR) + "/display/tests/golden/" + name, &why))
      << why;
}

// Every code of the glyph font, drawn through the canvas, is an ink of its own.
TEST(GlyphFont, EveryCodeDrawsADistinctNonEmptyGlyph) {
  std::set<int> codes(std::begin(platform::kSignGlyphCodes), std::end(platform::kSignGlyphCodes));
  codes.insert(std::begin(platform::kSlotGlyphCodes) + 1, std::end(platform::kSlotGlyphCodes));
  ASSERT_EQ(codes.size(), 46u);
  std::map<QByteArray, int> seen;
  for (int code : codes) {
    QImage image = Paint({});
    image.fill(Qt::white);
    QPainter painter(&image);
    platform::QtCanvas canvas(painter);
    platform::DrawGlyph(canvas, {code, nullptr}, {0, 0, 64, 64});
    painter.end();
    const QImage glyph = image.copy(0, 0, 64, 64).convertToFormat(QImage::Format_Mono);
    const QByteArray bits(reinterpret_cast<const char*>(glyph.constBits()), glyph.sizeInBytes());
    int ink = 0;
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) ink += qGray(image.pixel(x, y)) < 128;
    }
    EXPECT_GT(ink, 20) << code;
    EXPECT_TRUE(seen.emplace(bits, code).second) << code << " draws as " << seen[bits];
  }
}

class WheelGolden : public ::testing::Test {
 protected:
  WheelInput Input(ws::ObjectTable& chart) {
    WheelInput input;
    input.inner = &chart;
    input.aspects = &single_;
    input.scale = platform::ViewScaleOf({kSide, kSide});
    return input;
  }
  ws::AspectTable single_ = ws::DefaultSingleChartAspects();
  ws::AspectTable between_ = ws::DefaultTwoChartAspects();
};

TEST_F(WheelGolden, SingleWesternChart) {
  ws::ObjectTable chart = testing::HandMadeChart(100.0);
  ExpectGolden(Paint(Input(chart)), "single-western.png");
}

TEST_F(WheelGolden, AvestanFromAriesWithDegrees) {
  ws::ObjectTable chart = testing::HandMadeChart(100.0);
  WheelInput input = Input(chart);
  input.options.avesta = input.options.fromAries = input.options.degreesShown = true;
  ExpectGolden(Paint(input), "avestan-from-aries.png");
}

TEST_F(WheelGolden, ChartWithoutHouses) {
  ws::ObjectTable chart = testing::HandMadeChart(-1.0);
  ExpectGolden(Paint(Input(chart)), "houseless.png");
}

// A solar-arc direction moves every point by the same arc.
TEST_F(WheelGolden, NatalWithSolarArcDirectionHexagramsAndStepControls) {
  ws::ObjectTable natal = testing::HandMadeChart(100.0);
  ws::ObjectTable directed = testing::HandMadeChart(100.0, 37.5);
  WheelInput input = Input(natal);
  input.outer = &directed;
  input.outerName = "Дирекция по солн.дуге";
  input.aspects = &between_;
  input.options.iChing = input.options.sort = true;
  input.stepControls = {{{10, 455, 30, 475}, {30, 455, 50, 475}, {50, 455, 70, 475}, 1},
                        {{410, 455, 430, 475}, {430, 455, 450, 475}, {450, 455, 470, 475}, 0}};
  ExpectGolden(Paint(input), "double-hexagrams-steps.png");
}

}  // namespace
}  // namespace kelvara::display
