#include "tools/citybase/tzif.h"

#include <stdexcept>

#include "platform/file_io.h"

namespace kelvara::citybase {
namespace {

constexpr std::string_view kMagic = "TZif";

struct Counts {
  uint32_t isUt, isStd, leap, time, type, chars;
};

class BigEndianReader {
 public:
  explicit BigEndianReader(std::string_view bytes) : bytes_(bytes) {}

  void Need(std::size_t count) const {
    if (bytes_.size() - at_ < count) throw std::runtime_error("TZif file is truncated");
  }

  uint64_t Unsigned(int width) {
    Need(width);
    uint64_t value = 0;
    for (int i = 0; i < width; ++i) value = value << 8 | static_cast<uint8_t>(bytes_[at_++]);
    return value;
  }

  int64_t Signed(int width) {
    const uint64_t raw = Unsigned(width);
    const int shift = 64 - 8 * width;
    return static_cast<int64_t>(raw << shift) >> shift;
  }

  std::string_view Take(std::size_t count) {
    Need(count);
    const std::string_view taken = bytes_.substr(at_, count);
    at_ += count;
    return taken;
  }

  std::string_view Rest() const { return bytes_.substr(at_); }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

char ReadHeader(BigEndianReader& reader, Counts& counts) {
  if (reader.Take(kMagic.size()) != kMagic) throw std::runtime_error("not a TZif file");
  const char version = reader.Take(1)[0];
  reader.Take(15);
  counts = {static_cast<uint32_t>(reader.Unsigned(4)), static_cast<uint32_t>(reader.Unsigned(4)),
            static_cast<uint32_t>(reader.Unsigned(4)), static_cast<uint32_t>(reader.Unsigned(4)),
            static_cast<uint32_t>(reader.Unsigned(4)), static_cast<uint32_t>(reader.Unsigned(4))};
  if (counts.type == 0) throw std::runtime_error("TZif file has no local time types");
  return version;
}

void SkipBlock(BigEndianReader& reader, const Counts& c, int timeBytes) {
  reader.Take(static_cast<std::size_t>(c.time) * (timeBytes + 1) + c.type * 6ull + c.chars +
              c.leap * (timeBytes + 4ull) + c.isStd + c.isUt);
}

TzifZone ReadBlock(BigEndianReader& reader, const Counts& c, int timeBytes) {
  TzifZone zone;
  for (uint32_t i = 0; i < c.time; ++i) zone.transitions.push_back(reader.Signed(timeBytes));
  for (uint32_t i = 0; i < c.time; ++i) {
    zone.transitionTypes.push_back(static_cast<uint8_t>(reader.Unsigned(1)));
    if (zone.transitionTypes.back() >= c.type) throw std::runtime_error("bad TZif type index");
  }
  std::vector<uint8_t> nameIndexes;
  for (uint32_t i = 0; i < c.type; ++i) {
    TzifType type;
    type.offsetSeconds = static_cast<int32_t>(reader.Signed(4));
    type.isDst = reader.Unsigned(1) != 0;
    nameIndexes.push_back(static_cast<uint8_t>(reader.Unsigned(1)));
    zone.types.push_back(type);
  }
  const std::string_view names = reader.Take(c.chars);
  for (uint32_t i = 0; i < c.type; ++i) {
    if (nameIndexes[i] >= names.size()) throw std::runtime_error("bad TZif abbreviation");
    const std::string_view rest = names.substr(nameIndexes[i]);
    zone.types[i].abbreviation = std::string(rest.substr(0, rest.find('\0')));
  }
  reader.Take(c.leap * (timeBytes + 4ull) + c.isStd + c.isUt);
  return zone;
}

std::string ReadFooter(std::string_view rest) {
  if (rest.size() < 2 || rest.front() != '\n') return {};
  const std::size_t end = rest.find('\n', 1);
  return end == std::string_view::npos ? std::string() : std::string(rest.substr(1, end - 1));
}

}  // namespace

TzifZone ParseTzif(std::string_view bytes) {
  BigEndianReader reader(bytes);
  Counts counts{};
  const char version = ReadHeader(reader, counts);
  if (version == '\0') return ReadBlock(reader, counts, 4);
  // Version 2 and later repeat the data with 64-bit times, then the footer rule.
  SkipBlock(reader, counts, 4);
  ReadHeader(reader, counts);
  TzifZone zone = ReadBlock(reader, counts, 8);
  zone.footer = ReadFooter(reader.Rest());
  return zone;
}

TzifZone ReadTzif(const std::filesystem::path& file) {
  const auto bytes = platform::ReadFileBytes(file);
  if (!bytes) throw std::runtime_error("cannot read " + file.string());
  return ParseTzif(*bytes);
}

}  // namespace kelvara::citybase
