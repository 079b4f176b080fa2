// Our own reader of Windows BMP files, so that a picture file the user brings in is
// decoded the same way by every canvas and checked before any memory is taken for it.
// It reads the core (12-byte), info (40, 52, 56-byte), V4 and V5 headers; 1, 4, 8, 16,
// 24 and 32 bits per pixel; uncompressed rows, bit-field masks (16 and 32 bits) and
// run-length coding (4 and 8 bits); rows stored bottom-up or top-down.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kelvara::platform {

// Larger pictures are refused: no wallpaper or chart picture comes near them, and
// 64 Mi pixels already take 256 MiB.
inline constexpr int kLargestBmpSide = 16384;
inline constexpr std::int64_t kMostBmpPixels = 64ll * 1024 * 1024;

struct BmpImage {
  int width = 0;
  int height = 0;
  // Top row first, each pixel 0xFFRRGGBB; a file's alpha is not kept.
  std::vector<std::uint32_t> pixels;

  std::uint32_t Pixel(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

// Either the picture or a short reason, in the user's language, why there is none.
struct BmpDecoding {
  std::optional<BmpImage> image;
  std::string refusal;
};

BmpDecoding DecodeBmp(std::span<const std::uint8_t> bytes);

// Reads the whole file (no larger than the largest picture needs) and decodes it.
BmpDecoding ReadBmpFile(const std::filesystem::path& path);

}  // namespace kelvara::platform
