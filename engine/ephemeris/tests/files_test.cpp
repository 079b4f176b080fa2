// File names, the opener, record positioning, Everett interpolation and bad files.
#include <gtest/gtest.h>

#include <cmath>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/ephemeris/ephemeris.h"
#include "engine/ephemeris/ephemeris_files.h"

namespace kelvara::engine {
namespace {

// A scratch data folder, removed with the object.
struct TemporaryFolder {
  TemporaryFolder() { std::filesystem::create_directories(path); }
  ~TemporaryFolder() { std::filesystem::remove_all(path); }
  const std::filesystem::path path = std::filesystem::temp_directory_path() / ("kelvara_files_" + std::to_string(::getpid()));
  const std::string prefix = path.string() + "/";
};

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void AppendBigEndian(std::int32_t value, std::vector<unsigned char>& bytes) {
  const auto word = static_cast<std::uint32_t>(value);
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<unsigned char>(word >> shift));
}

// A whole file whose bodies sit at longitude = record index degrees (plus a per-body step),
// latitude 1 deg and radius 5 au.
// `firstRecord` continues the records of the file before.
std::vector<unsigned char> LinearFile(int set, int firstRecord = 0) {
  std::vector<unsigned char> bytes;
  for (int k = firstRecord; k < firstRecord + RecordsPerFile(set); ++k) {
    for (int b = 0; b < BodiesInSet(set); ++b) {
      AppendBigEndian(static_cast<std::int32_t>(std::fmod(k * 0.5 + 10.0 * b, 360.0) * kLongitudeUnitsPerDegree), bytes);
      AppendBigEndian(static_cast<std::int32_t>(kLatitudeUnitsPerDegree), bytes);
      AppendBigEndian(static_cast<std::int32_t>(5 * kRadiusUnitsPerAu), bytes);
    }
  }
  return bytes;
}

TEST(EphemerisFileNames, FollowTheFixedListAndTheNumberedNames) {
  struct Case {
    int set, number;
    const char* path;
  };
  const Case cases[] = {
      {1, 24, "/d/1.st"}, {3, 24, "/d/3.st"}, {1, 17, "Bmp_pl\\Tr\\idx1.tr"}, {2, 17, "Bmp_pl\\Tr\\idx2.tr"},
      {1, 18, "Bmp_pl\\Set2\\idx1.p2"}, {2, 19, "Bmp_pl\\Set1\\idx2.p2"}, {3, 23, "Bmp_as\\Set1\\idx3.a3"},
      {1, 22, "Bmp_as\\Set2\\idx1.a2"}, {1, 25, "_25"}, {1, 3, "_3"}, {1, -2, "_M2"},
      {1, -24, "_M24"},                    // days before the era never share the fixed names of the present
      {2, 25, "_25.2"}, {3, -2, "_M2.3"},  // sets 2 and 3 keep files of their own beyond the fixed names
  };
  for (const Case& c : cases) EXPECT_EQ(EphemerisFilePath(c.set, c.number, "/d/"), c.path) << c.set << " " << c.number;
  EXPECT_EQ(EphemerisFileNumber(2451545.0), 24);
  EXPECT_EQ(EphemerisFileNumber(-0.5), -1);
  EXPECT_EQ(EphemerisFileNumber(std::nan("")), kNoEphemerisFile);
  EXPECT_EQ(EphemerisFileNumber(1e300), kNoEphemerisFile);
}

TEST(EphemerisFileOpener, FindsANameInTheDataFolderAndAPathAsGiven) {
  TemporaryFolder folder;
  WriteBytes(folder.prefix + "Bmp_as/Set1/idx1.a1", {1, 2, 3});
  std::FILE* viaPrefix = OpenDataFile("Bmp_as\\Set1\\idx1.a1", folder.prefix);
  ASSERT_NE(viaPrefix, nullptr);
  std::fclose(viaPrefix);
  std::FILE* asGiven = OpenDataFile(folder.prefix + "Bmp_as/Set1/idx1.a1", "");
  ASSERT_NE(asGiven, nullptr);
  std::fclose(asGiven);
  EXPECT_EQ(OpenDataFile("missing.bin", folder.prefix), nullptr);
}

// The first byte of an opened file, -1 when nothing opened.
int FirstByte(std::FILE* file) {
  if (file == nullptr) return -1;
  const int byte = std::fgetc(file);
  std::fclose(file);
  return byte;
}

TEST(EphemerisFileOpener, PrefersTheDataFolderToADecoyInTheCurrentDirectory) {
  TemporaryFolder folder;
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.path);
  const std::string data = folder.prefix + "data/";
  for (const std::string name : {"_25", "_25.2", "Bmp_pl/Tr/idx1.tr"}) {
    WriteBytes(folder.prefix + name, {'d'});
    WriteBytes(data + name, {'r'});
  }
  EXPECT_EQ(FirstByte(OpenDataFile("_25", data)), 'r');
  EXPECT_EQ(FirstByte(OpenDataFile("_25.2", data)), 'r');
  EXPECT_EQ(FirstByte(OpenDataFile("Bmp_pl\\Tr\\idx1.tr", data)), 'r');
  // Paths written out name the file they say.
  EXPECT_EQ(FirstByte(OpenDataFile("./_25", data)), 'd');
  EXPECT_EQ(FirstByte(OpenDataFile(folder.prefix + "_25", data)), 'd');
  // Without the data folder's copy the name is still found where the user stands.
  std::filesystem::remove(data + "_25");
  EXPECT_EQ(FirstByte(OpenDataFile("_25", data)), 'd');
  std::filesystem::current_path(previous);
}

