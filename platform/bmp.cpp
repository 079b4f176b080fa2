#include "platform/bmp.h"

#include <algorithm>
#include <array>
#include <bit>

#include "platform/file_io.h"

namespace kelvara::platform {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr char kTruncated[] = "файл обрезан";
constexpr char kBadHeader[] = "неверный заголовок";
constexpr char kTooLarge[] = "слишком большой рисунок";
constexpr char kUnknownCompression[] = "неизвестное сжатие";
constexpr char kBadPalette[] = "неверная палитра";
constexpr char kBadMasks[] = "неверные маски цветов";
constexpr char kBadPixelOffset[] = "неверное начало точек";
constexpr char kRunOutside[] = "сжатые точки выходят за рисунок";
constexpr char kUnreadable[] = "файл не читается";
constexpr char kFileTooLarge[] = "слишком большой файл";

// The file header: "BM", the file's size, two reserved words, the offset of the pixels.
constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kPixelOffsetAt = 10;
constexpr std::size_t kInfoAt = kFileHeaderBytes;

// The kinds of info header, told apart by their size, their first field: core, info,
// info with colour masks, with an alpha mask too, V4 and V5.
constexpr std::uint32_t kCoreHeaderBytes = 12;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::array<std::uint32_t, 6> kKnownHeaderBytes = {kCoreHeaderBytes, kInfoHeaderBytes, 52, 56, 108, 124};

// Core header: width and height as unsigned 16-bit, planes, bits per pixel.
constexpr std::size_t kCoreWidthAt = 18;
constexpr std::size_t kCoreHeightAt = 20;
constexpr std::size_t kCoreBitsAt = 24;
// Info header and its successors: width and height as signed 32-bit, then planes, bits
// per pixel, compression, image size, resolution and the colour count.
constexpr std::size_t kWidthAt = 18;
constexpr std::size_t kHeightAt = 22;
constexpr std::size_t kBitsAt = 28;
constexpr std::size_t kCompressionAt = 30;
constexpr std::size_t kColourCountAt = 46;
// Red, green and blue masks: right behind a 40-byte header, inside the larger ones.
constexpr std::size_t kMasksAt = kInfoAt + kInfoHeaderBytes;
constexpr std::size_t kMaskBytes = 12;

constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;

constexpr std::size_t kLargestPalette = 256;
constexpr std::size_t kCorePaletteEntryBytes = 3;  // blue, green, red
constexpr std::size_t kPaletteEntryBytes = 4;      // blue, green, red, reserved
constexpr std::uint32_t kOpaque = 0xFF000000;
constexpr std::uint32_t kOpaqueBlack = kOpaque;

// Run-length escapes: a zero count followed by one of these, or by 3-255 for that many
// pixels given one by one.
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfPicture = 1;
constexpr std::uint8_t kDelta = 2;  // then steps right and up, a byte each
// Two bytes of a stream make at most 255 pixels; a picture that needs more per byte is
// mostly space the stream skips, which only a made-up file asks memory for.
constexpr std::int64_t kMostPixelsPerRunByte = 256;

// Room beside the largest picture's pixels for its headers, palette and colour profile.
constexpr std::uintmax_t kLargestBmpFileBytes = std::uintmax_t(kMostBmpPixels) * 4 + 1024 * 1024;

struct Refused {
  const char* reason;
};

void Require(bool condition, const char* reason) {
  if (!condition) throw Refused{reason};
}

// Whether the file holds `count` bytes from `at`; 64-bit, so no sum wraps.
bool Holds(Bytes bytes, std::uint64_t at, std::uint64_t count) {
  return at <= bytes.size() && count <= bytes.size() - at;
}

// Every field is little-endian.
std::uint16_t U16At(Bytes bytes, std::size_t at) { return std::uint16_t(bytes[at] | bytes[at + 1] << 8); }

std::uint32_t U32At(Bytes bytes, std::size_t at) {
  return std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 | std::uint32_t(bytes[at + 2]) << 16 |
         std::uint32_t(bytes[at + 3]) << 24;
}

std::uint32_t Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return kOpaque | red << 16 | green << 8 | blue;
}

// One colour's bits within a pixel.
class Channel {
 public:
  explicit Channel(std::uint32_t mask)
      : mask_(mask), shift_(std::countr_zero(mask) & 31), bits_(std::bit_width(mask >> shift_)) {}

  bool FitsIn(int bitsPerPixel) const { return mask_ != 0 && (bitsPerPixel == 32 || mask_ >> bitsPerPixel == 0); }

