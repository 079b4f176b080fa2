#include "platform/bmp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <random>

#include "platform/tests/bmp_writer.h"
#include "platform/tests/scratch_dir.h"

// Every depth, row order and header kind that Qt reads is compared with Qt's reader in
// platform/qt/tests/bmp_qt_test.cpp; these are the rules Qt cannot check.
namespace kelvara::platform {
namespace {

using testing::BmpFile;
using testing::BmpHeaderKind;
using Bytes = std::vector<std::uint8_t>;
using Pixels = std::vector<std::uint32_t>;

void ExpectPixels(const BmpDecoding& decoded, int width, int height, const Pixels& topRowFirst) {
  ASSERT_TRUE(decoded.image) << decoded.refusal;
  EXPECT_EQ(decoded.image->width, width);
  EXPECT_EQ(decoded.image->height, height);
  EXPECT_EQ(decoded.image->pixels, topRowFirst);
}

BmpFile OneRow(BmpHeaderKind header, int bits, std::uint32_t compression, std::array<std::uint32_t, 4> masks,
               const Pixels& values) {
  BmpFile file(header, int(values.size()), 1, bits, compression);
  file.masks = masks;
  file.pixels = testing::PackRows(file.width, 1, bits, [&](int x, int) { return values[std::size_t(x)]; });
  return file;
}

// A channel's bits become the top bits of its byte, as Qt shows them (5-bit 31 as 248);
// channels wider than a byte keep their top 8 bits. The alpha channel is dropped.
TEST(BmpDecoder, SixteenBitAndBitFieldPixelsFollowTheirMasks) {
  const struct {
    const char* what;
    BmpFile file;
    Pixels expected;
  } cases[] = {
      {"5-5-5 in a 56-byte header",
       OneRow(BmpHeaderKind::InfoAlphaMask, 16, testing::kBmpRgb, {}, {0x7C00, 0x03E0, 0x001F, 0xFFFF}),
       {0xFFF80000, 0xFF00F800, 0xFF0000F8, 0xFFF8F8F8}},
      {"5-6-5 behind the header",
       OneRow(BmpHeaderKind::Info, 16, testing::kBmpBitFields, {0xF800, 0x07E0, 0x001F}, {0xF800, 0x07E0, 0x0841}),
       {0xFFF80000, 0xFF00FC00, 0xFF080808}},
      {"5-6-5 in a 52-byte header",
       OneRow(BmpHeaderKind::InfoRgbMasks, 16, testing::kBmpBitFields, {0xF800, 0x07E0, 0x001F}, {0x001F}),
       {0xFF0000F8}},
      {"10-10-10 in V4",
       OneRow(BmpHeaderKind::V4, 32, testing::kBmpBitFields, {0x3FF00000, 0x000FFC00, 0x3FF}, {0x3FF80001}),
       {0xFFFF8000}},
      {"blue-green-red and alpha in V5",
       OneRow(BmpHeaderKind::V5, 32, testing::kBmpBitFields, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, {0x80332211}),
       {0xFF112233}},
  };
  for (const auto& [what, file, expected] : cases) {
    SCOPED_TRACE(what);
    ExpectPixels(DecodeBmp(testing::WriteBmp(file)), int(expected.size()), 1, expected);
  }
}

// Index i has the colour 0xiiiiii.
BmpFile RunLengthFile(int bits, int width, int height, Bytes stream) {
  BmpFile file(BmpHeaderKind::Info, width, height, bits, bits == 8 ? testing::kBmpRle8 : testing::kBmpRle4);
  for (std::uint32_t i = 0; i < 16; ++i) file.palette.push_back(i * 0x111111);
  file.pixels = std::move(stream);
  return file;
}

Pixels Grey(std::initializer_list<std::uint32_t> indices) {
  Pixels pixels;
  for (const std::uint32_t index : indices) pixels.push_back(0xFF000000 | index * 0x111111);
  return pixels;
}

const Bytes kRle8Stream = {3, 1, 0, 3, 2, 3, 2, 0, 0, 0, 2, 3, 0, 2, 2, 1, 1, 1, 0, 1};
const Bytes kRle4Stream = {3, 0x12, 2, 0xAB, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 1};

TEST(BmpDecoder, RunLengthStreamsFollowTheirEscapes) {
  // Bottom row: a run and an odd literal with its pad; then a run, a move right and up,
  // a run and the end mark: the pixels skipped keep colour 0.
  ExpectPixels(DecodeBmp(testing::WriteBmp(RunLengthFile(8, 6, 3, kRle8Stream))), 6, 3,
               Grey({0, 0, 0, 0, 1, 0, 3, 3, 0, 0, 0, 0, 1, 1, 1, 2, 3, 2}));
  // 4-bit runs repeat their two nibbles in turn; a literal of 5 takes 3 bytes and a pad.
  ExpectPixels(DecodeBmp(testing::WriteBmp(RunLengthFile(4, 5, 2, kRle4Stream))), 5, 2,
               Grey({3, 4, 5, 6, 7, 1, 2, 1, 10, 11}));
  // Every row done, only the end mark missing.
  ExpectPixels(DecodeBmp(testing::WriteBmp(RunLengthFile(8, 2, 1, {2, 9, 0, 0}))), 2, 1, Grey({9, 9}));
}

std::uint32_t Colour(int x, int y) { return std::uint32_t(x * 0x2F1B07 + y * 0x0A3D55) & 0xFFFFFF; }

Bytes Sound24(int width = 4, int height = 2) {
  BmpFile file(BmpHeaderKind::Info, width, height, 24);
  file.pixels = testing::PackRows(width, height, 24, Colour);
  return testing::WriteBmp(file);
}

TEST(BmpDecoder, LastRowMayLackItsPadding) {
  Bytes bytes = Sound24(1, 2);
  bytes.pop_back();
  ExpectPixels(DecodeBmp(bytes), 1, 2, {0xFF000000 | Colour(0, 0), 0xFF000000 | Colour(0, 1)});
  bytes.pop_back();
  EXPECT_EQ(DecodeBmp(bytes).refusal, "файл обрезан");
}

Bytes Sound8() {
  BmpFile file = OneRow(BmpHeaderKind::Info, 8, testing::kBmpRgb, {}, {0, 1, 2, 3});
  file.palette = {1, 2, 3, 4};
  return testing::WriteBmp(file);
}

Bytes BitFields(BmpHeaderKind header, std::array<std::uint32_t, 4> masks) {
  return testing::WriteBmp(OneRow(header, 16, testing::kBmpBitFields, masks, {1, 2}));
}

Bytes Runs(Bytes stream, int width = 4, int height = 2) {
  return testing::WriteBmp(RunLengthFile(8, width, height, std::move(stream)));
}

Bytes With(Bytes bytes, std::size_t at, std::uint32_t value, int count = 4) {
  testing::PutLittleEndian(bytes, at, value, count);
  return bytes;
}

Bytes Cut(Bytes bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}

constexpr std::size_t kHeaderSizeAt = 14;
constexpr std::size_t kWidthAt = 18;
constexpr std::size_t kHeightAt = 22;
constexpr std::size_t kBitsAt = 28;
constexpr std::size_t kCompressionAt = 30;
constexpr std::size_t kColoursAt = 46;
constexpr std::size_t kPixelsOf24 = 54;

TEST(BmpDecoder, RefusesBrokenFilesWithAReason) {
  const std::string truncated = "файл обрезан";
  const std::string badHeader = "неверный заголовок";
  const std::string tooLarge = "слишком большой рисунок";
  const std::string badCompression = "неизвестное сжатие";
  const std::string badOffset = "неверное начало точек";
  const std::string outside = "сжатые точки выходят за рисунок";
  constexpr std::uint32_t kSide = kLargestBmpSide;
  const struct {
    const char* what;
    Bytes bytes;
    std::string reason;
  } cases[] = {
      {"empty", {}, truncated},
      {"file header only", Cut(Sound24(), 14), truncated},
      {"not BM", With(Sound24(), 0, 'B' | 'A' << 8, 2), badHeader},
      {"header size 0", With(Sound24(), kHeaderSizeAt, 0), badHeader},
      {"header size 13", With(Sound24(), kHeaderSizeAt, 13), badHeader},
      {"header size 200", With(Sound24(), kHeaderSizeAt, 200), badHeader},
      {"V5 header cut", Cut(BitFields(BmpHeaderKind::V5, {0xF800, 0x7E0, 0x1F}), 100), truncated},
      {"width 0", With(Sound24(), kWidthAt, 0), badHeader},
      {"width -1", With(Sound24(), kWidthAt, 0xFFFFFFFF), badHeader},
      {"height 0", With(Sound24(), kHeightAt, 0), badHeader},
      {"height INT_MIN", With(Sound24(), kHeightAt, std::uint32_t(INT_MIN)), tooLarge},
      {"65536 x 65536", With(With(Sound24(), kWidthAt, 65536), kHeightAt, 65536), tooLarge},
      {"a side past the limit", With(Sound24(), kWidthAt, kSide + 1), tooLarge},
      {"too many pixels", With(With(Sound24(), kWidthAt, kSide), kHeightAt, 4097), tooLarge},
      {"a large picture without its pixels", With(With(Sound24(), kWidthAt, kSide), kHeightAt, 4096), truncated},
      {"2 bits", With(Sound24(), kBitsAt, 2, 2), badHeader},
      {"32 bits in a core header", testing::WriteBmp(OneRow(BmpHeaderKind::Core, 32, 0, {}, {0})), badHeader},
      {"JPEG inside", With(Sound24(), kCompressionAt, 4), badCompression},
      {"8-bit runs of 24-bit pixels", With(Sound24(), kCompressionAt, testing::kBmpRle8), badCompression},
      {"bit fields of 8-bit pixels", With(Sound8(), kCompressionAt, testing::kBmpBitFields), badCompression},
      {"runs stored top-down", With(Runs({0, 1}), kHeightAt, std::uint32_t(-2)), badHeader},
      {"a zero mask", BitFields(BmpHeaderKind::Info, {0xF800, 0, 0x1F}), "неверные маски цветов"},
      {"a mask past 16 bits", BitFields(BmpHeaderKind::V4, {0x1F0000, 0x7E0, 0x1F}), "неверные маски цветов"},
      {"masks cut", Cut(BitFields(BmpHeaderKind::Info, {0xF800, 0x7E0, 0x1F}), 60), truncated},
      {"257 colours", With(Sound8(), kColoursAt, 257), "неверная палитра"},
      {"palette cut", Cut(Sound8(), 60), truncated},
      {"pixels past the end", With(Sound24(), testing::kBmpPixelOffsetAt, 1000), badOffset},
      {"pixels inside the palette", With(Sound8(), testing::kBmpPixelOffsetAt, kPixelsOf24 + 4), badOffset},
      {"rows cut", Cut(Sound24(), kPixelsOf24 + 12 + 11), truncated},
      {"run past the row", Runs({5, 1, 0, 1}), outside},
      {"literal past the row", Runs({2, 1, 0, 3, 1, 1, 1, 0, 0, 1}), outside},
      {"move past the right edge", Runs({0, 2, 5, 0, 0, 1}), outside},
      {"move past the top", Runs({0, 2, 0, 3, 0, 1}), outside},
      {"pixels above the top row", Runs({0, 0, 0, 0, 1, 1, 0, 1}), outside},
      {"ends of line past the top", Runs({0, 0, 0, 0, 0, 0, 0, 1}), outside},
      {"stream stops mid-picture", Runs({4, 1, 0}), truncated},
      {"a move without its steps", Runs({0, 2, 1}), truncated},
      {"a literal without its pixels", Runs({0, 4, 1, 1}), truncated},
      {"a large picture from a tiny stream", Runs({0, 1}, kSide, 4096), tooLarge},
  };
  for (const auto& [what, bytes, reason] : cases) {
    const BmpDecoding decoded = DecodeBmp(bytes);
    EXPECT_FALSE(decoded.image) << what;
    EXPECT_EQ(decoded.refusal, reason) << what;
  }
}

// Bit flips, cuts and words overwritten with telling values, in sound files of several
// kinds: each result is a whole opaque picture within the limits, or a reason.
TEST(BmpDecoder, SeededMutationsDecodeOrGiveAReason) {
  BmpFile core4(BmpHeaderKind::Core, 9, 3, 4);
  core4.palette.assign(16, 0x123456);
  core4.pixels = testing::PackRows(9, 3, 4, [](int x, int y) { return std::uint32_t(x + y) % 16; });
  BmpFile topDown1(BmpHeaderKind::V4, 17, -2, 1);
  topDown1.palette = {0, 0xFFFFFF};
  topDown1.pixels = testing::PackRows(17, -2, 1, [](int x, int y) { return std::uint32_t(x ^ y) & 1; });
  const std::vector<Bytes> sound = {
      Sound24(7, 5),
      testing::WriteBmp(core4),
      testing::WriteBmp(topDown1),
      BitFields(BmpHeaderKind::V5, {0xF800, 0x7E0, 0x1F}),
      testing::WriteBmp(RunLengthFile(4, 5, 2, kRle4Stream)),
      testing::WriteBmp(RunLengthFile(8, 6, 3, kRle8Stream)),
  };
  constexpr std::uint32_t kTellingWords[] = {0, 1, 0xFFFFFFFF, 0x80000000, 0x7FFFFFFF, 0x10000, 16384};
  std::mt19937 random(20240611);
  const auto below = [&random](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  int decoded = 0;
  for (int round = 0; round < 10000; ++round) {
    Bytes bytes = sound[below(sound.size())];
    for (std::size_t change = 0, changes = 1 + below(3); change < changes && bytes.size() >= 4; ++change) {
      switch (below(3)) {
        case 0: bytes[below(bytes.size())] ^= std::uint8_t(1u << below(8)); break;
        case 1: bytes.resize(below(bytes.size())); break;
        default: {
          const std::uint32_t word =
              below(2) == 0 ? kTellingWords[below(std::size(kTellingWords))] : std::uint32_t(random());
          testing::PutLittleEndian(bytes, below(bytes.size() - 3), word, 4);
        }
      }
    }
    const BmpDecoding result = DecodeBmp(bytes);
    if (!result.image) {
      if (result.refusal.empty()) ADD_FAILURE() << "round " << round << ": refused without a reason";
      continue;
    }
    ++decoded;
    const BmpImage& image = *result.image;
    const bool inLimits = image.width > 0 && image.height > 0 && image.width <= kLargestBmpSide &&
                          image.height <= kLargestBmpSide && std::int64_t(image.width) * image.height <= kMostBmpPixels;
    const bool whole = image.pixels.size() == std::size_t(image.width) * std::size_t(image.height);
    const bool opaque =
        std::all_of(image.pixels.begin(), image.pixels.end(), [](auto pixel) { return pixel >> 24 == 0xFF; });
    if (!inLimits || !whole || !opaque)
      ADD_FAILURE() << "round " << round << ": " << image.width << 'x' << image.height;
  }
  // Both outcomes are common, so the mutations reach the headers and the pixels alike.
  EXPECT_GT(decoded, 1000);
  EXPECT_LT(decoded, 9000);
}

TEST(ReadBmpFile, ReadsThroughTheFileHelpersAndSaysWhyNot) {
  const test_support::ScratchDir folder;
  const Bytes bytes = Sound24();
  std::ofstream(folder / "good.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  const BmpDecoding good = ReadBmpFile(folder / "good.bmp");
  ASSERT_TRUE(good.image) << good.refusal;
  EXPECT_EQ(good.image->Pixel(3, 1), 0xFF000000 | Colour(3, 1));
  EXPECT_EQ(ReadBmpFile(folder / "missing.bmp").refusal, "файл не читается");
  EXPECT_EQ(ReadBmpFile(folder.Path()).refusal, "файл не читается");
  // Sparse, so it takes no room on the disk; refused by its size before it is read.
  std::ofstream(folder / "huge.bmp").close();
  std::filesystem::resize_file(folder / "huge.bmp", std::uintmax_t(kMostBmpPixels) * 5);
  EXPECT_EQ(ReadBmpFile(folder / "huge.bmp").refusal, "слишком большой файл");
}

}  // namespace
}  // namespace kelvara::platform