TEST(EphemerisFileOpener, RefusesAFifoOrFolderAtOnce) {
  TemporaryFolder folder;
  const std::string fifo = folder.prefix + "1.st";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_directories(folder.prefix + "_25");
  auto opened = std::async(std::launch::async, [&folder] {
    EphemerisSetFile file;
    return file.Open(1, 24, folder.prefix) || file.Open(1, 25, folder.prefix) ||
           OpenDataFile("1.st", folder.prefix) != nullptr;
  });
  if (opened.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
    // A writer end lets the blocked open return, so the test ends.
    ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
    FAIL() << "opening a FIFO blocked";
  }
  EXPECT_FALSE(opened.get());
}

TEST(ReadEphemerisRecord, PositionsTheFileAtTheRecordOfTheBlock) {
  TemporaryFolder folder;
  WriteBytes(folder.prefix + "1.st", LinearFile(1));
  EphemerisSetFile file;
  ASSERT_EQ(ReadEphemerisRecord(1, 2400000.0 + 80 * 7 + 79.9, file, folder.prefix), 0);
  EXPECT_EQ(std::ftell(file.handle()), 7 * RecordBytes(1));
  EXPECT_EQ(file.fileNumber(), 24);
  ASSERT_EQ(ReadEphemerisRecord(1, 2499999.0, file, folder.prefix), 0);
  EXPECT_EQ(std::ftell(file.handle()), (kRecordsPerFile - 1) * RecordBytes(1));
  // Another file number that is missing fails, and the set holds no file afterwards.
  EXPECT_EQ(ReadEphemerisRecord(1, 2500000.5, file, folder.prefix), -1);
  EXPECT_EQ(file.fileNumber(), kNoEphemerisFile);
  EXPECT_EQ(ReadEphemerisRecord(1, std::nan(""), file, folder.prefix), -1);
  EXPECT_EQ(ReadEphemerisRecord(4, 2451545.0, file, folder.prefix), -1);
}

TEST(Everett, IsExactForPolynomialsOfItsOrder) {
  const auto quintic = [](double x) { return 3.0 - 2.0 * x + 0.5 * x * x - 0.25 * x * x * x + 0.1 * std::pow(x, 4) - 0.02 * std::pow(x, 5); };
  const auto quinticRate = [](double x) { return -2.0 + x - 0.75 * x * x + 0.4 * x * x * x - 0.1 * std::pow(x, 4); };
  const auto cubic = [](double x) { return 1.0 + x - 2.0 * x * x + 0.3 * x * x * x; };
  std::array<double, kWindowRecords> q{}, c{};
  for (int k = 0; k < kWindowRecords; ++k) {
    q[k] = quintic(k - 2.0);
    c[k] = cubic(k - 2.0);
  }
  for (double p : {0.0, 0.25, 0.5, 0.9, 1.0}) {
    const Interpolated withFourth = EverettInterpolate(q, p, true);
    EXPECT_NEAR(withFourth.value, quintic(p), 1e-12) << p;
    EXPECT_NEAR(withFourth.ratePerStep, quinticRate(p), 1e-12) << p;
    EXPECT_NEAR(EverettInterpolate(c, p, false).value, cubic(p), 1e-12) << p;
  }
  // Second differences alone do not follow a quintic.
  EXPECT_GT(std::fabs(EverettInterpolate(q, 0.5, false).value - quintic(0.5)), 1e-3);
}

TEST(EphemerisFileReader, FoldsLongitudesAcrossZero) {
  TemporaryFolder folder;
  WriteBytes(folder.prefix + "1.st", LinearFile(1));
  EphemerisFileReader reader;
  // Records 718-722 of body 0 run 359.0, 359.5, 0.0, 0.5, 1.0 degrees.
  SphericalState s;
  ASSERT_TRUE(reader.Heliocentric(kBodyJupiter, 2400000.5 + 80 * 719.5, folder.prefix, s));
  EXPECT_NEAR(NormalizeDegrees(s.longitudeRad * kRadToDeg), 359.75, 1e-6);
  EXPECT_NEAR(s.longitudeRateRadPerDay * kRadToDeg, 0.5 / 80.0, 1e-9);
  EXPECT_NEAR(s.latitudeRad * kRadToDeg, 1.0, 1e-9);
  EXPECT_NEAR(s.distance, 5.0, 1e-9);
}