  // As Qt shows it: the channel's bits become the top bits of the byte (5-bit 31 is 248).
  std::uint32_t Byte(std::uint32_t pixel) const {
    const std::uint32_t value = (pixel & mask_) >> shift_;
    return bits_ >= 8 ? value >> (bits_ - 8) : value << (8 - bits_);
  }

 private:
  std::uint32_t mask_;
  int shift_;
  int bits_;
};

struct Masks {
  Channel red;
  Channel green;
  Channel blue;

  std::uint32_t Colour(std::uint32_t pixel) const { return Rgb(red.Byte(pixel), green.Byte(pixel), blue.Byte(pixel)); }
};

// Without masks of their own, 16-bit pixels are 5-5-5 and 32-bit ones 8-8-8 below a
// byte that is not used.
const Masks kDefault16{Channel(0x7C00), Channel(0x03E0), Channel(0x001F)};
const Masks kDefault32{Channel(0xFF0000), Channel(0x00FF00), Channel(0x0000FF)};

struct Header {
  std::uint32_t size = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // rows, whichever way they are stored
  bool topDown = false;
  int bitsPerPixel = 0;
  std::uint32_t compression = kUncompressed;
  std::uint32_t statedColours = 0;  // 0: as many as the pixel bits can tell apart

  bool IsCore() const { return size == kCoreHeaderBytes; }
};

struct Layout {
  Header header;
  Masks masks = kDefault32;
  std::vector<std::uint32_t> palette;
  std::size_t pixelsAt = 0;
};

bool IsKnownHeaderSize(std::uint32_t size) {
  return std::find(kKnownHeaderBytes.begin(), kKnownHeaderBytes.end(), size) != kKnownHeaderBytes.end();
}

bool IsKnownDepth(const Header& header) {
  switch (header.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 24: return true;
    case 16:
    case 32: return !header.IsCore();
    default: return false;
  }
}

// Run-length coding fits only its own depth, and its rows only ever go bottom-up.
void CheckCompression(const Header& header) {
  switch (header.compression) {
    case kUncompressed: return;
    case kRle8: Require(header.bitsPerPixel == 8, kUnknownCompression); break;
    case kRle4: Require(header.bitsPerPixel == 4, kUnknownCompression); break;
    case kBitFields: Require(header.bitsPerPixel == 16 || header.bitsPerPixel == 32, kUnknownCompression); return;
    default: Require(false, kUnknownCompression);
  }
  Require(!header.topDown, kBadHeader);
}

Header ReadHeader(Bytes bytes) {
  Require(Holds(bytes, 0, kInfoAt + sizeof(std::uint32_t)), kTruncated);
  Require(bytes[0] == 'B' && bytes[1] == 'M', kBadHeader);
  Header header;
  header.size = U32At(bytes, kInfoAt);
  Require(IsKnownHeaderSize(header.size), kBadHeader);
  Require(Holds(bytes, kInfoAt, header.size), kTruncated);
  if (header.IsCore()) {
    header.width = U16At(bytes, kCoreWidthAt);
    header.height = U16At(bytes, kCoreHeightAt);
    header.bitsPerPixel = U16At(bytes, kCoreBitsAt);
  } else {
    header.width = std::int32_t(U32At(bytes, kWidthAt));
    // A negative height stores the rows top-down; negated in 64 bits, so INT_MIN too.
    const std::int64_t height = std::int32_t(U32At(bytes, kHeightAt));
    header.topDown = height < 0;
    header.height = header.topDown ? -height : height;
    header.bitsPerPixel = U16At(bytes, kBitsAt);
    header.compression = U32At(bytes, kCompressionAt);
    header.statedColours = U32At(bytes, kColourCountAt);
  }
  Require(header.width > 0 && header.height > 0, kBadHeader);
  Require(header.width <= kLargestBmpSide && header.height <= kLargestBmpSide &&
              header.width * header.height <= kMostBmpPixels,
          kTooLarge);
  Require(header.compression <= kBitFields, kUnknownCompression);
  Require(IsKnownDepth(header), kBadHeader);
  CheckCompression(header);
  return header;
}

