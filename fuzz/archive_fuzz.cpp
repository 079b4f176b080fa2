// The framework's archive reader on any bytes: the first byte chooses which reads follow
// (two bits each, in turn), the rest is the stream. A read either throws ArchiveError or
// consumes bytes, and a string read back writes out and reads in again unchanged.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/archive.h"

namespace {

enum Read { kInt32, kDouble, kString };
constexpr int kBitsPerRead = 2;
constexpr int kReadMask = (1 << kBitsPerRead) - 1;  // 3 reads a string as well
constexpr int kReadsPerPattern = 4;

void CheckStringRoundTrip(const std::string& text) {
  kelvara::platform::ArchiveWriter writer;
  writer.WriteString(text);
  kelvara::platform::ArchiveReader again(writer.Bytes());
  kelvara::fuzz::Require(again.ReadString() == text && again.AtEnd(), "a string changed on its way");
}

void ReadOne(Read read, kelvara::platform::ArchiveReader& reader) {
  switch (read) {
    case kInt32: reader.ReadInt32(); break;
    case kDouble: reader.ReadDouble(); break;
    default: CheckStringRoundTrip(reader.ReadString()); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t pattern = data[0];
  kelvara::platform::ArchiveReader reader(kelvara::fuzz::Bytes(data + 1, size - 1));
  try {
    for (int n = 0; !reader.AtEnd(); ++n) {
      const int field = n % kReadsPerPattern;
      const auto read = static_cast<Read>((pattern >> (field * kBitsPerRead)) & kReadMask);
      const std::size_t before = reader.Remaining();
      ReadOne(read, reader);
      kelvara::fuzz::Require(reader.Remaining() < before, "a read that took nothing");
    }
  } catch (const kelvara::platform::ArchiveError&) {
  }
  return 0;
}
