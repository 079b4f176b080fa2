#include "platform/qt/qt_canvas.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPicture>
#include <QTemporaryDir>

#include "platform/glyph.h"
#include "platform/qt/tests/golden_image.h"
#include "platform/qt/tests/qt_test_application.h"
#include "platform/tests/test_scene.h"

namespace kelvara::platform {
namespace {

namespace scene = testing;

QImage DrawSceneImage() {
  scene::TestApplication();
  QImage image(scene::kSceneSize.width, scene::kSceneSize.height, QImage::Format_RGB32);
  image.fill(Qt::gray);
  QPainter painter(&image);
  QtCanvas canvas(painter);
  scene::DrawScene(canvas);
  painter.end();
  return image;
}

bool IsDark(QRgb pixel) { return qRed(pixel) < 100 && qGreen(pixel) < 100 && qBlue(pixel) < 100; }

int CountDark(const QImage& image, const QRect& area) {
  int dark = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) dark += IsDark(image.pixel(x, y)) ? 1 : 0;
  }
  return dark;
}

TEST(QtCanvas, FilledEllipseHasItsBrushInsideAndItsPenOnTheEdge) {
  const QImage image = DrawSceneImage();
  const Rect e = scene::kSceneEllipse;
  EXPECT_EQ(image.pixel(e.Center().x, e.Center().y), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(e.left, e.Center().y), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(e.right - 1, e.Center().y), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(e.right, e.Center().y), qRgb(255, 255, 255)) << "the right edge stays outside";
  EXPECT_EQ(image.pixel(e.left + 2, e.top + 2), qRgb(255, 255, 255)) << "corner of the box is not filled";
}

TEST(QtCanvas, DashedLineHasDashesAndGaps) {
  const QImage image = DrawSceneImage();
  int blue = 0;
  int gaps = 0;
  for (int x = 12; x < 188; ++x) {
    (image.pixel(x, scene::kSceneLineY) == qRgb(0, 0, 255) ? blue : gaps) += 1;
  }
  EXPECT_GT(blue, 40);
  EXPECT_GT(gaps, 20);
  EXPECT_EQ(image.pixel(100, scene::kSceneLineY + 2), qRgb(255, 255, 255));
}

TEST(QtCanvas, TurnedTextRunsUpwardsFromItsAnchor) {
  const QImage image = DrawSceneImage();
  const Point a = scene::kSceneTextAnchor;
  // Turned a quarter counter-clockwise, the text rises from the anchor with its top to the left
  // and its body to the right of the anchor.
  EXPECT_GT(CountDark(image, QRect(a.x, a.y - 45, 25, 45)), 30);
  EXPECT_EQ(CountDark(image, QRect(a.x + 1, a.y + 2, 45, 25)), 0) << "no upright text";
}

TEST(QtCanvas, BitmapIsCopiedInOneBlock) {
  const QImage image = DrawSceneImage();
  const Point o = scene::kSceneCopyOrigin;
  EXPECT_EQ(image.pixel(o.x, o.y), qRgb(0, 160, 0));
  EXPECT_EQ(image.pixel(o.x + 19, o.y + 19), qRgb(0, 160, 0));
  EXPECT_EQ(image.pixel(o.x + 20, o.y + 20), qRgb(255, 255, 255));
}

TEST(QtCanvas, MissingFacesFallBackAndExtentsGrowWithHeight) {
  scene::TestApplication();
  EXPECT_EQ(ResolveFontFamily("No Such Face"), "DejaVu Sans");
  EXPECT_EQ(ResolveFontFamily("dejavu serif"), "DejaVu Serif");
  const QString times = ResolveFontFamily("Times");
  EXPECT_TRUE(times.contains("Times") || times == "DejaVu Serif") << times.toStdString();
  QImage image(10, 10, QImage::Format_RGB32);
  QPainter painter(&image);
  QtCanvas canvas(painter);
  canvas.SetFont({"No Such Face", 10});
  const Size small = canvas.TextExtent("Овен");
  canvas.SetFont({"No Such Face", 30});
  const Size large = canvas.TextExtent("Овен");
  EXPECT_GT(small.width, 0);
  EXPECT_GT(large.width, 2 * small.width);
  EXPECT_GE(large.height, 30);
  canvas.SetFont({"No Such Face", 30, 5});
  EXPECT_LT(canvas.TextExtent("Овен").width, large.width) << "a narrow width narrows the text";
}

TEST(QtCanvas, RegistersTheFontFilesOfAFolderAndSkipsBrokenOnes) {
  scene::TestApplication();
  const QString system = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";
  if (!QFile::exists(system)) GTEST_SKIP() << "DejaVu fonts not installed";
  QTemporaryDir folder;
  ASSERT_TRUE(QFile::copy(system, folder.filePath("Kelvara.ttf")));
  QFile broken(folder.filePath("Times.ttf"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("not a font");
  broken.close();
  EXPECT_EQ(RegisterFontFiles(folder.path().toStdString()), QStringList{"DejaVu Sans Mono"});
  EXPECT_TRUE(RegisterFontFiles("/nonexistent").isEmpty());
}

TEST(QtCanvas, PicturesExportUnderAwkwardNamesAndFailedExportsLeaveNothing) {
  scene::TestApplication();
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString name = folder.filePath("Карта \"Иван\" 100%");
  ASSERT_TRUE(ExportPicturePng(scene::DrawScene, scene::kSceneSize, name + ".png"));
  ASSERT_TRUE(ExportPictureSvg(scene::DrawScene, scene::kSceneSize, name + ".svg", "Карта"));
  ASSERT_TRUE(ExportPicturePdf(scene::DrawScene, scene::kSceneSize, name + ".pdf", "Карта"));
  const QImage read(name + ".png");
  ASSERT_FALSE(read.isNull());
  EXPECT_EQ(read.size(), QSize(200, 200));
  EXPECT_EQ(read.pixel(50, 50), qRgb(255, 0, 0));
  for (const char* extension : {".svg", ".pdf"}) {
    QFile file(name + extension);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains(extension == std::string(".svg") ? "<svg" : "%%EOF")) << extension;
  }
  const QString missing = folder.filePath("missing/x");
  EXPECT_FALSE(ExportPicturePng(scene::DrawScene, scene::kSceneSize, missing + ".png"));
  EXPECT_FALSE(ExportPictureSvg(scene::DrawScene, scene::kSceneSize, missing + ".svg", "Карта"));
  EXPECT_FALSE(ExportPicturePdf(scene::DrawScene, scene::kSceneSize, "/proc/x.pdf", "Карта"));
  EXPECT_FALSE(QFile::exists("/proc/x.pdf"));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 3) << "the three pictures and no scratch file";
}

