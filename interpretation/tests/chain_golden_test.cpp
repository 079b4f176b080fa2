// The chains picture painted by Qt compared with its golden images.
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "interpretation/chain_picture.h"
#include "interpretation/tests/chain_fixtures.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/tests/golden_image.h"
#include "platform/qt/tests/qt_test_application.h"

namespace kelvara::interpretation {
namespace {

namespace ws = workspace;
constexpr int kSide = 600;

QImage Paint(const ws::ObjectTable& objects, ws::Tradition tradition, ChainKind kind) {
  platform::testing::TestApplication();
  static const bool fonts =
      !platform::RegisterFontFiles(std::filesystem::path(KELVARA_SOURCE_DIR) / "data" / "fonts").isEmpty();
  EXPECT_TRUE(fonts);
  const ChartChains chains = BuildChains(objects, ws::DefaultDignityTables(tradition), kind);
  ChainLayout layout;
  QImage image(kSide, kSide, QImage::Format_RGB32);
  image.fill(Qt::black);  // the picture must cover it all
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  platform::QtCanvas canvas(painter);
  const ChainDrawing drawing = DrawChains(canvas, {0, 0, kSide, kSide}, 1.0, objects, chains, layout, kind);
  painter.end();
  EXPECT_FALSE(drawing.layoutFailed);
  EXPECT_EQ(drawing.glyphSide, 48);
  return image;
}

void ExpectGolden(const QImage& image, const char* name) {
  std::string why;
  EXPECT_TRUE(platform::testing::MatchesGolden(
      image, std::string(KELVARA_SOURCE_DIR) + "/interpretation/tests/golden/" + name, &why))
      << why;
}

TEST(ChainGolden, WesternRulership) {
  ExpectGolden(Paint(testing::WesternSpringChart(), ws::Tradition::kWestern, ChainKind::kRulership),
               "western-rulership.png");
}

TEST(ChainGolden, AvestanExaltation) {
  ExpectGolden(Paint(testing::AvestanSummerChart(), ws::Tradition::kAvestan, ChainKind::kExaltation),
               "avestan-exaltation.png");
}

}  // namespace
}  // namespace kelvara::interpretation