// Reads the masks of bit-field pixels; returns where the palette would start.
std::size_t ReadMasks(Bytes bytes, Layout& layout) {
  const Header& header = layout.header;
  const std::size_t afterHeader = kInfoAt + header.size;
  layout.masks = header.bitsPerPixel == 16 ? kDefault16 : kDefault32;
  if (header.compression != kBitFields) return afterHeader;
  Require(Holds(bytes, kMasksAt, kMaskBytes), kTruncated);
  layout.masks = {Channel(U32At(bytes, kMasksAt)), Channel(U32At(bytes, kMasksAt + 4)),
                  Channel(U32At(bytes, kMasksAt + 8))};
  const Masks& masks = layout.masks;
  Require(masks.red.FitsIn(header.bitsPerPixel) && masks.green.FitsIn(header.bitsPerPixel) &&
              masks.blue.FitsIn(header.bitsPerPixel),
          kBadMasks);
  return header.size == kInfoHeaderBytes ? kMasksAt + kMaskBytes : afterHeader;
}

// Reads the palette of indexed pixels; returns where it ends.
std::size_t ReadPalette(Bytes bytes, std::size_t at, Layout& layout) {
  const Header& header = layout.header;
  if (header.bitsPerPixel > 8) return at;
  const std::uint64_t count = header.statedColours == 0 ? 1u << header.bitsPerPixel : header.statedColours;
  Require(count <= kLargestPalette, kBadPalette);
  const std::size_t entryBytes = header.IsCore() ? kCorePaletteEntryBytes : kPaletteEntryBytes;
  Require(Holds(bytes, at, count * entryBytes), kTruncated);
  for (std::size_t entry = at; entry < at + count * entryBytes; entry += entryBytes) {
    layout.palette.push_back(Rgb(bytes[entry + 2], bytes[entry + 1], bytes[entry]));
  }
  return at + count * entryBytes;
}

Layout ReadLayout(Bytes bytes) {
  Layout layout;
  layout.header = ReadHeader(bytes);
  const std::size_t tablesEnd = ReadPalette(bytes, ReadMasks(bytes, layout), layout);
  const std::uint64_t pixelsAt = U32At(bytes, kPixelOffsetAt);
  Require(pixelsAt >= tablesEnd && pixelsAt <= bytes.size(), kBadPixelOffset);
  layout.pixelsAt = std::size_t(pixelsAt);
  return layout;
}

// An index past the palette shows black, as Qt and the web browsers show it.
std::uint32_t PaletteColour(const std::vector<std::uint32_t>& palette, std::uint32_t index) {
  return index < palette.size() ? palette[index] : kOpaqueBlack;
}

BmpImage NewImage(const Header& header, std::uint32_t colour) {
  BmpImage image;
  image.width = int(header.width);
  image.height = int(header.height);
  image.pixels.assign(std::size_t(header.width * header.height), colour);
  return image;
}

void DecodeRow(Bytes row, const Layout& layout, std::uint32_t* out, int width) {
  const int bits = layout.header.bitsPerPixel;
  switch (bits) {
    case 1:
    case 4:
    case 8: {
      // Indices fill each byte from its highest bits.
      const int perByte = 8 / bits;
      const std::uint32_t indexMask = (1u << bits) - 1;
      for (int x = 0; x < width; ++x) {
        const int shift = 8 - bits * (x % perByte + 1);
        out[x] = PaletteColour(layout.palette, (row[std::size_t(x / perByte)] >> shift) & indexMask);
      }
      return;
    }
    case 16:
      for (int x = 0; x < width; ++x) out[x] = layout.masks.Colour(U16At(row, std::size_t(x) * 2));
      return;
    case 24:
      for (int x = 0; x < width; ++x) {
        const std::size_t at = std::size_t(x) * 3;
        out[x] = Rgb(row[at + 2], row[at + 1], row[at]);
      }
      return;
    default:
      for (int x = 0; x < width; ++x) out[x] = layout.masks.Colour(U32At(row, std::size_t(x) * 4));
  }
}

// Rows are padded to whole 32-bit words; the last row's padding may be left out.
BmpImage DecodeRows(Bytes bytes, const Layout& layout) {
  const Header& header = layout.header;
  const std::uint64_t rowBits = std::uint64_t(header.width) * std::uint64_t(header.bitsPerPixel);
  const std::uint64_t stride = (rowBits + 31) / 32 * 4;
  const std::uint64_t rowBytes = (rowBits + 7) / 8;
  Require(Holds(bytes, layout.pixelsAt, stride * std::uint64_t(header.height - 1) + rowBytes), kTruncated);
  BmpImage image = NewImage(header, kOpaqueBlack);
  for (std::int64_t stored = 0; stored < header.height; ++stored) {
    const std::int64_t y = header.topDown ? stored : header.height - 1 - stored;
    DecodeRow(bytes.subspan(layout.pixelsAt + std::size_t(stored) * stride, rowBytes), layout,
              &image.pixels[std::size_t(y * header.width)], image.width);
  }
  return image;
}