TEST(QtCanvas, SvgDrawsGlyphFontTextAsOutlinesAndOtherTextAsText) {
  scene::TestApplication();
  RegisterFontFiles(std::filesystem::path(KELVARA_SOURCE_DIR) / "data" / "fonts");
  if (ResolveFontFamily(kGlyphFace) != kGlyphFace) GTEST_SKIP() << "no glyph font";
  QTemporaryDir folder;
  const QString file = folder.filePath("glyph.svg");
  const auto draw = [](Canvas& canvas) {
    canvas.SetFont({kGlyphFace, 40});
    canvas.DrawText({10, 10}, GlyphText(SignGlyphCode(1)));
    canvas.SetFont({"DejaVu Sans", 20});
    canvas.DrawText({10, 60}, "Овен");
  };
  ASSERT_TRUE(ExportPictureSvg(draw, {100, 100}, file, "Знак"));
  QFile read(file);
  ASSERT_TRUE(read.open(QIODevice::ReadOnly));
  const QByteArray svg = read.readAll();
  EXPECT_FALSE(svg.contains(kGlyphFace)) << svg.toStdString();
  EXPECT_EQ(svg.count("<text"), 1) << "only the word is text";
  EXPECT_TRUE(svg.contains("Овен"));
  EXPECT_TRUE(svg.contains("<path")) << "the glyph is an outline";
}

// A large glyph copied from its image looks as the glyph drawn directly, in every colour
// and at a high pixel ratio; small glyphs and non-raster devices never use the images.
TEST(QtCanvas, LargeGlyphsComeFromTheirImagesAndLookTheSame) {
  scene::TestApplication();
  RegisterFontFiles(std::filesystem::path(KELVARA_SOURCE_DIR) / "data" / "fonts");
  if (ResolveFontFamily(kGlyphFace) != kGlyphFace) GTEST_SKIP() << "no glyph font";
  GlyphImageCache cache;
  const auto paint = [](GlyphImageCache* images, qreal ratio, int height, Color colour) {
    QImage image(QSize(200, 200) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QtCanvas canvas(painter, images);
    canvas.SetFont({kGlyphFace, height});
    canvas.SetTextColor(colour);
    canvas.DrawText({100, 100}, GlyphText(SlotGlyphCode(1)), {HorizontalAlign::Center, VerticalAlign::Middle});
    return image;
  };
  for (const qreal ratio : {1.0, 2.0}) {
    for (const Color colour : {kBlack, Color{200, 30, 30}}) {
      const QImage direct = paint(nullptr, ratio, 150, colour);
      paint(&cache, ratio, 150, colour);
      const QImage copied = paint(&cache, ratio, 150, colour);
      EXPECT_LT(testing::CompareImages(copied, direct).differingShare, 0.002) << ratio;
    }
  }
  EXPECT_EQ(cache.Size(), 4u) << "one image per colour and ratio, reused";
  paint(&cache, 1.0, kLargestUncachedGlyphPx, kBlack);
  QPicture vector;
  QPainter recorder(&vector);
  QtCanvas onVector(recorder, &cache);
  onVector.SetFont({kGlyphFace, 150});
  onVector.DrawText({100, 100}, GlyphText(SlotGlyphCode(2)));
  recorder.end();
  EXPECT_EQ(cache.Size(), 4u);
}

TEST(QtCanvas, LoadsBitmapFilesAndRefusesJunk) {
  scene::TestApplication();
  QTemporaryDir folder;
  QImage picture(8, 4, QImage::Format_RGB32);
  picture.fill(qRgb(10, 20, 30));
  ASSERT_TRUE(picture.save(folder.filePath("обои.bmp"), "BMP"));
  QFile junk(folder.filePath("junk.bmp"));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("BM\x10\x00");
  junk.close();

  QImage target(20, 20, QImage::Format_RGB32);
  target.fill(Qt::white);
  QPainter painter(&target);
  QtCanvas canvas(painter);
  auto bitmap = canvas.LoadBitmap(folder.filePath("обои.bmp").toStdString());
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->PixelSize(), (Size{8, 4}));
  canvas.StretchCopy({0, 0, 16, 8}, *bitmap, {0, 0, 8, 4});
  EXPECT_EQ(canvas.LoadBitmap(folder.filePath("junk.bmp").toStdString()), nullptr);
  painter.end();
  EXPECT_EQ(target.pixel(15, 7), qRgb(10, 20, 30));
  EXPECT_EQ(target.pixel(16, 8), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace kelvara::platform
