// Our BMP reader against Qt's: every kind of file both read must look the same in both.
// Qt reads neither the 52- nor the 56-byte header, and leaves the pixels a run-length
// stream skips unset; those are checked in platform/tests/bmp_test.cpp.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <fstream>
#include <random>
#include <string>

#include "platform/bmp.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/tests/qt_test_application.h"
#include "platform/tests/bmp_writer.h"

namespace kelvara::platform {
namespace {

using testing::BmpFile;
using testing::BmpHeaderKind;

constexpr int kWidth = 13;  // odd, so that rows need padding at every depth
constexpr int kHeight = 6;
constexpr int kLongestLiteral = 40;

class RandomFiles {
 public:
  std::uint32_t Bits(int count) { return count >= 32 ? std::uint32_t(random_()) : Below(1u << count); }

  // Random pixels; indexed ones with a full palette or, past the core header (whose palette
  // is always full), one of three colours.
  BmpFile Uncompressed(BmpHeaderKind header, int bits, bool topDown, std::uint32_t compression = testing::kBmpRgb) {
    BmpFile file(header, kWidth, topDown ? -kHeight : kHeight, bits, compression);
    if (bits <= 8) file.palette = Colours(bits > 1 && header != BmpHeaderKind::Core && Below(2) == 0 ? 3 : 1 << bits);
    file.pixels = testing::PackRows(kWidth, file.height, bits, [&](int, int) { return Bits(bits); });
    return file;
  }

  // Runs and literals, odd and even (so with and without a pad), over every pixel.
  BmpFile Runs(int bits) {
    BmpFile file(BmpHeaderKind::Info, kWidth, kHeight, bits, bits == 8 ? testing::kBmpRle8 : testing::kBmpRle4);
    file.palette = Colours(1 << bits);
    std::vector<std::uint8_t>& stream = file.pixels;
    for (int row = 0; row < kHeight; ++row) {
      for (int x = 0; x < kWidth;) {
        const std::uint32_t left = std::uint32_t(kWidth - x);
        const auto count =
            std::uint8_t(left >= 3 && Below(2) == 0 ? 3 + Below(std::min<std::uint32_t>(left, kLongestLiteral) - 2)
                                                    : 1 + Below(left));
        if (count >= 3 && Below(2) == 0) {
          const std::size_t bytes = bits == 4 ? (count + 1u) / 2 : count;
          stream.insert(stream.end(), {0, count});
          for (std::size_t i = 0; i < bytes + bytes % 2; ++i) stream.push_back(std::uint8_t(Bits(8)));
        } else {
          stream.insert(stream.end(), {count, std::uint8_t(Bits(8))});
        }
        x += count;
      }
      stream.insert(stream.end(), {0, 0});
    }
    stream.insert(stream.end(), {0, 1});
    return file;
  }

 private:
  std::uint32_t Below(std::uint32_t bound) {
    return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(random_);
  }

  std::vector<std::uint32_t> Colours(int count) {
    std::vector<std::uint32_t> colours(static_cast<std::size_t>(count));
    for (std::uint32_t& colour : colours) colour = Bits(24);
    return colours;
  }

  std::mt19937 random_{4711};
};

std::vector<std::pair<std::string, BmpFile>> Samples() {
  RandomFiles random;
  std::vector<std::pair<std::string, BmpFile>> samples;
  for (const auto header : {BmpHeaderKind::Core, BmpHeaderKind::Info, BmpHeaderKind::V4, BmpHeaderKind::V5}) {
    const std::string kind = std::to_string(int(header)) + "-byte header, ";
    for (const bool topDown : {false, true}) {
      const std::string order = topDown ? ", top-down" : "";
      for (const int bits : {1, 4, 8, 16, 24, 32}) {
        if (header == BmpHeaderKind::Core && (bits == 16 || bits == 32 || topDown)) continue;
        samples.emplace_back(kind + std::to_string(bits) + " bits" + order, random.Uncompressed(header, bits, topDown));
      }
      if (header == BmpHeaderKind::Core) continue;
      for (const std::array<std::uint32_t, 4> masks :
           std::initializer_list<std::array<std::uint32_t, 4>>{{0xF800, 0x07E0, 0x001F},
                                                               {0x0F00, 0x00F0, 0x000F, 0xF000},
                                                               {0x001F, 0x03E0, 0x7C00},
                                                               {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
                                                               {0xFF, 0xFF00, 0xFF0000},
                                                               {0xFF000000, 0xFF0000, 0xFF00}}) {
        BmpFile file = random.Uncompressed(header, (masks[0] | masks[1] | masks[2]) > 0xFFFF ? 32 : 16, topDown,
                                           testing::kBmpBitFields);
        file.masks = masks;
        samples.emplace_back(kind + "bit fields " + std::to_string(masks[0]) + order, file);
      }
    }
  }
  for (int take = 0; take < 4; ++take) {
    for (const int bits : {4, 8}) samples.emplace_back(std::to_string(bits) + "-bit runs", random.Runs(bits));
  }
  return samples;
}

TEST(BmpDecoder, ShowsWhatQtsReaderShows) {
  for (const auto& [name, file] : Samples()) {
    SCOPED_TRACE(name);
    const std::vector<std::uint8_t> bytes = testing::WriteBmp(file);
    const BmpDecoding ours = DecodeBmp(bytes);
    const QImage qt = QImage::fromData(bytes.data(), int(bytes.size()), "BMP").convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(ours.image) << ours.refusal;
    ASSERT_FALSE(qt.isNull());
    ASSERT_EQ(QSize(ours.image->width, ours.image->height), qt.size());
    int differing = 0;
    for (int y = 0; y < qt.height(); ++y) {
      for (int x = 0; x < qt.width(); ++x) {
        if (ours.image->Pixel(x, y) == qt.pixel(x, y) || ++differing > 1) continue;
        ADD_FAILURE() << "first difference at (" << x << ',' << y << "): " << std::hex << ours.image->Pixel(x, y)
                      << " against Qt's " << qt.pixel(x, y);
      }
    }
  }
}

TEST(QtCanvas, LoadsBmpFilesThroughOurReaderOnly) {
  testing::TestApplication();
  QTemporaryDir folder;
  BmpFile file(BmpHeaderKind::Info, 3, -2, 8);  // top-down
  file.palette = {0x102030, 0x405060, 0x708090};
  file.pixels = testing::PackRows(3, -2, 8, [](int x, int y) { return std::uint32_t(x + y); });
  const std::vector<std::uint8_t> bytes = testing::WriteBmp(file);
  std::ofstream(folder.filePath("top-down.bmp").toStdString(), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  QImage png(3, 2, QImage::Format_RGB32);
  png.fill(Qt::red);
  ASSERT_TRUE(png.save(folder.filePath("picture.bmp"), "PNG"));

  QImage target(3, 2, QImage::Format_RGB32);
  QPainter painter(&target);
  QtCanvas canvas(painter);
  const auto bitmap = canvas.LoadBitmap(folder.filePath("top-down.bmp").toStdString());
  ASSERT_NE(bitmap, nullptr);
  canvas.BlockCopy({0, 0}, *bitmap, {0, 0, 3, 2});
  EXPECT_EQ(canvas.LoadBitmap(folder.filePath("picture.bmp").toStdString()), nullptr);
  painter.end();
  EXPECT_EQ(target.pixel(0, 0), 0xFF102030u);
  EXPECT_EQ(target.pixel(2, 0), 0xFF708090u);
  EXPECT_EQ(target.pixel(0, 1), 0xFF405060u);
}

}  // namespace
}  // namespace kelvara::platform
