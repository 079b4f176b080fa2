// Random and hostile switch vectors: the engine must neither crash nor hang, and the
// result arrays must always hold finite positions within their ranges.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "engine/engine_run.h"
#include "engine/records.h"
#include "engine/tests/run_vector.h"
#include "engine/tests/scratch_folder.h"

namespace kelvara::engine {
namespace {

constexpr int kVectorCount = 4000;
constexpr int kMaxElements = 24;

// Switch letters with their suffixes; prefixes are added at random. The '/' prefix is left
// out because an element can become a file name ("-os", "-o") and must stay in this folder.
// The event-scan family ("-d", "-dm", "-dY", "-dp" ...) is left to the scan tests: a random
// "-dY 1985" scans centuries, day by day, and would turn this loop into hours.
const std::vector<std::string> kSwitches = {
    "qa", "qb", "q", "qd", "qm", "qy", "qj", "c", "b", "b0", "ba", "Y", "Yn", "s", "sr",
    "sh", "sd", "sz", "Z", "Z0", "Zd", "L", "L0", "o", "o0", "os", ">", ";", "x", ""};
const std::vector<std::string> kPrefixes = {"", "-", "=", "_", ":"};
const std::vector<std::string> kValues = {
    "0", "1", "-1", "12", "15", "2880", "3000", "400", "-360", "1985", "44BC", "44 b.c.",
    "jan", "December", "Koch", "Placidus", "14:05", "2:30pm", "noon", "M", "LMT", "EST",
    "-3", "24", "-24", "037e35", "037E36", "122W20", "55n45", "33S52", "90.00", "-90",
    "89.9999", "1e308", "-1e308", "1e999", "99999999999999999999", "-2147483648", "nan",
    "inf", "-inf", ".", "+", "-", "2451545.0", "-1e9", "1e300", "0x1F", "\t \n"};

// Runs in a scratch folder: random vectors name output files.
class Fuzz : public ::testing::Test {
 protected:
  std::string Garbage(std::size_t length) {
    std::uniform_int_distribution<int> byte(1, 255);
    std::string text;
    while (text.size() < length) {
      const char c = static_cast<char>(byte(random_));
      if (c != '/' && c != '\\') text.push_back(c);
    }
    return text;
  }

  template <typename T>
  const T& Pick(const std::vector<T>& pool) {
    return pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random_)];
  }

  std::string Argv0() {
    switch (random_() % 6) {
      case 0: return "";
      case 1: return "-";
      case 2: return "--";
      case 3: return "-xx\\Dir\\";
      case 4: return "---" + Garbage(2000);
      default: return "---" + scratch_.path().string() + "/";
    }
  }

  std::string Element() {
    switch (random_() % 8) {
      case 0: case 1: case 2: return Pick(kPrefixes) + Pick(kSwitches);
      case 3: case 4: case 5: return Pick(kValues);
      case 6: return Garbage(1 + random_() % 12);
      default: return Garbage(2000);
    }
  }

  std::vector<std::string> Vector() {
    std::vector<std::string> v = {Argv0()};
    const int count = static_cast<int>(random_() % (kMaxElements + 1));
    for (int i = 0; i < count; ++i) v.push_back(Element());
    return v;
  }

  std::mt19937 random_{20260101};
  ScratchFolder scratch_{"engine_fuzz"};
};

TEST_F(Fuzz, RandomVectorsLeaveFiniteResults) {
  for (int n = 0; n < kVectorCount; ++n) {
    const testing::RunOutput run = testing::RunTexts(Vector());
    ASSERT_EQ(0, run.status) << "vector " << n;
    ASSERT_TRUE(testing::FinitePositions(run)) << "vector " << n;
    for (const char* name : ProcessEngineState().objectNames) ASSERT_NE(nullptr, name);
  }
}

// Years millions out: the series may still give numbers (meaningless, but finite), or
// overflow while the angles compute, as in this fuzzer's find; then the moment casts nothing
// and the tables keep the chart before it.
TEST_F(Fuzz, YearsBeyondTheSeriesLeaveFiniteResults) {
  const testing::RunOutput moscow = testing::RunTexts(testing::MoscowTexts());
  const std::string argv0 = testing::RepositoryArgv0();
  const testing::RunOutput overflow = testing::RunTexts(
      {argv0, "-Yn", "0-b-", "c", "0", "qa", "0*", "", "8299033", "23:E105S", "9", "T", "12\xb9U20"});
  ASSERT_TRUE(testing::FinitePositions(overflow));
  EXPECT_TRUE(std::isfinite(overflow.delta_t_s));
  EXPECT_EQ(moscow.longitude, overflow.longitude);
  for (const char* year : {"8299033", "-50000000", "2147483647"}) {
    std::vector<std::string> texts = testing::MoscowTexts();
    texts[8] = year;
    const testing::RunOutput run = testing::RunTexts(texts);
    EXPECT_TRUE(testing::FinitePositions(run)) << year;
    EXPECT_TRUE(std::isfinite(run.delta_t_s)) << year;
  }
}

TEST_F(Fuzz, FrontEndVectorWithHostileValuesInEveryPosition) {
  // Only the longitudes are asked for: the other arrays may be null.
  const std::vector<std::string> base = testing::MoscowTexts("---/");
  for (std::size_t position = 1; position < base.size(); ++position) {
    for (const std::string& value : kValues) {
      std::vector<std::string> texts = base;
      texts[position] = value;
      std::vector<char*> argv;
      for (std::string& t : texts) argv.push_back(t.data());
      std::array<double, kResultCount> lon{};
      EngineRun(static_cast<int>(argv.size()), argv.data(), lon.data(), nullptr, nullptr);
      for (double x : lon) ASSERT_TRUE(std::isfinite(x)) << position << " = " << value;
    }
  }
}

}  // namespace
}  // namespace kelvara::engine
