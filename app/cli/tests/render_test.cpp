// render: the wheel of fixed charts drawn headless into PNG, SVG and PDF files.
#include <QFile>
#include <QImage>
#include <QRegularExpression>

#include <filesystem>

#include <gtest/gtest.h>

#include "app/cli/tests/cli_test_support.h"
#include "platform/glyph.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/tests/golden_image.h"

namespace kelvara::cli {
namespace {

namespace fs = std::filesystem;
using testing::Args;
using testing::Refusal;
using testing::Spoiled;
using testing::With;

const Args kRender = {"render", "--name", "Иван", "--date", "12.07.1985", "--time", "14:05",
                      "--gmt", "+04:00", "--lat", "55n45", "--lon", "037e35"};
const Args kProfection = {"--kind", "53", "--target", "12.07.1995"};
const Args kSecondPerson = {"--name2", "Анна", "--date2", "01.01.1990", "--time2", "00:00",
                            "--gmt2", "-03:30", "--lat2", "47.5", "--lon2", "-52.7"};
const fs::path kProgramFonts = fs::path(KELVARA_SOURCE_DIR) / "data" / "fonts";
const std::string kGolden = std::string(KELVARA_SOURCE_DIR) + "/app/cli/tests/data/render_wheel.png";
// Anti-aliasing and font hinting may move a few edge pixels, never the drawing.
constexpr platform::testing::GoldenTolerance kGoldenTolerance{16, 0.01};

bool GlyphFontShipped() { return fs::exists(kProgramFonts / "Kelvara.ttf"); }

QByteArray Bytes(const std::string& file) {
  QFile read(QString::fromStdString(file));
  return read.open(QIODevice::ReadOnly) ? read.readAll() : QByteArray();
}

bool OneColour(const QImage& image) {
  const QRgb first = image.pixel(0, 0);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != first) return false;
    }
  }
  return true;
}

class RenderTest : public testing::CliRun {
 protected:
  // The program's fonts in the scratch data folder, as they lie beside the program.
  void CopyProgramFonts() {
    fs::create_directories(dir_ / "fonts");
    for (const auto& font : fs::directory_iterator(kProgramFonts)) {
      fs::copy_file(font.path(), dir_ / "fonts" / font.path().filename());
    }
  }
  // The PNG the arguments render at 200 x 200, read back.
  QImage Small(const Args& args, const std::string& name) {
    EXPECT_EQ(Run(With(args, {"--size", "200", "--out", File(name)})), kExitOk) << err_.str();
    return QImage(QString::fromStdString(File(name)), "PNG");
  }
};

TEST_F(RenderTest, PngIsASquareOfTheSideAskedAndMatchesItsGoldenImage) {
  if (!GlyphFontShipped()) GTEST_SKIP() << "no glyph font in " << kProgramFonts;
  CopyProgramFonts();
  ASSERT_EQ(Run(With(kRender, With(kProfection, {"--degrees", "--size", "400", "--out", File("колесо.png")}))),
            kExitOk)
      << err_.str();
  EXPECT_TRUE(err_.str().empty()) << err_.str();
  const QImage image(QString::fromStdString(File("колесо.png")));
  ASSERT_EQ(image.size(), QSize(400, 400));
  EXPECT_FALSE(OneColour(image));
  std::string why;
  EXPECT_TRUE(platform::testing::MatchesGolden(image, kGolden, &why, kGoldenTolerance)) << why;
}

TEST_F(RenderTest, EverySwitchAndASecondChartChangeThePicture) {
  const QImage plain = Small(kRender, "plain");  // PNG without an extension to say so
  ASSERT_EQ(plain.size(), QSize(200, 200));
  const std::pair<Args, const char*> changes[] = {
      {{"--house", "-1"}, "houses.png"},  {{"--avesta"}, "avesta.png"}, {{"--from-aries"}, "aries.png"},
      {{"--sort"}, "sort.png"},           {{"--degrees"}, "degrees.png"}, {{"--iching"}, "iching.png"},
      {kProfection, "profection.png"},    {kSecondPerson, "second.png"},
  };
  for (const auto& [change, name] : changes) {
    const QImage changed = Small(With(kRender, change), name);
    ASSERT_EQ(changed.size(), plain.size()) << name;
    EXPECT_GT(platform::testing::CompareImages(changed, plain, kGoldenTolerance.channelStep).differingShare, 0.0)
        << name;
  }
}

