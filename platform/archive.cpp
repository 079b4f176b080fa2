#include "platform/archive.h"

#include <bit>
#include <limits>
#include <optional>

#include "platform/codepage.h"

namespace kelvara::platform {
namespace {

// The length prefix escapes: a byte of 0xFF announces a 16-bit length, a 16-bit
// 0xFFFF a 32-bit length, a 32-bit 0xFFFFFFFF a 64-bit length; a 16-bit 0xFFFE
// in place of a length marks a wide string whose own prefix follows.
constexpr std::uint64_t kByteEscape = 0xFF;
constexpr std::uint64_t kWordEscape = 0xFFFF;
constexpr std::uint64_t kWideMarker = 0xFFFE;
constexpr std::uint64_t kDwordEscape = 0xFFFFFFFF;

}  // namespace

void ArchiveWriter::WriteLittleEndian(std::uint64_t value, int byteCount) {
  for (int i = 0; i < byteCount; ++i) bytes_.push_back(char((value >> (8 * i)) & 0xFF));
}

void ArchiveWriter::WriteInt32(std::int32_t value) { WriteLittleEndian(std::uint32_t(value), 4); }

void ArchiveWriter::WriteDouble(double value) { WriteLittleEndian(std::bit_cast<std::uint64_t>(value), 8); }

void ArchiveWriter::WriteLengthPrefix(std::uint64_t length) {
  if (length < kByteEscape) {
    WriteLittleEndian(length, 1);
    return;
  }
  WriteLittleEndian(kByteEscape, 1);
  if (length < kWideMarker) {
    WriteLittleEndian(length, 2);
    return;
  }
  WriteLittleEndian(kWordEscape, 2);
  if (length < kDwordEscape) {
    WriteLittleEndian(length, 4);
    return;
  }
  WriteLittleEndian(kDwordEscape, 4);
  WriteLittleEndian(length, 8);
}

void ArchiveWriter::WriteString(std::string_view utf8) {
  const std::u16string units = Utf8ToUtf16(utf8);
  WriteLittleEndian(kByteEscape, 1);
  WriteLittleEndian(kWideMarker, 2);
  WriteLengthPrefix(units.size());
  bytes_ += Utf16ToLeBytes(units);
}

void ArchiveWriter::WriteNarrowString(std::string_view bytes) {
  WriteLengthPrefix(bytes.size());
  bytes_ += bytes;
}

std::string_view ArchiveReader::Take(std::uint64_t byteCount) {
  if (byteCount > Remaining()) {
    throw ArchiveError("archive ends early: " + std::to_string(byteCount) + " bytes wanted, " +
                       std::to_string(Remaining()) + " left at offset " + std::to_string(position_));
  }
  const std::string_view piece = bytes_.substr(position_, std::size_t(byteCount));
  position_ += std::size_t(byteCount);
  return piece;
}

std::uint64_t ArchiveReader::ReadLittleEndian(int byteCount) {
  const std::string_view piece = Take(std::uint64_t(byteCount));
  std::uint64_t value = 0;
  for (int i = byteCount - 1; i >= 0; --i) value = (value << 8) | std::uint8_t(piece[i]);
  return value;
}

std::int32_t ArchiveReader::ReadInt32() { return std::int32_t(std::uint32_t(ReadLittleEndian(4))); }

double ArchiveReader::ReadDouble() { return std::bit_cast<double>(ReadLittleEndian(8)); }

std::string ArchiveReader::ReadString() {
  // The length prefix as WriteLengthPrefix writes it; nothing for the wide marker.
  const auto readLength = [this]() -> std::optional<std::uint64_t> {
    const std::uint64_t byte = ReadLittleEndian(1);
    if (byte != kByteEscape) return byte;
    const std::uint64_t word = ReadLittleEndian(2);
    if (word == kWideMarker) return std::nullopt;
    if (word != kWordEscape) return word;
    const std::uint64_t dword = ReadLittleEndian(4);
    return dword != kDwordEscape ? dword : ReadLittleEndian(8);
  };
  std::optional<std::uint64_t> prefix = readLength();
  const bool wide = !prefix;
  if (wide) prefix = readLength();
  if (!prefix) throw ArchiveError("archive string has a second wide marker");
  const std::uint64_t length = *prefix;
  // Take() checks the byte count against what is left before anything is allocated.
  if (!wide) return Cp1251ToUtf8(Take(length));
  if (length > std::numeric_limits<std::uint64_t>::max() / 2) {
    throw ArchiveError("archive string length out of range");
  }
  return Utf16ToUtf8(LeBytesToUtf16(Take(length * 2)));
}

}  // namespace kelvara::platform