TEST(EphemerisFileReader, WindowsReachIntoTheNextFile) {
  TemporaryFolder folder;
  WriteBytes(folder.prefix + "1.st", LinearFile(1));
  EphemerisFileReader reader;
  SphericalState s;
  // The last block's window needs records of file 25, which is missing.
  EXPECT_FALSE(reader.Heliocentric(kBodySaturn, 2499990.0, folder.prefix, s));
  WriteBytes(folder.prefix + "_25", LinearFile(1, RecordsPerFile(1)));
  EXPECT_TRUE(reader.Heliocentric(kBodySaturn, 2499990.0, folder.prefix, s));
  EXPECT_FALSE(reader.Heliocentric(kBodySaturn, 2400010.0, folder.prefix, s));  // file 23 missing
}

TEST(EphemerisPosition, FailsForTruncatedOrCorruptFiles) {
  TemporaryFolder folder;
  const std::string path = folder.prefix + "1.st";
  const double jd = 2451545.0;
  std::vector<unsigned char> bytes = LinearFile(1);

  bytes.resize(bytes.size() - 30);  // cut inside the last record
  WriteBytes(path, bytes);
  EphemerisLayer truncated;
  EphemerisResult r;
  EXPECT_FALSE(truncated.PositionAtTt(kBodyJupiter, jd, folder.prefix, r));

  std::mt19937 random(1860);
  for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
  bytes.resize(static_cast<std::size_t>(kRecordsPerFile) * RecordBytes(1));
  WriteBytes(path, bytes);
  EphemerisLayer garbage;
  for (int body = kBodyJupiter; body <= kBodyPluto; ++body) {
    EXPECT_FALSE(garbage.PositionAtTt(body, jd, folder.prefix, r)) << body;
  }
  // The bodies from the series do not depend on the files.
  EXPECT_TRUE(garbage.PositionAtTt(kBodyMars, jd, folder.prefix, r));

  WriteBytes(path, LinearFile(1));
  EphemerisLayer sound;
  EXPECT_TRUE(sound.PositionAtTt(kBodyJupiter, jd, folder.prefix, r));
}

TEST(EphemerisPosition, ChironAndTheAsteroidsComeFromTheirSetsOnceTheFilesExist) {
  TemporaryFolder folder;
  EphemerisLayer layer;
  EphemerisResult r;
  EXPECT_FALSE(layer.PositionAtTt(kBodyChiron, 2451545.0, folder.prefix, r));
  WriteBytes(folder.prefix + "2.st", LinearFile(2));
  WriteBytes(folder.prefix + "3.st", LinearFile(3));
  EXPECT_TRUE(layer.PositionAtTt(kBodyChiron, 2451545.0, folder.prefix, r));
  EXPECT_NEAR(Norm(r.heliocentricAu), 5.0, 1e-6);
  for (int body = kBodyCeres; body <= kBodyVesta; ++body) {
    EXPECT_TRUE(layer.PositionAtTt(body, 2451545.0, folder.prefix, r)) << body;
  }
}

TEST(EphemerisFileReader, AsteroidRecordsComeEvery16Days) {
  TemporaryFolder folder;
  WriteBytes(folder.prefix + "3.st", LinearFile(3));
  EXPECT_EQ(std::filesystem::file_size(folder.prefix + "3.st"), 6250u * 48u);
  EphemerisFileReader reader;
  SphericalState s;
  // Halfway between records 100 and 101 of Vesta (body 3 of the set: 30 degrees on).
  ASSERT_TRUE(reader.Heliocentric(kBodyVesta, 2400000.5 + 16 * 100.5, folder.prefix, s));
  EXPECT_NEAR(s.longitudeRad * kRadToDeg, 50.25 + 30.0, 1e-6);
  EXPECT_NEAR(s.longitudeRateRadPerDay * kRadToDeg, 0.5 / 16.0, 1e-9);
  // A file of the 80-day length is not a set-3 file.
  WriteBytes(folder.prefix + "3.st", std::vector<unsigned char>(static_cast<std::size_t>(kRecordsPerFile) * 48));
  EphemerisFileReader fresh;
  EXPECT_FALSE(fresh.Heliocentric(kBodyCeres, 2451545.0, folder.prefix, s));
}

}  // namespace
}  // namespace kelvara::engine