TEST_F(RenderTest, SvgHasNoGlyphFontTextAndPdfHasThePageAsked) {
  CopyProgramFonts();
  ASSERT_EQ(Run(With(kRender, {"--size", "300", "--out", File("колесо.svg")})), kExitOk) << err_.str();
  const QByteArray svg = Bytes(File("колесо.svg"));
  EXPECT_TRUE(svg.contains("<svg") && svg.contains("<path"));
  EXPECT_FALSE(svg.contains(platform::kGlyphFace)) << "glyphs are outlines, not text in the glyph font";
  EXPECT_FALSE(svg.contains(QByteArray::fromStdString(platform::GlyphText(platform::SignGlyphCode(1)))));

  ASSERT_EQ(Run(With(kRender, {"--format", "pdf", "--size", "250", "--out", File("колесо.png")})), kExitOk)
      << err_.str();
  const QByteArray pdf = Bytes(File("колесо.png"));
  ASSERT_TRUE(pdf.startsWith("%PDF"));
  const QRegularExpression mediaBox(R"(/MediaBox\s*\[\s*0\s+0\s+([\d.]+)\s+([\d.]+)\s*\])");
  const auto box = mediaBox.match(QString::fromLatin1(pdf));
  ASSERT_TRUE(box.hasMatch());
  EXPECT_DOUBLE_EQ(box.captured(1).toDouble(), 250.0);
  EXPECT_DOUBLE_EQ(box.captured(2).toDouble(), 250.0);
}

TEST_F(RenderTest, BadOptionsAndUnwritableFilesAreRefusedLeavingNoFile) {
  const std::string proc = "/proc/kelvara-render.png";
  const Refusal refusals[] = {
      {With(kRender, {"--format", "gif", "--out", File("a.gif")}), kExitUsage, "формат должен быть png, svg или pdf"},
      {With(kRender, {"--size", "99", "--out", File("a.png")}), kExitUsage, "неверный параметр --size \"99\""},
      {With(kRender, {"--size", "8001", "--out", File("a.png")}), kExitUsage, "неверный параметр --size \"8001\""},
      {kRender, kExitUsage, "нужен параметр --out"},
      {With(kRender, {"--save", File("a.kvd"), "--out", File("a.png")}), kExitUsage, "лишний или неверный параметр"},
      {With(kRender, With(Spoiled(kSecondPerson, "--gmt2", "+13:30"), {"--out", File("a.png")})), kExitFailure,
       "Неправильные данные!"},
      {With(kRender, {"--out", File("нет/a.png")}), kExitFailure, "Не удается записать файл " + File("нет/a.png")},
      {With(kRender, {"--format", "pdf", "--out", proc}), kExitFailure, "Не удается записать файл " + proc},
  };
  for (const Refusal& refusal : refusals) ExpectRefused(refusal);
  EXPECT_TRUE(fs::is_empty(dir_ / "")) << "no picture and no scratch file is left";
  EXPECT_FALSE(fs::exists(proc));
}

TEST_F(RenderTest, AMissingGlyphFontIsWarnedOfAndThePictureStillWritten) {
  ASSERT_EQ(Run(With(kRender, {"--size", "100", "--out", File("a.svg")})), kExitOk) << err_.str();
  EXPECT_TRUE(fs::exists(dir_ / "a.svg"));
  if (platform::ResolveFontFamily(platform::kGlyphFace) == platform::kGlyphFace) {
    GTEST_SKIP() << "the glyph font is installed on this machine";
  }
  EXPECT_NE(err_.str().find("предупреждение: нет шрифта знаков Kelvara"), std::string::npos) << err_.str();
}

}  // namespace
}  // namespace kelvara::cli
