#include "engine/engine_run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/angles.h"
#include "engine/casting.h"
#include "engine/files.h"
#include "engine/records.h"
#include "engine/tests/scratch_folder.h"

namespace kelvara::engine {
namespace {

namespace fs = std::filesystem;

struct RunResult {
  std::array<double, kResultCount> longitude{};
  std::array<double, kResultCount> speed{};
  std::array<double, kResultCount> latitude{};
  std::string argv0_after;
};

RunResult RunVector(std::vector<std::string> texts) {
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  RunResult r;
  EngineRun(static_cast<int>(argv.size()), argv.data(), r.longitude.data(), r.speed.data(),
            r.latitude.data());
  r.argv0_after = argv.empty() ? "" : argv[0];
  return r;
}

std::vector<std::string> FrontEndVector(const std::string& system, const std::string& zone = "-3") {
  return {"---/opt/kelvara/", "-Yn", "-b0", "-c", system, "qa", "7", "12", "1985", "14:05",
          zone, "037e35", "55n45"};
}

// The same chart computed from the primitives, without the switch vector.
HouseResult ExpectedHouses(int system, TimeState& time) {
  const ChartMoment moment{7, 12, 1985, 14.05, 0.0, -3.0, -37.35, 55.45};
  time = ProcessChartTime(moment, false, 0.0);
  ComputeChartAngles(time);
  return ComputeHouses({time.ramc_rad, time.obliquity_rad, time.latitude_rad,
                        time.midheaven_deg, time.ascendant_deg, time.offset_deg},
                       system);
}

TEST(EngineRun, FrontEndVectorReturnsAnglesAndCusps) {
  const RunResult r = RunVector(FrontEndVector("0"));
  TimeState time;
  const HouseResult houses = ExpectedHouses(kPlacidus, time);
  for (int i = 1; i <= 12; ++i) {
    EXPECT_NEAR(houses.cusps[i], r.longitude[kFirstCusp + i - 1], 1e-9) << i;
  }
  EXPECT_NEAR(time.midheaven_deg, r.longitude[kMidheaven], 1e-9);
  EXPECT_NEAR(time.vertex_deg, r.longitude[kVertex], 1e-9);
  EXPECT_NEAR(time.east_point_deg, r.longitude[kEastPoint], 1e-9);
  for (int i = kFortune; i <= kLastCusp; ++i) EXPECT_DOUBLE_EQ(360.0, r.speed[i]) << i;
  // The Earth is never placed: position 0, motion 1 rad/day.
  EXPECT_EQ(0.0, r.longitude[kEarth]);
  EXPECT_DOUBLE_EQ(kRadToDeg, r.speed[kEarth]);
  EXPECT_EQ("/opt/kelvara/", r.argv0_after);
}

TEST(EngineRun, CuspObjectsHoldTheSystemsCuspsNotTheAngles) {
  // Equal houses: the tenth cusp is the Ascendant + 270, not the Midheaven.
  const RunResult r = RunVector(FrontEndVector("2"));
  TimeState time;
  ExpectedHouses(kEqual, time);
  EXPECT_NEAR(time.ascendant_deg, r.longitude[kAscendant], 1e-9);
  EXPECT_NEAR(Mod360(time.ascendant_deg + 270.0), r.longitude[kMidheaven], 1e-9);
}

TEST(EngineRun, FailedParseRepeatsThePreviousPositions) {
  const RunResult good = RunVector(FrontEndVector("0"));
  std::vector<std::string> short_vector = FrontEndVector("0");
  short_vector.resize(10);  // ends after the clock time
  const RunResult failed = RunVector(short_vector);
  EXPECT_EQ(good.longitude, failed.longitude);
  EXPECT_EQ(good.speed, failed.speed);
  std::vector<std::string> bad_system = FrontEndVector("15");
  EXPECT_EQ(good.longitude, RunVector(bad_system).longitude);
}

TEST(EngineRun, LocalMeanTimeUsesTheLongitude) {
  const RunResult lmt = RunVector(FrontEndVector("0", "LMT"));
  // 37 deg 35 min east is 2 h 30 min 20 s ahead of Greenwich: -2.303333 in H.MM.
  const RunResult zone = RunVector(FrontEndVector("0", "-2.303333"));
  for (int i = kFirstCusp; i <= kLastCusp; ++i) {
    EXPECT_NEAR(zone.longitude[i], lmt.longitude[i], 2e-4) << i;
  }
  EXPECT_GT(std::fabs(RunVector(FrontEndVector("0")).longitude[kMidheaven] -
                      lmt.longitude[kMidheaven]), 1.0);
}

TEST(EngineRun, SouthNodeNameWithoutEphemerisFiles) {
  std::vector<std::string> without = FrontEndVector("0");
  without[2] = "-Z0";  // any harmless switch in place of -b0
  RunVector(without);
  EXPECT_STREQ("S.Node", ProcessEngineState().objectNames[kLilith]);
  EXPECT_EQ(kLeo, ProcessEngineState().ruledSign[kLilith]);
  RunVector(FrontEndVector("0"));
  EXPECT_STREQ("Lilith", ProcessEngineState().objectNames[kLilith]);
  EXPECT_EQ(8, ProcessEngineState().ruledSign[kLilith]);
}

TEST(EngineRun, SettingsAfterTheRun) {
  std::vector<std::string> twice = FrontEndVector("0");
  twice.insert(twice.begin() + 1, "-Yn");
  RunVector(twice);
  EXPECT_EQ(1, ProcessEngineState().settings.trueNode);  // forced whatever the toggles
  EXPECT_EQ(kPlacidus, ProcessEngineState().settings.houseSystem);
  RunVector({"---/"});
  EXPECT_EQ(kEqual, ProcessEngineState().settings.houseSystem);
  std::vector<std::string> scan = FrontEndVector("0");
  scan[1] = "-Zd";
  RunVector(scan);
  EXPECT_EQ(1, ProcessEngineState().settings.riseSetScan);
  std::vector<std::string> events = FrontEndVector("0");
  events.push_back("-d");
  RunVector(events);
  EXPECT_EQ(19, ProcessEngineState().settings.aspectCount);
}

TEST(EngineRun, HorizonListingPutsTheVertexDueWest) {
  std::vector<std::string> v = FrontEndVector("0");
  v[1] = "-Z";
  RunVector(v);
  const EngineState& state = ProcessEngineState();
  // The listing uses the fixed obliquity, the chart that of 1985: 0.005 degree apart.
  EXPECT_NEAR(180.0, state.horizon[kVertex].azimuth_deg, 0.01);
  EXPECT_EQ(0.0, state.horizon[kMidheaven].altitude_deg);  // cusps are not kept objects
}

TEST(EngineRun, CrossingTableTriggerInTheTwelfthElement) {
  const ScratchFolder scratch("crossing_trigger");
  std::vector<std::string> v = FrontEndVector("0");
  v[11] = "0L5";
  RunVector(v);
  EXPECT_EQ(1, ProcessEngineState().settings.crossingTable);
  EXPECT_EQ(55, ProcessEngineState().settings.crossingStep);
  v[11] = "";
  RunVector(v);
  EXPECT_EQ(0, ProcessEngineState().settings.crossingTable);
}

TEST(EngineRun, ProgramFolderFromArgv0) {
  EXPECT_EQ("\\Dir\\", RunVector({"-xx\\Dir\\"}).argv0_after);
  EXPECT_EQ("\\Dir\\", ProcessEngineState().programFolder);
  EXPECT_EQ(0, ProcessEngineState().settings.argv0Mode);
  EXPECT_EQ("\\Dir\\data/", DataDirectoryPrefix(ProcessEngineState()));
  RunVector({"Axx/k/"});
  EXPECT_EQ(1, ProcessEngineState().settings.argv0Mode);
  for (const char* short_argv0 : {"", "-", "--", "---"}) {
    EXPECT_EQ("", RunVector({short_argv0, "-c", "5"}).argv0_after) << short_argv0;
    EXPECT_EQ("", ProcessEngineState().programFolder);
  }
}

TEST(EngineRun, NullArgumentsAreTolerated) {
  double lon[kResultCount];
  EXPECT_EQ(0, EngineRun(0, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(0, EngineRun(1, nullptr, lon, nullptr, nullptr));
  char* argv[] = {nullptr, nullptr};
  EXPECT_EQ(0, EngineRun(2, argv, lon, lon, lon));
}

class EngineFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kelvara_engine_files_" + std::to_string(getpid()));
    fs::create_directories(dir_ / "data" / "sub");
    std::ofstream(dir_ / "data" / "sub" / "x.txt") << "found";
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(EngineFiles, OpenerTriesThePathThenTheDataFolder) {
  RunVector({"---" + dir_.string() + "/"});
  const EngineState& state = ProcessEngineState();
  std::FILE* file = OpenEngineFile(state, "sub\\x.txt", "rb");
  ASSERT_NE(nullptr, file);
  std::fclose(file);
  const std::string direct = (dir_ / "data" / "sub" / "x.txt").string();
  file = OpenEngineFile(state, direct, "rb");
  ASSERT_NE(nullptr, file);
  std::fclose(file);
  EXPECT_EQ(nullptr, OpenEngineFile(state, "sub/missing.txt", "rb"));
}

TEST_F(EngineFiles, OutputFileIsCreatedAndAMissingFolderIsNoFailure) {
  const std::string out = (dir_ / "out.txt").string();
  std::vector<std::string> v = FrontEndVector("0");
  v.insert(v.begin() + 1, {"-os", out});
  const RunResult with_file = RunVector(v);
  EXPECT_TRUE(fs::exists(out));
  v[2] = (dir_ / "no" / "such" / "dir.txt").string();
  const RunResult without = RunVector(v);
  EXPECT_EQ(with_file.longitude, without.longitude);
}

TEST(EngineRun, EquatorialOptionConvertsKeptObjects) {
  const RunResult ecliptic = RunVector(FrontEndVector("0"));
  std::vector<std::string> v = FrontEndVector("0");
  v.insert(v.begin() + 1, "-sr");
  const RunResult equatorial = RunVector(v);
  const SkyPoint east = EclipticToEquatorial(ecliptic.longitude[kEastPoint], 0.0);
  EXPECT_NEAR(Mod360(east.longitude_deg), equatorial.longitude[kEastPoint], 1e-9);
  EXPECT_NEAR(east.latitude_deg, equatorial.latitude[kEastPoint], 1e-9);
  // The cusps are not kept objects and stay ecliptic.
  EXPECT_DOUBLE_EQ(ecliptic.longitude[kMidheaven], equatorial.longitude[kMidheaven]);
}

}  // namespace
}  // namespace kelvara::engine
