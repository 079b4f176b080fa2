// The framework's binary archive, as chart documents and the aspect-table files
// store it: int32 and double little-endian, strings with a length prefix.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kelvara::platform {

// A stream that ends early or claims more than it holds.
class ArchiveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ArchiveWriter {
 public:
  void WriteInt32(std::int32_t value);
  void WriteDouble(double value);
  // A wide string: the UTF-8 text goes out as UTF-16LE behind the wide marker.
  void WriteString(std::string_view utf8);
  // A narrow string: the bytes (Windows-1251) go out as they are.
  void WriteNarrowString(std::string_view bytes);

  const std::string& Bytes() const { return bytes_; }

 private:
  void WriteLengthPrefix(std::uint64_t length);
  void WriteLittleEndian(std::uint64_t value, int byteCount);

  std::string bytes_;
};

// Reads from a buffer it does not own; every read past the end throws ArchiveError.
class ArchiveReader {
 public:
  explicit ArchiveReader(std::string_view bytes) : bytes_(bytes) {}

  std::int32_t ReadInt32();
  double ReadDouble();
  // Narrow strings are decoded from Windows-1251, wide ones from UTF-16LE; both come back as UTF-8.
  std::string ReadString();

  std::size_t Remaining() const { return bytes_.size() - position_; }
  bool AtEnd() const { return Remaining() == 0; }

 private:
  std::uint64_t ReadLittleEndian(int byteCount);
  std::string_view Take(std::uint64_t byteCount);

  std::string_view bytes_;
  std::size_t position_ = 0;
};

}  // namespace kelvara::platform
