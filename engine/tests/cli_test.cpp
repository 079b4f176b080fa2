// The command-line driver as a user runs it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Output {
  int status;
  std::vector<std::string> lines;
};

Output RunDriver(const std::string& arguments) {
  const std::string command = std::string(KELVARA_BIN_DIR) + "/kelvara-engine " + arguments;
  Output out{-1, {}};
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) {
    std::string line(buffer);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    out.lines.push_back(line);
  }
  out.status = pclose(pipe);
  return out;
}

// The longitude column of an object line.
double LongitudeOnLine(const std::string& line) {
  std::istringstream in(line.substr(16));
  double longitude = 0.0;
  in >> longitude;
  return longitude;
}

TEST(Cli, PrintsThirtyThreeObjectLinesAndDeltaT) {
  const Output out = RunDriver("-Yn -b0 -c 0 qa 7 12 1985 14:05 -3 037e35 55n45");
  ASSERT_EQ(0, out.status);
  ASSERT_EQ(34u, out.lines.size());
  const std::regex line_format(R"(^[ \d]\d [ -~]{12} +-?\d+\.\d{8} +-?\d+\.\d{8} +-?\d+\.\d{8}$)");
  for (int i = 0; i < 33; ++i) EXPECT_TRUE(std::regex_match(out.lines[i], line_format)) << out.lines[i];
  // Delta T in July 1985: 54.9 s (IERS).
  const std::regex delta_t(R"(^# deltaT=54\.\d{3}$)");
  EXPECT_TRUE(std::regex_match(out.lines[33], delta_t)) << out.lines[33];
  // The Sun of that chart: 110.04 deg, 20 deg of Cancer; the Midheaven in the middle of Leo.
  EXPECT_NEAR(110.0365, LongitudeOnLine(out.lines[1]), 0.0005);
  EXPECT_EQ(" 0 Earth ", out.lines[0].substr(0, 9));
  EXPECT_EQ("30 Midheaven", out.lines[30].substr(0, 12));
  EXPECT_NEAR(131.66, LongitudeOnLine(out.lines[30]), 0.01);
}

TEST(Cli, HelpAndTheSouthNodeName) {
  const Output short_help = RunDriver("-h");
  EXPECT_EQ(0, short_help.status);
  const Output help = RunDriver("--help");
  EXPECT_EQ(0, help.status);
  ASSERT_FALSE(help.lines.empty());
  EXPECT_EQ(short_help.lines, help.lines);
  EXPECT_NE(std::string::npos, help.lines[0].find("Usage"));
  std::string text;
  for (const std::string& line : help.lines) text += line + "\n";
  for (const char* scan : {"-Zd", "-Z ", "-d [N]", "-dm", "-dY", "-dp", "-o0", "-L", "tmp.tmp",
                           "G_tmp.tmp"}) {
    EXPECT_NE(std::string::npos, text.find(scan)) << scan;
  }
  const Output without_files = RunDriver("-c 0 qa 7 12 1985 14:05 -3 037e35 55n45");
  ASSERT_EQ(34u, without_files.lines.size());
  EXPECT_EQ("17 S.Node", without_files.lines[17].substr(0, 9));
}

// Switches the engine's parser refuses: nothing on standard output, the word where the
// parse stops on standard error.
TEST(Cli, RefusedSwitchesNameTheWordAndFail) {
  const std::pair<std::string, std::string> cases[] = {
      {"-c 99 qa 7 12 1985 14:05 -3 037e35 55n45", "word 1, \"-c\""},
      {"-b0 -c 0 qa 7 12 1985 14:05 -3 037e35", "word 4, \"qa\""},  // no latitude
      {"-d 5000 qa 7 12 1985 14:05 -3 037e35 55n45", "word 2, \"5000\""},
      {"--table -b0 -c", "word 2, \"-c\""},
  };
  for (const auto& [switches, word] : cases) {
    const Output out = RunDriver(switches + " 2>/dev/null");
    EXPECT_TRUE(WIFEXITED(out.status) && WEXITSTATUS(out.status) == 2) << switches << ": " << out.status;
    EXPECT_TRUE(out.lines.empty()) << switches;
    const Output errors = RunDriver(switches + " 2>&1 >/dev/null");
    ASSERT_EQ(1u, errors.lines.size()) << switches;
    EXPECT_NE(std::string::npos, errors.lines[0].find(word)) << errors.lines[0];
  }
}

TEST(Cli, TableGivesSignsDegreesAndMinutes) {
  const Output out = RunDriver("--table -Yn -b0 -c 0 qa 7 12 1985 14:05 -3 037e35 55n45");
  ASSERT_EQ(0, out.status);
  ASSERT_EQ(35u, out.lines.size());  // heading, 33 objects, Delta T
  // Sun 110.0365 deg: Cancer ("Рк") 20 deg 02 min; Jupiter retrograde in Aquarius ("Вд").
  EXPECT_NE(std::string::npos, out.lines[2].find("Рк")) << out.lines[2];
  EXPECT_NE(std::string::npos, out.lines[2].find(" 20   2 ")) << out.lines[2];
  EXPECT_NE(std::string::npos, out.lines[7].find("Вд")) << out.lines[7];
  EXPECT_NE(std::string::npos, out.lines[7].find(" R ")) << out.lines[7];
}

}  // namespace
