#include "engine/ephemeris/ephemeris_check.h"

#include <array>
#include <charconv>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <utility>

namespace kelvara::engine {
namespace {

constexpr std::uint32_t kCastagnoliReflected = 0x82F63B78u;
constexpr std::size_t kReadBlock = 65536;

std::array<std::uint32_t, 256> CrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1u) ? (c >> 1) ^ kCastagnoliReflected : c >> 1;
    table[i] = c;
  }
  return table;
}

// The process-wide record of what was checked and what was refused.
struct CheckState {
  std::mutex mutex;
  std::map<std::string, bool> verdicts;  // by path
  std::set<std::string> reported;  // paths
  std::vector<std::string> pending;
};

CheckState& State() {
  static CheckState state;
  return state;
}

std::optional<ManifestEntry> ListedEntry(const std::string& dataPrefix, const std::string& name) {
  std::ifstream manifest(dataPrefix + kEphemerisManifest);
  for (std::string line; std::getline(manifest, line);) {
    if (const auto entry = ParseManifestLine(line); entry && entry->name == name) return entry;
  }
  return std::nullopt;
}

std::optional<ManifestEntry> EntryOfOpenFile(std::FILE* file, const std::string& name) {
  if (std::fseek(file, 0, SEEK_SET) != 0) return std::nullopt;
  ManifestEntry entry{name, 0, 0};
  std::vector<unsigned char> block(kReadBlock);
  for (std::size_t got; (got = std::fread(block.data(), 1, block.size(), file)) > 0;) {
    entry.crc = Crc32c(block.data(), got, entry.crc);
    entry.sizeBytes += static_cast<long long>(got);
  }
  if (std::ferror(file)) return std::nullopt;
  return entry;
}

}  // namespace

std::uint32_t Crc32c(const unsigned char* data, std::size_t size, std::uint32_t crc) {
  static const std::array<std::uint32_t, 256> table = CrcTable();
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFFu] ^ (crc >> 8);
  return ~crc;
}

std::string ManifestLine(const ManifestEntry& entry) {
  char crc[9];
  std::snprintf(crc, sizeof crc, "%08x", entry.crc);
  return std::string(crc) + " " + std::to_string(entry.sizeBytes) + " " + entry.name;
}

std::optional<ManifestEntry> ParseManifestLine(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
  const std::size_t first = line.find(' ');
  const std::size_t second = first == std::string_view::npos ? first : line.find(' ', first + 1);
  if (first != 8 || second == std::string_view::npos || second + 1 >= line.size()) return std::nullopt;
  ManifestEntry entry;
  const auto crc = std::from_chars(line.data(), line.data() + first, entry.crc, 16);
  const auto size = std::from_chars(line.data() + first + 1, line.data() + second, entry.sizeBytes);
  if (crc.ptr != line.data() + first || size.ptr != line.data() + second || entry.sizeBytes < 0) return std::nullopt;
  entry.name = std::string(line.substr(second + 1));
  return entry;
}

std::optional<ManifestEntry> EntryOfFile(const std::string& path, const std::string& name) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return std::nullopt;
  const auto entry = EntryOfOpenFile(file, name);
  std::fclose(file);
  return entry;
}

bool PassesManifest(std::FILE* file, const std::string& path, const std::string& name,
                    const std::string& dataPrefix) {
  {
    std::lock_guard lock(State().mutex);
    if (const auto known = State().verdicts.find(path); known != State().verdicts.end()) return known->second;
  }
  const auto listed = ListedEntry(dataPrefix, name);
  const auto actual = listed ? EntryOfOpenFile(file, name) : std::nullopt;
  const bool passes = !listed || (actual && *actual == *listed);
  {
    std::lock_guard lock(State().mutex);
    State().verdicts[path] = passes;
  }
  if (!passes) ReportDamagedEphemerisFile(path, name);
  return passes;
}

void ReportDamagedEphemerisFile(const std::string& path, const std::string& name) {
  std::lock_guard lock(State().mutex);
  if (State().reported.insert(path).second) State().pending.push_back(name);
}

std::vector<std::string> TakeDamagedEphemerisFiles() {
  std::lock_guard lock(State().mutex);
  return std::exchange(State().pending, {});
}

}  // namespace kelvara::engine
