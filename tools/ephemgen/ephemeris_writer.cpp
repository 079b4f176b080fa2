#include "tools/ephemgen/ephemeris_writer.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <string_view>

#include "engine/ephemeris/ephemeris_check.h"
#include "engine/ephemeris/ephemeris_files.h"
#include "platform/file_io.h"

namespace kelvara::tools {
namespace {

void AppendBigEndian(double value, std::vector<unsigned char>& bytes) {
  const double rounded = std::round(value);
  if (!(rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max())) {
    throw std::runtime_error("ephemeris value out of the 32-bit range");
  }
  const auto word = static_cast<std::uint32_t>(static_cast<std::int32_t>(rounded));
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<unsigned char>(word >> shift));
}

}  // namespace

std::vector<unsigned char> EncodeRecord(const std::vector<HeliocentricPlace>& places) {
  std::vector<unsigned char> bytes;
  for (const HeliocentricPlace& p : places) {
    // Rounding can reach a whole circle; that is the same place as zero.
    double units = std::round(engine::NormalizeDegrees(p.longitudeDeg) * engine::kLongitudeUnitsPerDegree);
    if (units >= 360.0 * engine::kLongitudeUnitsPerDegree) units = 0.0;
    AppendBigEndian(units, bytes);
    AppendBigEndian(p.latitudeDeg * engine::kLatitudeUnitsPerDegree, bytes);
    AppendBigEndian(p.radiusAu * engine::kRadiusUnitsPerAu, bytes);
  }
  return bytes;
}

void WriteEphemerisFile(const std::string& path, int set, int fileNumber, const SetPlaces& places) {
  std::vector<unsigned char> content;
  for (int k = 0; k < engine::RecordsPerFile(set); ++k) {
    const double julianDay = engine::kDaysPerEphemerisFile * fileNumber + engine::DaysPerRecord(set) * k + 0.5;
    const std::vector<HeliocentricPlace> bodies = places(julianDay);
    if (static_cast<int>(bodies.size()) != engine::BodiesInSet(set)) throw std::runtime_error("wrong number of bodies for the set");
    const std::vector<unsigned char> record = EncodeRecord(bodies);
    content.insert(content.end(), record.begin(), record.end());
  }
  const std::filesystem::path target(path);
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path());
  const std::string_view bytes(reinterpret_cast<const char*>(content.data()), content.size());
  if (!platform::WriteFileAtomically(target, bytes)) throw std::runtime_error("cannot write " + path);
}

void WriteManifest(const std::string& dataFolder, const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) {
    const auto entry = engine::EntryOfFile(dataFolder + name, name);
    if (!entry) throw std::runtime_error("cannot read " + dataFolder + name);
    text += engine::ManifestLine(*entry) + "\n";
  }
  if (!platform::WriteFileAtomically(dataFolder + engine::kEphemerisManifest, text)) {
    throw std::runtime_error(std::string("cannot write ") + dataFolder + engine::kEphemerisManifest);
  }
}

}  // namespace kelvara::tools
