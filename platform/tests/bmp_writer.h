// Writes BMP files in memory for the BMP reader's tests and benchmark: any header kind,
// depth and compression, around pixel bytes (rows or a run-length stream) given by the caller.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kelvara::platform::testing {

enum class BmpHeaderKind { Core = 12, Info = 40, InfoRgbMasks = 52, InfoAlphaMask = 56, V4 = 108, V5 = 124 };

inline constexpr std::uint32_t kBmpRgb = 0;
inline constexpr std::uint32_t kBmpRle8 = 1;
inline constexpr std::uint32_t kBmpRle4 = 2;
inline constexpr std::uint32_t kBmpBitFields = 3;
inline constexpr std::size_t kBmpPixelOffsetAt = 10;
inline constexpr std::size_t kBmpInfoAt = 14;

struct BmpFile {
  BmpFile(BmpHeaderKind header, int width, int height, int bitsPerPixel, std::uint32_t compression = kBmpRgb)
      : header(header), width(width), height(height), bitsPerPixel(bitsPerPixel), compression(compression) {}

  BmpHeaderKind header;
  int width;
  int height;  // negative: the rows are stored top-down
  int bitsPerPixel;
  std::uint32_t compression;
  std::vector<std::uint32_t> palette;       // 0xRRGGBB; the header states its size
  std::array<std::uint32_t, 4> masks = {};  // red, green, blue, alpha
  std::vector<std::uint8_t> pixels;         // as stored
};

inline void PutLittleEndian(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes[at + std::size_t(i)] = std::uint8_t(value >> (8 * i));
}

inline std::vector<std::uint8_t> WriteBmp(const BmpFile& file) {
  const bool core = file.header == BmpHeaderKind::Core;
  std::vector<std::uint8_t> bytes = {'B', 'M'};
  bytes.resize(kBmpInfoAt);  // the file's size and the pixels' offset are filled in last
  const auto append = [&bytes](std::uint32_t value, int count) {
    bytes.resize(bytes.size() + std::size_t(count));
    PutLittleEndian(bytes, bytes.size() - std::size_t(count), value, count);
  };
  append(std::uint32_t(file.header), 4);
  append(std::uint32_t(file.width), core ? 2 : 4);
  append(std::uint32_t(file.height), core ? 2 : 4);
  append(1, 2);  // planes
  append(std::uint32_t(file.bitsPerPixel), 2);
  if (!core) {
    append(file.compression, 4);
    append(std::uint32_t(file.pixels.size()), 4);
    bytes.resize(bytes.size() + 8);  // resolution, unknown
    append(std::uint32_t(file.palette.size()), 4);
    append(0, 4);  // colours that matter: all
    const std::size_t maskCount = file.header == BmpHeaderKind::Info
                                      ? (file.compression == kBmpBitFields ? 3 : 0)
                                      : (file.header == BmpHeaderKind::InfoRgbMasks ? 3 : 4);
    for (std::size_t i = 0; i < maskCount; ++i) append(file.masks[i], 4);
    bytes.resize(std::max(bytes.size(), kBmpInfoAt + std::size_t(file.header)));  // colour space left zero
  }
  for (const std::uint32_t colour : file.palette) append(colour, core ? 3 : 4);  // blue, green, red(, 0)
  PutLittleEndian(bytes, kBmpPixelOffsetAt, std::uint32_t(bytes.size()), 4);
  bytes.insert(bytes.end(), file.pixels.begin(), file.pixels.end());
  PutLittleEndian(bytes, 2, std::uint32_t(bytes.size()), 4);
  return bytes;
}

// Packs each pixel's value (an index or a whole pixel), `valueAt(x, y)` with y from the top,
// into rows padded to 32 bits, in the order a file of that height stores them.
inline std::vector<std::uint8_t> PackRows(int width, int height, int bitsPerPixel,
                                          const std::function<std::uint32_t(int, int)>& valueAt) {
  const int rows = height < 0 ? -height : height;
  const std::size_t stride = (std::size_t(width) * std::size_t(bitsPerPixel) + 31) / 32 * 4;
  std::vector<std::uint8_t> bytes(stride * std::size_t(rows));
  for (int stored = 0; stored < rows; ++stored) {
    const int y = height < 0 ? stored : rows - 1 - stored;
    for (int x = 0; x < width; ++x) {
      const std::size_t bit = std::size_t(stored) * stride * 8 + std::size_t(x) * std::size_t(bitsPerPixel);
      if (bitsPerPixel < 8) {
        bytes[bit / 8] |= std::uint8_t(valueAt(x, y) << (8 - bitsPerPixel - int(bit % 8)));
      } else {
        PutLittleEndian(bytes, bit / 8, valueAt(x, y), bitsPerPixel / 8);
      }
    }
  }
  return bytes;
}

// A 24-bit file of one colour (0xRRGGBB), as bytes.
inline std::string PlainBmp(int width, int height, std::uint32_t colour) {
  BmpFile file(BmpHeaderKind::Info, width, height, 24);
  file.pixels = PackRows(width, height, 24, [colour](int, int) { return colour; });
  const std::vector<std::uint8_t> bytes = WriteBmp(file);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace kelvara::platform::testing