// A stream of byte pairs: a count and an index to repeat, or a zero and an escape. A 4-bit
// stream gives two indices per byte, high nibble first, and repeats them in turn.
class RunDecoder {
 public:
  RunDecoder(Bytes stream, const Layout& layout, BmpImage& image)
      : stream_(stream), palette_(layout.palette), nibbles_(layout.header.bitsPerPixel == 4), image_(image) {}

  void Run() {
    for (;;) {
      // A stream that stops once every row is done has lost no more than its end mark.
      if (at_ == stream_.size() && row_ >= image_.height) return;
      const Bytes pair = Take(2);
      if (pair[0] > 0) {
        Put(pair[0], [&](int i) { return IndexIn(pair.subspan(1), nibbles_ ? i % 2 : 0); });
      } else if (pair[1] == kEndOfLine) {
        x_ = 0;
        Require(++row_ <= image_.height, kRunOutside);
      } else if (pair[1] == kEndOfPicture) {
        return;
      } else if (pair[1] == kDelta) {
        const Bytes move = Take(2);
        x_ += move[0];
        row_ += move[1];
        Require(x_ <= image_.width && row_ <= image_.height, kRunOutside);
      } else {
        PutLiteral(pair[1]);
      }
    }
  }

 private:
  Bytes Take(std::size_t count) {
    Require(Holds(stream_, at_, count), kTruncated);
    const Bytes taken = stream_.subspan(at_, count);
    at_ += count;
    return taken;
  }

  // The i-th index of the bytes, counted in nibbles for a 4-bit stream.
  std::uint32_t IndexIn(Bytes indices, int i) const {
    if (!nibbles_) return indices[std::size_t(i)];
    const std::uint8_t both = indices[std::size_t(i / 2)];
    return i % 2 == 0 ? both >> 4 : both & 0x0F;
  }

  // Pixels given one by one, padded to a whole 16-bit word.
  void PutLiteral(int count) {
    const std::size_t bytes = nibbles_ ? std::size_t(count + 1) / 2 : std::size_t(count);
    const Bytes indices = Take(bytes);
    Put(count, [&](int i) { return IndexIn(indices, i); });
    at_ += bytes % 2;
  }

  template <typename IndexOf>
  void Put(int count, IndexOf indexOf) {
    Require(row_ < image_.height && x_ + count <= image_.width, kRunOutside);
    // Rows are stored bottom-up.
    std::uint32_t* out = &image_.pixels[std::size_t((image_.height - 1 - row_) * image_.width + x_)];
    for (int i = 0; i < count; ++i) out[i] = PaletteColour(palette_, indexOf(i));
    x_ += count;
  }

  Bytes stream_;
  const std::vector<std::uint32_t>& palette_;
  bool nibbles_;
  BmpImage& image_;
  std::size_t at_ = 0;
  std::int64_t x_ = 0;
  std::int64_t row_ = 0;
};

BmpImage DecodeRuns(Bytes bytes, const Layout& layout) {
  const Bytes stream = bytes.subspan(layout.pixelsAt);
  const Header& header = layout.header;
  Require(header.width * header.height <= std::int64_t(stream.size()) * kMostPixelsPerRunByte, kTooLarge);
  // Pixels the stream skips take the palette's first colour, as in a fresh indexed bitmap
  // whose bytes are all zero (Qt leaves them unset).
  BmpImage image = NewImage(header, PaletteColour(layout.palette, 0));
  RunDecoder(stream, layout, image).Run();
  return image;
}

}  // namespace

BmpDecoding DecodeBmp(std::span<const std::uint8_t> bytes) {
  try {
    const Layout layout = ReadLayout(bytes);
    const bool runs = layout.header.compression == kRle8 || layout.header.compression == kRle4;
    return {runs ? DecodeRuns(bytes, layout) : DecodeRows(bytes, layout), {}};
  } catch (const Refused& refused) {
    return {std::nullopt, refused.reason};
  }
}

BmpDecoding ReadBmpFile(const std::filesystem::path& path) {
  std::error_code error;
  const std::optional<std::string> bytes = ReadFileBytes(path, error, kLargestBmpFileBytes);
  if (!bytes) return {std::nullopt, error == std::errc::file_too_large ? kFileTooLarge : kUnreadable};
  return DecodeBmp({reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()});
}

}  // namespace kelvara::platform
