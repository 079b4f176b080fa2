#include "engine/engine_run.h"

#include <gtest/gtest.h>

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
#include "engine/tests/run_vector.h"
#include "engine/tests/scratch_folder.h"

namespace kelvara::engine {
namespace {

namespace fs = std::filesystem;
using testing::RunOutput;
using testing::RunTexts;

// The front-end's Moscow vector from a program folder without data files.
std::vector<std::string> FrontEndVector(const std::string& system, const std::string& zone = "-3") {
  std::vector<std::string> v = testing::MoscowTexts("---/opt/kelvara/");
  v[4] = system;
  v[10] = zone;
  return v;
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
  const RunOutput r = RunTexts(FrontEndVector("0"));
  TimeState time;
  const HouseResult houses = ExpectedHouses(kPlacidus, time);
  for (int i = 1; i <= 12; ++i) {
    EXPECT_NEAR(houses.cusps[i], r.longitude[kFirstCusp + i - 1], 1e-9) << i;
  }
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
  const RunOutput r = RunTexts(FrontEndVector("2"));
  TimeState time;
  ExpectedHouses(kEqual, time);
  EXPECT_NEAR(time.ascendant_deg, r.longitude[kAscendant], 1e-9);
  EXPECT_NEAR(Mod360(time.ascendant_deg + 270.0), r.longitude[kMidheaven], 1e-9);
}

TEST(EngineRun, FailedParseRepeatsThePreviousPositions) {
  const RunOutput good = RunTexts(FrontEndVector("0"));
  std::vector<std::string> short_vector = FrontEndVector("0");
  short_vector.resize(10);  // ends after the clock time
  const RunOutput failed = RunTexts(short_vector);
  EXPECT_EQ(good.longitude, failed.longitude);
  EXPECT_EQ(good.speed, failed.speed);
  EXPECT_EQ(good.longitude, RunTexts(FrontEndVector("15")).longitude);
}

TEST(EngineRun, LocalMeanTimeUsesTheLongitude) {
  const RunOutput lmt = RunTexts(FrontEndVector("0", "LMT"));
  // 37 deg 35 min east is 2 h 30 min 20 s ahead of Greenwich: -2.303333 in H.MM.
  const RunOutput zone = RunTexts(FrontEndVector("0", "-2.303333"));
  for (int i = kFirstCusp; i <= kLastCusp; ++i) {
    EXPECT_NEAR(zone.longitude[i], lmt.longitude[i], 2e-4) << i;
  }
  EXPECT_GT(std::fabs(RunTexts(FrontEndVector("0")).longitude[kMidheaven] -
                      lmt.longitude[kMidheaven]), 1.0);
}

TEST(EngineRun, SettingsAfterTheRun) {
  std::vector<std::string> twice = FrontEndVector("0");
  twice.insert(twice.begin() + 1, "-Yn");
  RunTexts(twice);
  EXPECT_EQ(1, ProcessEngineState().settings.trueNode);  // forced whatever the toggles
  EXPECT_EQ(kPlacidus, ProcessEngineState().settings.houseSystem);
  RunTexts({"---/"});
  EXPECT_EQ(kEqual, ProcessEngineState().settings.houseSystem);
  std::vector<std::string> scan = FrontEndVector("0");
  scan[1] = "-Zd";
  RunTexts(scan);
  EXPECT_EQ(1, ProcessEngineState().settings.riseSetScan);
  std::vector<std::string> events = FrontEndVector("0");
  events.push_back("-d");
  RunTexts(events);
  EXPECT_EQ(19, ProcessEngineState().settings.aspectCount);
}

TEST(EngineRun, HorizonListingPutsTheVertexDueWest) {
  std::vector<std::string> v = FrontEndVector("0");
  v[1] = "-Z";
  RunTexts(v);
  const EngineState& state = ProcessEngineState();
  // The listing uses the fixed obliquity, the chart that of 1985: 0.005 degree apart.
  EXPECT_NEAR(180.0, state.horizon[kVertex].azimuth_deg, 0.01);
  EXPECT_EQ(0.0, state.horizon[kMidheaven].altitude_deg);  // cusps are not kept objects
}

TEST(EngineRun, CrossingTableTriggerInTheTwelfthElement) {
  const ScratchFolder scratch("crossing_trigger");
  std::vector<std::string> v = FrontEndVector("0");
  v[11] = "0L5";
  RunTexts(v);
  EXPECT_EQ(1, ProcessEngineState().settings.crossingTable);
  EXPECT_EQ(55, ProcessEngineState().settings.crossingStep);
  v[11] = "";
  RunTexts(v);
  EXPECT_EQ(0, ProcessEngineState().settings.crossingTable);
}

TEST(EngineRun, ProgramFolderFromArgv0) {
  EXPECT_EQ("\\Dir\\", RunTexts({"-xx\\Dir\\"}).argv0_after);
  EXPECT_EQ("\\Dir\\", ProcessEngineState().programFolder);
  EXPECT_EQ(0, ProcessEngineState().settings.argv0Mode);
  EXPECT_EQ("\\Dir\\data/", DataDirectoryPrefix(ProcessEngineState()));
  RunTexts({"Axx/k/"});
  EXPECT_EQ(1, ProcessEngineState().settings.argv0Mode);
  for (const char* short_argv0 : {"", "-", "--", "---"}) {
    EXPECT_EQ("", RunTexts({short_argv0, "-c", "5"}).argv0_after) << short_argv0;
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

// A program folder whose data/ holds one file in a subfolder.
class EngineFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir() / "data" / "sub");
    std::ofstream(dir() / "data" / "sub" / "x.txt") << "found";
  }
  const fs::path& dir() const { return scratch_.path(); }
  ScratchFolder scratch_{"engine_files"};
};

TEST_F(EngineFiles, OpenerFindsDataNamesAndWrittenOutPaths) {
  RunTexts({"---" + dir().string() + "/"});
  const EngineState& state = ProcessEngineState();
  for (const std::string& name : {std::string("sub\\x.txt"), (dir() / "data/sub/x.txt").string()}) {
    std::FILE* file = OpenEngineFile(state, name, "rb");
    ASSERT_NE(nullptr, file) << name;
    std::fclose(file);
  }
  EXPECT_EQ(nullptr, OpenEngineFile(state, "sub/missing.txt", "rb"));
}

TEST_F(EngineFiles, OutputFileIsCreatedAndAMissingFolderIsNoFailure) {
  const std::string out = (dir() / "out.txt").string();
  std::vector<std::string> v = FrontEndVector("0");
  v.insert(v.begin() + 1, {"-os", out});
  const RunOutput with_file = RunTexts(v);
  EXPECT_TRUE(fs::exists(out));
  v[2] = (dir() / "no" / "such" / "dir.txt").string();
  EXPECT_EQ(with_file.longitude, RunTexts(v).longitude);
}

}  // namespace
}  // namespace kelvara::engine
