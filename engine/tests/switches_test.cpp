#include "engine/switches.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvara::engine {
namespace {

struct Parsed {
  bool ok;
  EngineState state;
};

Parsed Parse(std::vector<std::string> switches) {
  switches.insert(switches.begin(), "---/");
  std::vector<const char*> args;
  for (const std::string& s : switches) args.push_back(s.c_str());
  Parsed parsed{false, {}};
  ResetEngineState(parsed.state);
  parsed.state.initialParse = true;
  parsed.ok = ParseSwitches(parsed.state, static_cast<int>(args.size()), args.data());
  return parsed;
}

const std::vector<std::string> kChart = {"qa", "7", "12", "1985", "14:05", "-3", "037e35", "55n45"};

std::vector<std::string> With(std::vector<std::string> head, const std::vector<std::string>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

TEST(Switches, PrefixRuleForFlags) {
  // new = (prefix '=' or old) and not prefix '_', toggled for '-', '/' and no prefix.
  struct Case {
    char prefix;
    int from_0;
    int from_1;
  };
  for (const Case c : {Case{'-', 1, 0}, Case{'/', 1, 0}, Case{'\0', 1, 0}, Case{'=', 1, 1},
                       Case{'_', 0, 0}, Case{':', 0, 1}}) {
    EXPECT_EQ(c.from_0, ApplyPrefix(c.prefix, 0)) << c.prefix;
    EXPECT_EQ(c.from_1, ApplyPrefix(c.prefix, 1)) << c.prefix;
  }
  EXPECT_EQ(1, Parse({"=b"}).state.settings.useEphemerisFiles);
  EXPECT_EQ(1, Parse({"-b", "=b"}).state.settings.useEphemerisFiles);
  EXPECT_EQ(0, Parse({"-b", "_b"}).state.settings.useEphemerisFiles);
  EXPECT_EQ(1, Parse({"-b", ":b"}).state.settings.useEphemerisFiles);
  EXPECT_EQ(0, Parse({":b"}).state.settings.useEphemerisFiles);
  EXPECT_EQ(1, Parse({"b"}).state.settings.useEphemerisFiles);
}

TEST(Switches, EphemerisAndNodeSwitches) {
  const EngineSettings twice = Parse({"-b0", "-b0"}).state.settings;
  EXPECT_EQ(0, twice.useEphemerisFiles);
  EXPECT_EQ(0, twice.secondsFlag);
  const EngineSettings ba = Parse({"-ba"}).state.settings;
  EXPECT_EQ(1, ba.flagBa);
  EXPECT_EQ(1, ba.useEphemerisFiles);
  EXPECT_EQ(1, Parse({"-Yn"}).state.settings.trueNode);
  EXPECT_EQ(0, Parse({"-Yn"}).state.settings.flagY);
  EXPECT_EQ(1, Parse({"-Y"}).state.settings.flagY);
  const EngineSettings other = Parse({"-Yx"}).state.settings;
  EXPECT_EQ(0, other.flagY + other.trueNode);
}

TEST(Switches, ChartFormsWithAndWithoutPrefix) {
  const Parsed bare = Parse(kChart);
  ASSERT_TRUE(bare.ok);
  const ChartInput& c = bare.state.chartInput;
  EXPECT_EQ(7, c.month);
  EXPECT_EQ(12, c.day);
  EXPECT_EQ(1985, c.year);
  EXPECT_DOUBLE_EQ(14.05, c.time);
  EXPECT_DOUBLE_EQ(0.0, c.dst);
  EXPECT_DOUBLE_EQ(-3.0, c.zone);
  EXPECT_DOUBLE_EQ(-37.35, c.longitude);
  EXPECT_DOUBLE_EQ(55.45, c.latitude);
  std::vector<std::string> prefixed = kChart;
  prefixed[0] = "-qa";
  const ChartInput& p = Parse(prefixed).state.chartInput;
  EXPECT_EQ(c.month, p.month);
  EXPECT_DOUBLE_EQ(c.longitude, p.longitude);
}

TEST(Switches, ShortChartFormsTakeTheDefaultPlace) {
  const ChartInput q = Parse({"-q", "jul", "12", "44BC", "2:30pm"}).state.chartInput;
  EXPECT_EQ(7, q.month);
  EXPECT_EQ(-43, q.year);
  EXPECT_DOUBLE_EQ(14.30, q.time);
  EXPECT_DOUBLE_EQ(8.0, q.zone);
  EXPECT_DOUBLE_EQ(122.2, q.longitude);
  EXPECT_DOUBLE_EQ(47.36, q.latitude);
  const ChartInput b = Parse({"-qb", "7", "12", "1985", "14:05", "DT", "EST", "122W20", "33S52"})
                           .state.chartInput;
  EXPECT_DOUBLE_EQ(1.0, b.dst);
  EXPECT_DOUBLE_EQ(5.0, b.zone);
  EXPECT_DOUBLE_EQ(-33.52, b.latitude);
  EXPECT_DOUBLE_EQ(12.0, Parse({"-qd", "7", "12", "1985"}).state.chartInput.time);
  const ChartInput m = Parse({"-qm", "March", "2001"}).state.chartInput;
  EXPECT_EQ(3, m.month);
  EXPECT_EQ(1, m.day);
  EXPECT_DOUBLE_EQ(0.0, m.time);
  const ChartInput y = Parse({"-qy", "2001"}).state.chartInput;
  EXPECT_EQ(1, y.month);
  EXPECT_EQ(2001, y.year);
}

TEST(Switches, JulianDayFormGivesAnHmmClockTime) {
  const ChartInput j = Parse({"-qj", "2451545.1"}).state.chartInput;
  EXPECT_EQ(1, j.month);
  EXPECT_EQ(1, j.day);
  EXPECT_EQ(2000, j.year);
  EXPECT_NEAR(14.24, j.time, 1e-6);  // 14.4 hours is 14:24
  EXPECT_DOUBLE_EQ(0.0, j.zone);
  EXPECT_DOUBLE_EQ(122.2, j.longitude);
}

TEST(Switches, MissingChartValuesFailTheParse) {
  EXPECT_FALSE(Parse({"qa", "7", "12", "1985", "14:05", "-3", "037e35"}).ok);
  EXPECT_FALSE(Parse({"-qb", "7", "12", "1985", "14:05", "0", "-3", "037e35"}).ok);
  EXPECT_FALSE(Parse({"-q", "7", "12", "1985"}).ok);
  EXPECT_FALSE(Parse({"-qj"}).ok);
  EXPECT_TRUE(Parse({"-qy", "1"}).ok);
}

TEST(Switches, HouseSystemArgument) {
  EXPECT_EQ(0, Parse({"-c", "0"}).state.settings.houseSystem);
  EXPECT_EQ(1, Parse({"-c", "Koch"}).state.settings.houseSystem);
  EXPECT_EQ(14, Parse({"-c", "14"}).state.settings.houseSystem);
  EXPECT_FALSE(Parse({"-c", "15"}).ok);
  EXPECT_FALSE(Parse({"-c", "-1"}).ok);
  EXPECT_FALSE(Parse({"-c"}).ok);
}

TEST(Switches, SiderealOffsetIsConsumedOnlyWhenItLooksLikeANumber) {
  const EngineSettings s = Parse({"-s", "5.5"}).state.settings;
  EXPECT_DOUBLE_EQ(5.5, s.zodiacOffset);
  EXPECT_EQ(1, s.sidereal);
  const Parsed zero = Parse(With({"-sr", "0"}, kChart));
  EXPECT_TRUE(zero.ok);
  EXPECT_EQ(1, zero.state.settings.equatorial);
  EXPECT_DOUBLE_EQ(0.0, zero.state.settings.zodiacOffset);
  // "qa" reads as zero and starts with a letter: it stays a switch.
  const Parsed chart = Parse(With({"-sr"}, kChart));
  EXPECT_EQ(7, chart.state.chartInput.month);
  EXPECT_EQ(0, chart.state.settings.sidereal);
  // The front-end's house-system number after "-sr" would become the offset.
  EngineState state;
  ResetEngineState(state);
  state.settings.houseSystem = kEqual;
  const char* args[] = {"---/", "-sr", "5"};
  EXPECT_TRUE(ParseSwitches(state, 3, args));
  EXPECT_EQ(kEqual, state.settings.houseSystem);
  EXPECT_DOUBLE_EQ(5.0, state.settings.zodiacOffset);
  EXPECT_FALSE(Parse({"-s", "400"}).ok);
  EXPECT_FALSE(Parse({"-s", "1e999"}).ok);
  EXPECT_TRUE(Parse({"-s", "-360"}).ok);
  EXPECT_EQ(1, Parse({"-sh"}).state.settings.siderealDisplay);
  EXPECT_EQ(2, Parse({"-sd"}).state.settings.siderealDisplay);
  EXPECT_EQ(0, Parse({"-sd", "-sz"}).state.settings.siderealDisplay);
}

TEST(Switches, EventScanDivisionsAndForms) {
  const EngineSettings zero = Parse({"-d", "0"}).state.settings;
  EXPECT_EQ(1, zero.eventScan);
  EXPECT_EQ(12, zero.scanDivisions);
  EXPECT_EQ(24, Parse({"-d", "24"}).state.settings.scanDivisions);
  EXPECT_FALSE(Parse({"-d", "3000"}).ok);
  EXPECT_FALSE(Parse({"-d", "-3"}).ok);

  const Parsed month = Parse({"-dm"});
  EXPECT_EQ(1, month.state.settings.scanMonthYear);
  EXPECT_EQ(1, month.state.progressionInput.month);
  EXPECT_EQ(1, month.state.settings.eventScan);
  const Parsed year = Parse({"-dy"});
  EXPECT_EQ(1, year.state.settings.scanYears);
  EXPECT_EQ(0, year.state.progressionInput.month);
  EXPECT_EQ(3, Parse({"-dY", "3"}).state.settings.scanYears);
  EXPECT_FALSE(Parse({"-dY", "0"}).ok);
  EXPECT_FALSE(Parse({"-dY"}).ok);
}

TEST(Switches, ProgressedScanTarget) {
  const Parsed p = Parse({"-dp", "5", "1990"});
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(5, p.state.progressionInput.month);
  EXPECT_EQ(1990, p.state.progressionInput.year);
  EXPECT_DOUBLE_EQ(8.0, p.state.progressionInput.zone);
  EXPECT_EQ(1, p.state.settings.progressedScan);
  EXPECT_EQ(1, p.state.settings.scanMonthYear);
  EXPECT_EQ(1, p.state.settings.eventScan);
  EXPECT_EQ(0, p.state.settings.progressedZero);
  const Parsed y = Parse({"-dpy", "1990"});
  EXPECT_EQ(0, y.state.progressionInput.month);
  EXPECT_EQ(1, y.state.settings.scanYears);
  const Parsed zero = Parse({"-dp0Y", "1990", "4"});
  EXPECT_EQ(1, zero.state.settings.progressedZero);
  EXPECT_EQ(4, zero.state.settings.scanYears);
  EXPECT_FALSE(Parse({"-dp", "13", "1990"}).ok);
  EXPECT_FALSE(Parse({"-dp", "5", "30000"}).ok);
  EXPECT_FALSE(Parse({"-dp", "5"}).ok);
}

TEST(Switches, HorizonAndCrossingSwitches) {
  const EngineSettings rise = Parse({"-Zd"}).state.settings;
  EXPECT_EQ(1, rise.horizonScan);
  EXPECT_EQ(1, rise.riseSetScan);
  EXPECT_EQ(1, Parse({"-Z0"}).state.settings.horizonZero);
  const EngineSettings cross = Parse({"-L0", "10"}).state.settings;
  EXPECT_EQ(10, cross.crossingStep);
  EXPECT_EQ(1, cross.crossingTable);
  EXPECT_EQ(1, cross.crossingZero);
  EXPECT_EQ(5, Parse({"-L", "x"}).state.settings.crossingStep);
}

TEST(Switches, ChartFileRecordsTheElementsAfterIt) {
  const Parsed p = Parse({"-o", "chart.txt", "a", "b", "-c", "3"});
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(1, p.state.settings.writeChartFile);
  EXPECT_EQ("chart.txt", p.state.settings.chartFileName);
  EXPECT_EQ((std::vector<std::string>{"chart.txt", "a", "b"}), p.state.chartFileSwitches);
  EXPECT_EQ(3, p.state.settings.houseSystem);
  EXPECT_EQ(1, Parse({"-o0", "x"}).state.settings.chartFileZero);
  EXPECT_FALSE(Parse({"-o"}).ok);
  EXPECT_EQ("out.txt", Parse({"-os", "out.txt"}).state.settings.outputFileName);
  EXPECT_EQ("out.txt", Parse({">", "out.txt"}).state.settings.outputFileName);
  EXPECT_FALSE(Parse({">"}).ok);
}

TEST(Switches, StopUnknownAndEmptyElements) {
  EXPECT_EQ(1, Parse({"-b", ";", "-b"}).state.settings.useEphemerisFiles);
  const Parsed skipped = Parse({"-x", "", "-", "%", "-c", "3"});
  EXPECT_TRUE(skipped.ok);
  EXPECT_EQ(3, skipped.state.settings.houseSystem);
}

TEST(Switches, FailureKeepsWhatCameBefore) {
  const Parsed p = Parse({"-b", "-c", "15", "-Zd"});
  EXPECT_FALSE(p.ok);
  EXPECT_EQ(1, p.state.settings.useEphemerisFiles);
  EXPECT_EQ(0, p.state.settings.horizonScan);
}

TEST(Switches, NullElementsReadAsEmpty) {
  EngineState state;
  ResetEngineState(state);
  const char* args[] = {"---/", nullptr, "-c", nullptr};
  EXPECT_TRUE(ParseSwitches(state, 4, args));  // an empty house system reads as 0
  EXPECT_EQ(0, state.settings.houseSystem);
  EXPECT_FALSE(ParseSwitches(state, 3, args));
  EXPECT_TRUE(ParseSwitches(state, 0, nullptr));
}

}  // namespace
}  // namespace kelvara::engine
