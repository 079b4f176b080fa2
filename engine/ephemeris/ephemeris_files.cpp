#include "engine/ephemeris/ephemeris_files.h"

#include "engine/ephemeris/ephemeris_check.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <vector>

namespace kelvara::engine {
namespace {

constexpr int kFirstFixedFile = 17;
constexpr int kLastFixedFile = 24;
constexpr int kBytesPerValue = 4;  // big-endian signed 32-bit integers
constexpr double kMaxLongitudeUnits = 360.0 * kLongitudeUnitsPerDegree;
constexpr double kMaxLatitudeUnits = 90.0 * kLatitudeUnitsPerDegree;

std::string FixedFilePath(int set, int fileNumber, const std::string& dataPrefix) {
  const std::string s = std::to_string(set);
  switch (fileNumber) {
    case 17: return "Bmp_pl\\Tr\\idx" + s + ".tr";
    case 18: return "Bmp_pl\\Set2\\idx" + s + ".p2";
    case 19: return "Bmp_pl\\Set1\\idx" + s + ".p" + s;
    case 20: return "Bmp_pl\\Pr\\idx" + s + ".pr";
    case 21: return "Bmp_pl\\Dr\\idx" + s + ".dr";
    case 22: return "Bmp_as\\Set2\\idx" + s + ".a2";
    case 23: return "Bmp_as\\Set1\\idx" + s + ".a" + s;
    default: return dataPrefix + s + ".st";
  }
}

std::int32_t BigEndianInt32(const unsigned char* bytes) {
  const std::uint32_t value = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
                              (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
  return static_cast<std::int32_t>(value);
}

long FileSize(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) return -1;
  return std::ftell(file);
}

bool InRange(const std::array<std::int32_t, kMaxBodiesPerSet * kValuesPerBody>& record, int bodies) {
  for (int b = 0; b < bodies; ++b) {
    const double longitude = record[b * kValuesPerBody];
    const double latitude = record[b * kValuesPerBody + 1];
    const double radius = record[b * kValuesPerBody + 2];
    if (longitude < 0.0 || longitude >= kMaxLongitudeUnits || std::fabs(latitude) > kMaxLatitudeUnits ||
        radius <= 0.0) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool Continuous(const std::array<std::int32_t, kMaxBodiesPerSet * kValuesPerBody>& before,
                const std::array<std::int32_t, kMaxBodiesPerSet * kValuesPerBody>& after, int bodies) {
  for (int b = 0; b < bodies; ++b) {
    const int at = b * kValuesPerBody;
    const double longitude = std::remainder((after[at] - static_cast<double>(before[at])) / kLongitudeUnitsPerDegree, 360.0);
    const double latitude = (after[at + 1] - static_cast<double>(before[at + 1])) / kLatitudeUnitsPerDegree;
    const double radius = std::fabs(after[at + 2] - static_cast<double>(before[at + 2])) / before[at + 2];
    if (std::fabs(longitude) > kMaxStepLongitudeDeg || std::fabs(latitude) > kMaxStepLatitudeDeg ||
        radius > kMaxStepRadiusRatio) {
      return false;
    }
  }
  return true;
}

std::optional<FileBodySlot> FileSlotOfBody(int body) {
  // Fourth differences for Jupiter and Saturn, and for Chiron and the asteroids, whose
  // eccentric orbits second differences would follow only to 0.1" and arcminutes.
  if (body >= 5 && body <= 9) return FileBodySlot{1, body - 5, body == 5 || body == 6};
  if (body == 12) return FileBodySlot{2, 0, true};
  if (body >= 14 && body <= 17) return FileBodySlot{3, body - 14, true};
  return std::nullopt;
}

int BodiesInSet(int set) { return set == 1 ? 5 : set == 2 ? 1 : 4; }

int RecordBytes(int set) { return BodiesInSet(set) * kValuesPerBody * kBytesPerValue; }

double DaysPerRecord(int set) { return set == 3 ? kAsteroidDaysPerRecord : kDaysPerRecord; }

int RecordsPerFile(int set) { return static_cast<int>(kDaysPerEphemerisFile / DaysPerRecord(set)); }

int EphemerisFileNumber(double julianDay) {
  const double number = std::floor(julianDay / kDaysPerEphemerisFile);
  // Days no file could hold (NaN, or beyond the range of file numbers) get no file.
  if (!(std::fabs(number) < std::numeric_limits<int>::max() / 2)) return kNoEphemerisFile;
  return static_cast<int>(number);
}

std::string EphemerisFilePath(int set, int fileNumber, const std::string& dataPrefix) {
  // Only the positive numbers have fixed names; negative ones keep "_M<n>" so that days before
  // the era never read a file of the present.
  if (fileNumber >= kFirstFixedFile && fileNumber <= kLastFixedFile) return FixedFilePath(set, fileNumber, dataPrefix);
  // The plain names would be the same for all three sets, so that one set's file would stand
  // in for another's; sets 2 and 3 add their number.
  const std::string digits = std::to_string(std::abs(fileNumber));
  const std::string name = fileNumber < 0 ? "_M" + digits : "_" + digits;
  return set == 1 ? name : name + "." + std::to_string(set);
}

namespace {

// A difference of longitudes folded into -180..180: within that already, as between
// neighbouring records, it is its own remainder.
double WrapDegrees(double degrees) {
  return std::fabs(degrees) <= 180.0 ? degrees : std::remainder(degrees, 360.0);
}

// Only a regular file is opened: the open of a FIFO or device would wait for ever, and a
// folder opens but reads nothing.
std::FILE* OpenRegular(const std::string& path, const char* mode) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(path, ignored) ? std::fopen(path.c_str(), mode) : nullptr;
}

// A path the user wrote out (absolute, or with this system's separator) names its file; the
// engine's own bare or handheld-style names belong to the data folder.
bool NamesItsFile(const std::string& path) {
  return path.find('/') != std::string::npos || std::filesystem::path(path).is_absolute();
}

}  // namespace

std::FILE* OpenDataFile(const std::string& path, const std::string& dataPrefix, const char* mode,
                        std::string* openedPath) {
  const bool explicitPath = NamesItsFile(path);
  std::string local = path;
  std::replace(local.begin(), local.end(), '\\', '/');
  const std::string first = explicitPath || dataPrefix.empty() ? local : dataPrefix + local;
  std::vector<std::string> candidates{first};
  if (!dataPrefix.empty()) candidates.push_back(explicitPath ? dataPrefix + local : local);
  for (const std::string& candidate : candidates) {
    if (std::FILE* file = OpenRegular(candidate, mode)) {
      if (openedPath) *openedPath = candidate;
      return file;
    }
  }
  return nullptr;
}

void EphemerisSetFile::Close() {
  if (handle_ != nullptr) std::fclose(handle_);
  handle_ = nullptr;
  fileNumber_ = kNoEphemerisFile;
}

bool EphemerisSetFile::Open(int set, int fileNumber, const std::string& dataPrefix) {
  Close();
  std::string path;
  std::FILE* file = OpenDataFile(EphemerisFilePath(set, fileNumber, dataPrefix), dataPrefix, "rb", &path);
  if (file == nullptr) return false;
  const bool ours = !dataPrefix.empty() && path.rfind(dataPrefix, 0) == 0;
  const std::string name = ours ? path.substr(dataPrefix.size()) : path;
  // A file of another length is truncated or foreign: none of its records can be trusted.
  const bool whole = FileSize(file) == static_cast<long>(RecordsPerFile(set)) * RecordBytes(set);
  if (!whole) ReportDamagedEphemerisFile(path, name);
  if (!whole || (ours && !PassesManifest(file, path, name, dataPrefix))) {
    std::fclose(file);
    return false;
  }
  name_ = name;
  path_ = path;
  handle_ = file;
  fileNumber_ = fileNumber;
  return true;
}

int ReadEphemerisRecord(int set, double julianDay, EphemerisSetFile& file, const std::string& dataPrefix) {
  const int fileNumber = EphemerisFileNumber(julianDay);
  if (set < 1 || set > 3 || fileNumber == kNoEphemerisFile) return -1;
  if (file.fileNumber() != fileNumber && !file.Open(set, fileNumber, dataPrefix)) return -1;
  const double recordIndex = std::floor((julianDay - kDaysPerEphemerisFile * fileNumber) / DaysPerRecord(set));
  if (recordIndex < 0 || recordIndex >= RecordsPerFile(set)) return -1;
  const long offset = static_cast<long>(recordIndex) * RecordBytes(set);
  return std::fseek(file.handle(), offset, SEEK_SET) == 0 ? 0 : -1;
}

Interpolated EverettInterpolate(const std::array<double, kWindowRecords>& f, double p, bool fourthDifferences) {
  // Everett's formula (e.g. Explanatory Supplement to the Astronomical Almanac, 1961, ch. 14).
  const double q = 1.0 - p;
  const double second0 = f[3] - 2.0 * f[2] + f[1];
  const double second1 = f[4] - 2.0 * f[3] + f[2];
  const double fourth0 = fourthDifferences ? f[4] - 4.0 * f[3] + 6.0 * f[2] - 4.0 * f[1] + f[0] : 0.0;
  const double fourth1 = fourthDifferences ? f[5] - 4.0 * f[4] + 6.0 * f[3] - 4.0 * f[2] + f[1] : 0.0;
  const auto e2 = [](double x) { return x * (x * x - 1.0) / 6.0; };
  const auto e4 = [](double x) { return x * (x * x - 1.0) * (x * x - 4.0) / 120.0; };
  const auto e2Rate = [](double x) { return (3.0 * x * x - 1.0) / 6.0; };
  const auto e4Rate = [](double x) { return (5.0 * x * x * x * x - 15.0 * x * x + 4.0) / 120.0; };
  Interpolated result;
  result.value = q * f[2] + e2(q) * second0 + e4(q) * fourth0 + p * f[3] + e2(p) * second1 + e4(p) * fourth1;
  result.ratePerStep = -f[2] - e2Rate(q) * second0 - e4Rate(q) * fourth0 + f[3] + e2Rate(p) * second1 +
                       e4Rate(p) * fourth1;
  return result;
}

bool EphemerisFileReader::DecodeRecord(int set, const unsigned char* bytes, Record& record) {
  const std::size_t size = static_cast<std::size_t>(RecordBytes(set));
  record.fill(0);
  for (std::size_t i = 0; i < size / kBytesPerValue; ++i) record[i] = BigEndianInt32(bytes + kBytesPerValue * i);
  return InRange(record, BodiesInSet(set));
}

bool EphemerisFileReader::ReadRecord(int set, double julianDay, const std::string& dataPrefix, Record& record) {
  SetCache& cache = sets_[set - 1];
  if (ReadEphemerisRecord(set, julianDay, cache.file, dataPrefix) != 0) return false;
  unsigned char bytes[kMaxBodiesPerSet * kValuesPerBody * kBytesPerValue];
  const std::size_t size = static_cast<std::size_t>(RecordBytes(set));
  if (std::fread(bytes, 1, size, cache.file.handle()) != size) return false;
  if (DecodeRecord(set, bytes, record)) return true;
  ReportDamagedEphemerisFile(cache.file.path(), cache.file.name());
  return false;
}

// The six records of a window lie one after another when the window stays inside the file
// already open: one seek and one read instead of six of each. Anything else (opening a file,
// a short read, a damaged record) is left to the record-by-record reading, which tells the
// failures apart and reports them.
bool EphemerisFileReader::ReadWindowAtOnce(int set, double blockStart, const std::string& dataPrefix) {
  const double spacing = DaysPerRecord(set);
  const double first = blockStart - 2 * spacing, last = blockStart + (kWindowRecords - 3) * spacing;
  const int fileNumber = EphemerisFileNumber(first);
  if (fileNumber == kNoEphemerisFile || fileNumber != EphemerisFileNumber(last)) return false;
  const double firstIndex = std::floor((first - kDaysPerEphemerisFile * fileNumber) / spacing);
  const double lastIndex = std::floor((last - kDaysPerEphemerisFile * fileNumber) / spacing);
  if (lastIndex - firstIndex != kWindowRecords - 1) return false;
  SetCache& cache = sets_[set - 1];
  if (cache.file.fileNumber() != fileNumber) return false;
  if (ReadEphemerisRecord(set, first, cache.file, dataPrefix) != 0) return false;
  unsigned char bytes[kWindowRecords * kMaxBodiesPerSet * kValuesPerBody * kBytesPerValue];
  const std::size_t size = static_cast<std::size_t>(RecordBytes(set));
  if (std::fread(bytes, 1, kWindowRecords * size, cache.file.handle()) != kWindowRecords * size) return false;
  for (int k = 0; k < kWindowRecords; ++k) {
    if (!DecodeRecord(set, bytes + k * size, cache.window[k])) return false;
    if (k > 0 && !Continuous(cache.window[k - 1], cache.window[k], BodiesInSet(set))) return false;
  }
  return true;
}

bool EphemerisFileReader::LoadWindow(int set, double blockStart, const std::string& dataPrefix) {
  SetCache& cache = sets_[set - 1];
  cache.windowValid = false;
  if (ReadWindowAtOnce(set, blockStart, dataPrefix)) {
    cache.blockStart = blockStart;
    cache.windowValid = true;
    return true;
  }
  for (int k = 0; k < kWindowRecords; ++k) {
    if (!ReadRecord(set, blockStart + (k - 2) * DaysPerRecord(set), dataPrefix, cache.window[k])) return false;
    if (k > 0 && !Continuous(cache.window[k - 1], cache.window[k], BodiesInSet(set))) {
      ReportDamagedEphemerisFile(cache.file.path(), cache.file.name());
      return false;
    }
  }
  cache.blockStart = blockStart;
  cache.windowValid = true;
  return true;
}

bool EphemerisFileReader::Heliocentric(int body, double julianDayTt, const std::string& dataPrefix,
                                       SphericalState& place) {
  const std::optional<FileBodySlot> slot = FileSlotOfBody(body);
  if (!slot || !std::isfinite(julianDayTt)) return false;
  if (dataPrefix != dataPrefix_) {
    for (SetCache& cache : sets_) {
      cache.file.Close();
      cache.windowValid = false;
    }
    dataPrefix_ = dataPrefix;
  }
  const double spacing = DaysPerRecord(slot->set);
  const double blockStart = std::floor((julianDayTt - 0.5) / spacing) * spacing + 0.5;
  SetCache& cache = sets_[slot->set - 1];
  if (!(cache.windowValid && cache.blockStart == blockStart) && !LoadWindow(slot->set, blockStart, dataPrefix)) {
    return false;
  }
  const double p = (julianDayTt - blockStart) / spacing;
  const auto interpolate = [&](int value, double unitsPerQuantity, bool unwrapDegrees) {
    std::array<double, kWindowRecords> samples;
    for (int k = 0; k < kWindowRecords; ++k) samples[k] = cache.window[k][slot->index * kValuesPerBody + value] / unitsPerQuantity;
    if (unwrapDegrees) {
      for (int k = 0; k < kWindowRecords; ++k) samples[k] = samples[2] + WrapDegrees(samples[k] - samples[2]);
    }
    return EverettInterpolate(samples, p, slot->fourthDifferences);
  };
  const Interpolated longitude = interpolate(0, kLongitudeUnitsPerDegree, true);
  const Interpolated latitude = interpolate(1, kLatitudeUnitsPerDegree, false);
  const Interpolated radius = interpolate(2, kRadiusUnitsPerAu, false);
  place = {longitude.value * kDegToRad, latitude.value * kDegToRad, radius.value,
           longitude.ratePerStep / spacing * kDegToRad, latitude.ratePerStep / spacing * kDegToRad,
           radius.ratePerStep / spacing};
  return true;
}

}  // namespace kelvara::engine
