// The manifest of the ephemeris files, the continuity of their records, and the report of
// refused files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include <unistd.h>

#include "engine/ephemeris/ephemeris_check.h"
#include "engine/ephemeris/ephemeris_files.h"

namespace kelvara::engine {
namespace {

namespace fs = std::filesystem;
const fs::path kShippedData = fs::path(KELVARA_SOURCE_DIR) / "data";

// A data folder of its own per test: verdicts are kept per path for the process.
struct DataCopy {
  explicit DataCopy(const std::string& name) : tag(name) {
    fs::create_directories(path);
    for (const char* file : {"1.st", kEphemerisManifest}) fs::copy_file(kShippedData / file, path / file);
  }
  ~DataCopy() { fs::remove_all(path); }
  void FlipBit(const std::string& name, long offset, int bit) {
    std::fstream file(path / name, std::ios::in | std::ios::out | std::ios::binary);
    file.seekg(offset);
    char byte = 0;
    file.get(byte);
    file.seekp(offset);
    file.put(static_cast<char>(byte ^ (1 << bit)));
  }
  std::string tag;
  const fs::path path = fs::temp_directory_path() / ("kelvara_check_" + std::to_string(::getpid()) + "_" + tag);
  const std::string prefix = path.string() + "/";
};

constexpr double kJuly1985 = 2446258.5;  // in file 24, "1.st"

bool JupiterReads(const DataCopy& data) {
  EphemerisFileReader reader;
  SphericalState place;
  return reader.Heliocentric(5, kJuly1985, data.prefix, place);
}

TEST(EphemerisCheck, Crc32cAndManifestLines) {
  const std::string check = "123456789";
  EXPECT_EQ(Crc32c(reinterpret_cast<const unsigned char*>(check.data()), check.size()), 0xE3069283u);
  const ManifestEntry entry{"Bmp_as/Set1/idx1.a1", 75000, 0x0000beefu};
  EXPECT_EQ(ManifestLine(entry), "0000beef 75000 Bmp_as/Set1/idx1.a1");
  EXPECT_EQ(ParseManifestLine(ManifestLine(entry) + "\r"), entry);
  for (const char* bad : {"", "beef 1 x", "0000beef x 1.st", "0000beef 12", "0000beeg 1 1.st", "0000beef -3 1.st"}) {
    EXPECT_FALSE(ParseManifestLine(bad)) << bad;
  }
}

TEST(EphemerisCheck, TheShippedFilesMatchTheirManifest) {
  std::ifstream manifest(kShippedData / kEphemerisManifest);
  int entries = 0;
  for (std::string line; std::getline(manifest, line); ++entries) {
    const auto listed = ParseManifestLine(line);
    ASSERT_TRUE(listed) << line;
    EXPECT_EQ(EntryOfFile((kShippedData / listed->name).string(), listed->name), listed) << line;
  }
  EXPECT_EQ(entries, 9);
}

// The jump limits leave every record of the shipped files, across their file borders.
TEST(EphemerisCheck, TheShippedFilesReadWholeWithoutAReport) {
  TakeDamagedEphemerisFiles();
  EphemerisFileReader reader;
  SphericalState place;
  const std::string prefix = (kShippedData / "").string();
  for (int body : {5, 6, 7, 8, 9, 12, 14, 15, 16, 17}) {
    for (double jd = 2300000.5 + 400.0; jd < 2600000.0 - 400.0; jd += 8.0) {
      ASSERT_TRUE(reader.Heliocentric(body, jd, prefix, place)) << body << " " << jd;
    }
  }
  EXPECT_TRUE(TakeDamagedEphemerisFiles().empty());
}

TEST(EphemerisCheck, AFlippedBitRefusesTheFileAndIsReportedOnce) {
  TakeDamagedEphemerisFiles();
  DataCopy whole("whole");
  EXPECT_TRUE(JupiterReads(whole));
  EXPECT_TRUE(TakeDamagedEphemerisFiles().empty());
  DataCopy flipped("flipped");
  flipped.FlipBit("1.st", 34628, 3);
  EXPECT_FALSE(JupiterReads(flipped));
  EXPECT_FALSE(JupiterReads(flipped));
  EXPECT_EQ(TakeDamagedEphemerisFiles(), std::vector<std::string>{"1.st"});
  EXPECT_TRUE(TakeDamagedEphemerisFiles().empty());
}

// A file the manifest does not list (a user's own) is read, but a record that jumps
// further than a body can go is refused.
TEST(EphemerisCheck, UnlistedFilesAreCheckedForJumps) {
  TakeDamagedEphemerisFiles();
  DataCopy unlisted("unlisted");
  fs::remove(unlisted.path / kEphemerisManifest);
  EXPECT_TRUE(JupiterReads(unlisted));
  DataCopy jumping("jumping");
  fs::remove(jumping.path / kEphemerisManifest);
  const long record = static_cast<long>((kJuly1985 - 2400000.5) / kDaysPerRecord);
  jumping.FlipBit("1.st", record * RecordBytes(1), 6);  // the top byte of Jupiter's longitude
  EXPECT_FALSE(JupiterReads(jumping));
  EXPECT_EQ(TakeDamagedEphemerisFiles(), std::vector<std::string>{"1.st"});
}

// Seeded damage to the program's files: every place read is the true one within 1" or
// refused, never silently wrong.
TEST(EphemerisCheck, DamagedShippedFilesNeverGiveWrongPlaces) {
  constexpr double kArcsecRad = 4.84813681109536e-6;
  constexpr int kCases = 300;
  const std::string shipped = (kShippedData / "").string();
  const std::vector<std::pair<std::string, std::vector<int>>> files = {
      {"1.st", {5, 6, 7, 8, 9}}, {"2.st", {12}}, {"3.st", {14, 15, 16, 17}}};
  const double days[] = {2400200.5, 2446258.5, 2499700.5};
  std::mt19937 random(34628);
  int refused = 0;
  for (int c = 0; c < kCases; ++c) {
    const auto& [name, bodies] = files[c % files.size()];
    DataCopy damaged("mutation" + std::to_string(c));
    fs::copy_file(kShippedData / name, damaged.path / name, fs::copy_options::overwrite_existing);
    const long size = static_cast<long>(fs::file_size(damaged.path / name));
    const long offset = static_cast<long>(random() % static_cast<unsigned>(size - 4));
    switch (c / 3 % 3) {
      case 0: damaged.FlipBit(name, offset, static_cast<int>(random() % 8)); break;
      case 1: for (int i = 0; i < 4; ++i) damaged.FlipBit(name, offset + i, static_cast<int>(random() % 8)); break;
      default: fs::resize_file(damaged.path / name, static_cast<std::uintmax_t>(offset)); break;
    }
    EphemerisFileReader reference, reader;
    for (int body : bodies) {
      for (double jd : days) {
        SphericalState truth, read;
        ASSERT_TRUE(reference.Heliocentric(body, jd, shipped, truth));
        if (!reader.Heliocentric(body, jd, damaged.prefix, read)) {
          ++refused;
          continue;
        }
        EXPECT_NEAR(read.longitudeRad, truth.longitudeRad, kArcsecRad) << name << " case " << c;
        EXPECT_NEAR(read.latitudeRad, truth.latitudeRad, kArcsecRad) << name << " case " << c;
      }
    }
  }
  EXPECT_GT(refused, 0);
  TakeDamagedEphemerisFiles();
}

TEST(EphemerisCheck, ContinuityLimits) {
  std::array<std::int32_t, kMaxBodiesPerSet * kValuesPerBody> a{}, b{};
  a = {static_cast<std::int32_t>(359.0 * kLongitudeUnitsPerDegree), 0, static_cast<std::int32_t>(5 * kRadiusUnitsPerAu)};
  b = a;
  b[0] = static_cast<std::int32_t>(5.0 * kLongitudeUnitsPerDegree);  // 6 degrees on, across Aries
  EXPECT_TRUE(Continuous(a, b, 1));
  b[0] = static_cast<std::int32_t>(20.0 * kLongitudeUnitsPerDegree);
  EXPECT_FALSE(Continuous(a, b, 1));
  b = a;
  b[2] = static_cast<std::int32_t>(6 * kRadiusUnitsPerAu);
  EXPECT_FALSE(Continuous(a, b, 1));
}

}  // namespace
}  // namespace kelvara::engine
