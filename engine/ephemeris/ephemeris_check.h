// What keeps a damaged ephemeris file from giving wrong places without a word: the
// manifest of the program's own files (size and CRC-32C of each, checked once per file
// and process), and the list of files refused since the front-end last asked.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara::engine {

// Beside the files in the data folder; one line per file: "<crc32c hex> <size> <name>",
// the name relative to the data folder with '/' separators.
inline constexpr const char* kEphemerisManifest = "ephemeris.crc";

// CRC-32C (Castagnoli, reflected polynomial 0x82F63B78), as iSCSI and ext4 use it.
std::uint32_t Crc32c(const unsigned char* data, std::size_t size, std::uint32_t crc = 0);

struct ManifestEntry {
  std::string name;
  long long sizeBytes = 0;
  std::uint32_t crc = 0;
  friend bool operator==(const ManifestEntry&, const ManifestEntry&) = default;
};

std::string ManifestLine(const ManifestEntry& entry);
// None for a line that is not one of ours (too short, bad numbers).
std::optional<ManifestEntry> ParseManifestLine(std::string_view line);

// The entry of a file as it is on disk; none when it cannot be read.
std::optional<ManifestEntry> EntryOfFile(const std::string& path, const std::string& name);

// True when the file (open, of the program's data folder, named relative to it) is not in
// the folder's manifest or matches its entry. Each path is checked once per process; a
// file that fails is reported once.
bool PassesManifest(std::FILE* file, const std::string& path, const std::string& name,
                    const std::string& dataPrefix);

// Marks the file at `path` as damaged, told by `name` (once per path); the names reported
// since the last call.
void ReportDamagedEphemerisFile(const std::string& path, const std::string& name);
std::vector<std::string> TakeDamagedEphemerisFiles();

}  // namespace kelvara::engine
