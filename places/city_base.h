// The city base "IndexFile": cities with their positions and time-change lists,
// read once at start-up and kept for the program run.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara::places {

inline constexpr const char* kCityBaseFileName = "IndexFile";
inline constexpr int kMaxCityTextLength = 1000;
inline constexpr int kMaxTimeChanges = 9999;
inline constexpr int kTimeChangeEntryBytes = 14;

// One 14-byte entry of a city's time-change list, seven signed 16-bit numbers in
// file order. `zone` counts 4-second units, positive west of Greenwich.
struct TimeChangeEntry {
  int16_t year = 0;
  int16_t month = 0;
  int16_t day = 0;
  int16_t hour = 0;
  int16_t zone = 0;
  int16_t minute = 0;
  int16_t kind = 0;

  bool operator==(const TimeChangeEntry&) const = default;
};

using TimeChangeList = std::vector<TimeChangeEntry>;

// One city record. Texts are UTF-8 here (Windows-1251 in the file).
struct CityRecord {
  std::string firstText;
  std::string name;
  std::string suffix;
  std::string fourthText;
  double encodedX = 0.0;
  double encodedY = 0.0;
  int32_t reserved = 0;
  double zoneNumber = 0.0;
  // Cities of one zone carry identical lists, so the base keeps each list once.
  std::shared_ptr<const TimeChangeList> timeChanges;

  // The city name, a blank and the suffix, trimmed.
  std::string DisplayName() const;
  bool HasDisplayName(std::string_view wanted) const;
  double Longitude() const;  // degrees, east positive
  double Latitude() const;   // degrees, north positive
};

struct CityBase {
  std::vector<CityRecord> cities;
};

// kUnreadable: something stands in the file's place that is not a readable file (a folder,
// a FIFO, a device, no permission). An empty base counts as stopped at its first record.
enum class CityBaseStatus { kComplete, kMissing, kUnreadable, kStoppedAtInvalidRecord };

struct CityBaseLoad {
  CityBaseStatus status = CityBaseStatus::kMissing;
  std::string message;  // empty when the whole file was read or there is no file
};

// Decoding of field 5 of a record, clamped to the valid ranges.
double DecodeLongitude(double encodedX);
double DecodeLatitude(double encodedY);
double EncodeLongitude(double longitudeDeg);
double EncodeLatitude(double latitudeDeg);

// Reads the records until the end or the first invalid one; the cities read so
// far stay in `base`. A missing or unreadable file leaves the base empty.
CityBaseLoad LoadCityBase(const std::filesystem::path& file, CityBase& base);
CityBaseLoad ParseCityBase(std::string_view bytes, CityBase& base);

// Appends one record in the file format; texts are given in UTF-8.
void AppendCityRecord(const CityRecord& city, std::string& out);

}  // namespace kelvara::places
