// The result files of fixed vectors byte for byte, and the runs that cannot write them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/records.h"
#include "engine/scans.h"
#include "engine/tests/run_vector.h"
#include "engine/tests/scratch_folder.h"

namespace kelvara::engine {
namespace {

namespace fs = std::filesystem;
using testing::RepositoryArgv0;
using testing::RunOutput;
using testing::RunTexts;

fs::path GoldenPath(const std::string& name) {
  return fs::path(KELVARA_SOURCE_DIR) / "engine/tests/data/golden" / name;
}

// Compares a written file with its golden copy; with KELVARA_REGENERATE_GOLDEN set, the
// golden copy is rewritten instead (for a reviewed change only).
void ExpectGolden(const fs::path& written, const std::string& golden_name) {
  const std::string bytes = ReadBytes(written);
  ASSERT_FALSE(bytes.empty()) << written;
  if (std::getenv("KELVARA_REGENERATE_GOLDEN") != nullptr) {
    fs::create_directories(GoldenPath("").parent_path());
    std::ofstream(GoldenPath(golden_name), std::ios::binary) << bytes;
  }
  EXPECT_EQ(ReadBytes(GoldenPath(golden_name)), bytes) << golden_name;
}

// The Moscow chart of 12 July 1985, 14:05, Placidus, with switches added at the end.
std::vector<std::string> MoscowVector(std::vector<std::string> extra = {}) {
  std::vector<std::string> v = testing::MoscowTexts();
  v.insert(v.end(), extra.begin(), extra.end());
  return v;
}

void ExpectSamePositions(const RunOutput& expected, const RunOutput& actual) {
  for (int i = 0; i < kResultCount; ++i) {
    EXPECT_DOUBLE_EQ(expected.longitude[i], actual.longitude[i]) << i;
    EXPECT_DOUBLE_EQ(expected.speed[i], actual.speed[i]) << i;
    EXPECT_DOUBLE_EQ(expected.latitude[i], actual.latitude[i]) << i;
  }
}

TEST(Golden, RiseSetScanOfMoscow) {
  const ScratchFolder scratch("golden_rise_set");
  const RunOutput plain = RunTexts(MoscowVector());
  // The result arrays hold the chart of the vector, not the scan's last sample.
  ExpectSamePositions(plain, RunTexts(MoscowVector({"-Zd"})));
  ExpectGolden("tmp.tmp", "rise_set_moscow_1985-07-12.txt");
}

TEST(ResultFiles, AZodiacOffsetMovesTheLongitudesButNotTheTimes) {
  const ScratchFolder scratch("offset_rise_set");
  RunTexts(MoscowVector({"-Zd"}));
  const std::string tropical = ReadBytes("tmp.tmp");
  RunTexts(MoscowVector({"-Zd", "-s", "15"}));
  const std::string shifted = ReadBytes("tmp.tmp");
  // Same events at the same times; only the sign texts change.
  std::istringstream a(tropical), b(shifted);
  std::string line_a, line_b;
  int lines = 0;
  while (std::getline(a, line_a) && std::getline(b, line_b)) {
    EXPECT_EQ(line_a.substr(0, line_a.find('(')), line_b.substr(0, line_b.find('('))) << lines;
    ++lines;
  }
  EXPECT_GT(lines, 40);
  EXPECT_NE(tropical, shifted);
}

TEST(Golden, EventScanOfTheEquinoxDay) {
  const ScratchFolder scratch("golden_events");
  RunTexts({RepositoryArgv0(), "-d", "-b0", "-c", "0", "qa", "3", "20", "2020", "0:00", "0",
            "0e00", "51n29"});
  ExpectGolden("tmp.tmp", "events_2020-03-20.txt");
}

TEST(Golden, CrossingTableFromTheTwelfthElement) {
  const ScratchFolder scratch("golden_crossing");
  RunTexts({RepositoryArgv0(), "qa", "7", "12", "1985", "14:05", "-3", "037e35", "55n45", "-Yn",
            "-b0", "-L", "20"});
  ExpectGolden("G_tmp.tmp", "crossing_moscow_1985-07-12.txt");
}

TEST(Golden, ChartFilesWithTheirRecordedSwitches) {
  const ScratchFolder scratch("golden_chart");
  RunTexts(MoscowVector({"-o", "info.txt", "first", "second"}));
  ExpectGolden("info.txt", "chart_info_moscow.txt");
  RunTexts(MoscowVector({"-o0", "positions.txt", "recorded"}));
  ExpectGolden("positions.txt", "chart_positions_moscow.txt");
}

// The first line of the crossing table, as written for one place.
std::vector<double> CulminationLine(const std::string& longitude) {
  RunTexts({RepositoryArgv0(), "qa", "7", "12", "1985", "11:05", "0", longitude, "55n45", "-Yn",
            "-b0", "-L", "20"});
  std::istringstream table(ReadBytes("G_tmp.tmp"));
  std::string first;
  std::getline(table, first);
  std::istringstream values(first);
  std::vector<double> line;
  for (double x = 0.0; values >> x;) line.push_back(x);
  return line;
}

TEST(ResultFiles, CrossingTableMeridiansDoNotDependOnTheChartsPlace) {
  // Where each body culminates at one moment is a fact of the sky: the chart's longitude,
  // read as degrees and minutes, cancels out, minutes and all.
  const ScratchFolder scratch("crossing_place");
  // What remains is the fixed obliquity that turns the Midheaven back into right ascension.
  const std::vector<double> moscow = CulminationLine("037e35");
  const std::vector<double> atlantic = CulminationLine("010w50");
  ASSERT_EQ(17u, moscow.size());
  ASSERT_EQ(moscow.size(), atlantic.size());
  for (std::size_t i = 0; i < moscow.size(); ++i) EXPECT_NEAR(moscow[i], atlantic[i], 0.01) << i;
}

TEST(ResultFiles, MonthScanOfTheCalendarReformSkipsItsTenDays) {
  const ScratchFolder scratch("reform_month");
  RunTexts({RepositoryArgv0(), "-dm", "-b0", "qa", "10", "1", "1582", "0:00", "0", "0e00",
            "41n54"});
  const std::string lines = ReadBytes("tmp.tmp");
  EXPECT_NE(std::string::npos, lines.find("04.10.1582"));
  EXPECT_NE(std::string::npos, lines.find("15.10.1582"));
  for (int day = 5; day <= 14; ++day) {
    const std::string skipped = (day < 10 ? "0" : "") + std::to_string(day) + ".10.1582";
    EXPECT_EQ(std::string::npos, lines.find(skipped)) << skipped;
  }
}

TEST(ResultFiles, ScansOfImpossibleDatesEndWithoutCrashing) {
  const ScratchFolder scratch("impossible_dates");
  for (const std::vector<std::string>& date :
       {std::vector<std::string>{"0", "40", "-5000"}, {"13", "1", "2000"}, {"2", "31", "44BC"}}) {
    for (const char* scan : {"-d", "-dm", "-Zd"}) {
      const RunOutput out = RunTexts({RepositoryArgv0(), scan, "-b0", "qa", date[0], date[1],
                                      date[2], "0:00", "0", "0e00", "41n54"});
      for (double x : out.longitude) EXPECT_TRUE(std::isfinite(x)) << scan << " " << date[0];
    }
  }
}

TEST(ResultFiles, AChartWithoutAMonthLeavesAnEmptyChartFile) {
  const ScratchFolder scratch("chart_month");
  for (const char* month : {"0", "13"}) {
    std::vector<std::string> v = MoscowVector({"-o", "info.txt", "kept"});
    v[6] = month;
    RunTexts(v);
    EXPECT_TRUE(fs::exists("info.txt")) << month;
    EXPECT_EQ("", ReadBytes("info.txt")) << month;
  }
}

// Scans take the theories from segments of their own; the chart of a vector cast again after
// them, and after other charts, comes out the same to the last bit.
TEST(ResultFiles, AChartCastAgainAfterScansGivesTheSameNumbers) {
  const ScratchFolder scratch("same_again");
  const RunOutput first = RunTexts(MoscowVector());
  RunTexts(MoscowVector({"-Zd"}));
  RunTexts(MoscowVector({"-d", "48"}));
  std::vector<std::string> next_day = MoscowVector();
  next_day[7] = "13";
  RunTexts(next_day);
  const RunOutput again = RunTexts(MoscowVector());
  EXPECT_EQ(first.longitude, again.longitude);
  EXPECT_EQ(first.speed, again.speed);
  EXPECT_EQ(first.latitude, again.latitude);
}

TEST(ResultFiles, RunsWithoutWritableFilesStillReturnTheChart) {
  const std::vector<std::string> base = {RepositoryArgv0(), "-b0", "qa", "7", "12", "1985",
                                         "14:05", "-3", "037e35", "55n45"};
  const RunOutput plain = RunTexts(base);
  // argv[11] "-L" triggers the crossing table; "-o" names a folder that does not exist.
  std::vector<std::string> rise_set = base;
  rise_set.insert(rise_set.end(), {"-Zd", "-L", "20", "-o", "/proc/none/chart.txt"});
  std::vector<std::string> events = base;
  events.insert(events.end(), {"-d", "-o0", "/proc/none/chart.txt"});
  // No file can be created under /proc, not even by root.
  const fs::path previous = fs::current_path();
  fs::current_path("/proc");
  const RunOutput rise_set_run = RunTexts(rise_set);
  const RunOutput events_run = RunTexts(events);
  fs::current_path(previous);
  ExpectSamePositions(plain, rise_set_run);
  ExpectSamePositions(plain, events_run);
}

TEST(ResultFiles, TwoThousandEightHundredEightyDivisionsStayWithinTheTables) {
  const ScratchFolder scratch("fine_scan");
  const RunOutput plain = RunTexts(MoscowVector());
  // The event scan runs last and writes "tmp.tmp"; the rise/set scan's file is checked apart.
  ExpectSamePositions(plain, RunTexts(MoscowVector({"-Zd", "-d", "2880"})));
  const std::string events = ReadBytes("tmp.tmp");
  const auto lines = std::count(events.begin(), events.end(), '\n');
  EXPECT_GT(lines, 0);
  EXPECT_LE(lines, kMaxDayEvents);
}

}  // namespace
}  // namespace kelvara::engine
