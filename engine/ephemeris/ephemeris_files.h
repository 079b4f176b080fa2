// Binary ephemeris files: three sets of 100 000-day files with one record per 80 days.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "engine/ephemeris/geometry.h"

namespace kelvara::engine {

inline constexpr int kNoEphemerisFile = -10000;
inline constexpr double kDaysPerEphemerisFile = 100000.0;
inline constexpr double kDaysPerRecord = 80.0;   // sets 1 and 2
inline constexpr int kRecordsPerFile = 1250;
// The asteroids of set 3 move too fast for 80-day records: interpolated over six records their
// places would be off by up to 5 arcminutes (Pallas), against 0.04" with records every 16 days.
inline constexpr double kAsteroidDaysPerRecord = 16.0;
inline constexpr int kValuesPerBody = 3;          // longitude, latitude, radius vector
inline constexpr double kLongitudeUnitsPerDegree = 3600000.0;
inline constexpr double kLatitudeUnitsPerDegree = 1.0e7;
inline constexpr double kRadiusUnitsPerAu = 1.0e7;
inline constexpr int kWindowRecords = 6;          // blocks B-160 ... B+240
inline constexpr int kMaxBodiesPerSet = 5;

// Where a body of the layer lives in the files.
struct FileBodySlot {
  int set;               // 1, 2 or 3
  int index;             // position of the body within a record
  bool fourthDifferences;
};

// Set 1: Jupiter...Pluto (5-9); set 2: Chiron (12); set 3: Ceres...Vesta (14-17).
std::optional<FileBodySlot> FileSlotOfBody(int body);
int BodiesInSet(int set);
int RecordBytes(int set);
double DaysPerRecord(int set);
int RecordsPerFile(int set);

// File number of a day: floor(JD / 100 000); kNoEphemerisFile for NaN and absurd days.
int EphemerisFileNumber(double julianDay);

// Path of a set's file: "_<n>" / "_M<n>" (sets 2 and 3 add ".2" / ".3"), or the fixed names of
// the files 17 to 24.
std::string EphemerisFilePath(int set, int fileNumber, const std::string& dataPrefix);

// Opens a data file, regular files only. The engine's own names (bare, or with the handheld's
// backslashes) are tried under dataPrefix first, then as given, so that a file of that name
// in the current directory never replaces the program's own; a path written with '/' or
// absolute is tried as given first. Backslashes are read as directory separators.
// `openedPath`, when given, receives the path of the file that was opened.
std::FILE* OpenDataFile(const std::string& path, const std::string& dataPrefix, const char* mode = "rb",
                        std::string* openedPath = nullptr);

// The one open file of a set.
// Consecutive records of a body may not move it further than any body of the set can go in
// one record spacing: a jump beyond is a damaged record.
inline constexpr double kMaxStepLongitudeDeg = 12.0;
inline constexpr double kMaxStepLatitudeDeg = 8.0;
inline constexpr double kMaxStepRadiusRatio = 0.1;

// Whether a body's consecutive records (longitude, latitude, radius of each body) stay within
// those steps.
bool Continuous(const std::array<std::int32_t, kMaxBodiesPerSet * kValuesPerBody>& before,
                const std::array<std::int32_t, kMaxBodiesPerSet * kValuesPerBody>& after, int bodies);

// The set's file; a file of the wrong size or one that fails the data folder's manifest is
// refused (and reported) as though it were missing.
class EphemerisSetFile {
 public:
  EphemerisSetFile() = default;
  EphemerisSetFile(const EphemerisSetFile&) = delete;
  EphemerisSetFile& operator=(const EphemerisSetFile&) = delete;
  ~EphemerisSetFile() { Close(); }

  void Close();
  bool Open(int set, int fileNumber, const std::string& dataPrefix);
  std::FILE* handle() const { return handle_; }
  int fileNumber() const { return fileNumber_; }
  // As the messages name it: relative to the data folder for the program's own files.
  const std::string& name() const { return name_; }
  const std::string& path() const { return path_; }

 private:
  std::FILE* handle_ = nullptr;
  std::string name_;
  std::string path_;
  int fileNumber_ = kNoEphemerisFile;
};

// Positions the set's file at the record of the block holding julianDay, opening the
// right file first. 0 on success, -1 when the file is missing, has the wrong size, or the
// seek fails.
int ReadEphemerisRecord(int set, double julianDay, EphemerisSetFile& file, const std::string& dataPrefix);

// Everett's central-difference interpolation between samples[2] and samples[3] (samples at
// -2..3 steps) at fraction p of a step; second differences, optionally fourth.
struct Interpolated {
  double value;
  double ratePerStep;
};
Interpolated EverettInterpolate(const std::array<double, kWindowRecords>& samples, double p, bool fourthDifferences);

// Reads and interpolates the files, keeping per set the open file and the six-record window.
class EphemerisFileReader {
 public:
  // Heliocentric L, B (rad), R (au) with rates per day at a TT Julian day; false when the file is
  // missing, truncated or holds values out of range.
  bool Heliocentric(int body, double julianDayTt, const std::string& dataPrefix, SphericalState& place);

 private:
  using Record = std::array<std::int32_t, kMaxBodiesPerSet * kValuesPerBody>;
  struct SetCache {
    EphemerisSetFile file;
    bool windowValid = false;
    double blockStart = 0.0;
    std::array<Record, kWindowRecords> window{};
  };
  bool LoadWindow(int set, double blockStart, const std::string& dataPrefix);
  bool ReadWindowAtOnce(int set, double blockStart, const std::string& dataPrefix);
  bool ReadRecord(int set, double julianDay, const std::string& dataPrefix, Record& record);
  // False when a value is out of range.
  static bool DecodeRecord(int set, const unsigned char* bytes, Record& record);

  std::array<SetCache, 3> sets_;
  std::string dataPrefix_;
};

}  // namespace kelvara::engine
