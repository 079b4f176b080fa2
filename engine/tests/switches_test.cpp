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

// One setting after parsing the switches, as an integer.
template <typename T>
int Setting(std::vector<std::string> switches, T EngineSettings::*member) {
  return static_cast<int>(Parse(std::move(switches)).state.settings.*member);
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
  // The rule as the parser applies it to a flag switch, "-b" setting it first.
  struct Run {
    std::vector<std::string> switches;
    int files;
  };
  for (const Run& r : {Run{{"=b"}, 1}, Run{{"-b", "=b"}, 1}, Run{{"-b", "_b"}, 0},
                       Run{{"-b", ":b"}, 1}, Run{{":b"}, 0}, Run{{"b"}, 1}}) {
    EXPECT_EQ(r.files, Setting(r.switches, &EngineSettings::useEphemerisFiles)) << r.switches.back();
  }
}

TEST(Switches, RejectedVectorsFailTheParse) {
  const std::vector<std::vector<std::string>> rejected = {
      // chart forms missing a value
      {"qa", "7", "12", "1985", "14:05", "-3", "037e35"},
      {"-qb", "7", "12", "1985", "14:05", "0", "-3", "037e35"},
      {"-q", "7", "12", "1985"}, {"-qj"},
      // values out of range or missing
      {"-c", "15"}, {"-c", "-1"}, {"-c"}, {"-s", "400"}, {"-s", "1e999"},
      {"-d", "3000"}, {"-d", "-3"}, {"-dY", "0"}, {"-dY"},
      {"-dp", "13", "1990"}, {"-dp", "5", "30000"}, {"-dp", "5"}, {"-o"}, {">"}};
  for (const auto& switches : rejected) EXPECT_FALSE(Parse(switches).ok) << switches[0];
  for (const auto& switches : std::vector<std::vector<std::string>>{{"-qy", "1"}, {"-s", "-360"}}) {
    EXPECT_TRUE(Parse(switches).ok) << switches[0];
  }
}

TEST(Switches, EphemerisAndNodeSwitches) {
  const EngineSettings twice = Parse({"-b0", "-b0"}).state.settings;
  EXPECT_EQ(0, twice.useEphemerisFiles + twice.secondsFlag);
  const EngineSettings ba = Parse({"-ba"}).state.settings;
  EXPECT_EQ(1, ba.flagBa);
  EXPECT_EQ(1, ba.useEphemerisFiles);
  const EngineSettings yn = Parse({"-Yn"}).state.settings;
  EXPECT_EQ(1, yn.trueNode);
  EXPECT_EQ(0, yn.flagY);
  EXPECT_EQ(1, Setting({"-Y"}, &EngineSettings::flagY));
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
  // The Julian day form gives an H.MM clock time: 14.4 hours is 14:24.
  const ChartInput j = Parse({"-qj", "2451545.1"}).state.chartInput;
  EXPECT_EQ(1, j.month);
  EXPECT_EQ(1, j.day);
  EXPECT_EQ(2000, j.year);
  EXPECT_NEAR(14.24, j.time, 1e-6);
  EXPECT_DOUBLE_EQ(0.0, j.zone);
  EXPECT_DOUBLE_EQ(122.2, j.longitude);
}

TEST(Switches, HouseSystemArgument) {
  EXPECT_EQ(0, Setting({"-c", "0"}, &EngineSettings::houseSystem));
  EXPECT_EQ(1, Setting({"-c", "Koch"}, &EngineSettings::houseSystem));
  EXPECT_EQ(14, Setting({"-c", "14"}, &EngineSettings::houseSystem));
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
  EXPECT_EQ(1, Setting({"-sh"}, &EngineSettings::siderealDisplay));
  EXPECT_EQ(2, Setting({"-sd"}, &EngineSettings::siderealDisplay));
  EXPECT_EQ(0, Setting({"-sd", "-sz"}, &EngineSettings::siderealDisplay));
}

TEST(Switches, EventScanDivisionsAndForms) {
  const EngineSettings zero = Parse({"-d", "0"}).state.settings;
  EXPECT_EQ(1, zero.eventScan);
  EXPECT_EQ(12, zero.scanDivisions);
  EXPECT_EQ(24, Setting({"-d", "24"}, &EngineSettings::scanDivisions));
  const Parsed month = Parse({"-dm"});
  EXPECT_EQ(1, month.state.settings.scanMonthYear);
  EXPECT_EQ(1, month.state.progressionInput.month);
  EXPECT_EQ(1, month.state.settings.eventScan);
  const Parsed year = Parse({"-dy"});
  EXPECT_EQ(1, year.state.settings.scanYears);
  EXPECT_EQ(0, year.state.progressionInput.month);
  EXPECT_EQ(3, Setting({"-dY", "3"}, &EngineSettings::scanYears));
}

TEST(Switches, ProgressedScanTarget) {
  const Parsed p = Parse({"-dp", "5", "1990"});
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(5, p.state.progressionInput.month);
  EXPECT_EQ(1990, p.state.progressionInput.year);
  EXPECT_DOUBLE_EQ(8.0, p.state.progressionInput.zone);
  const EngineSettings& s = p.state.settings;
  EXPECT_EQ(1, s.progressedScan);
  EXPECT_EQ(1, s.scanMonthYear);
  EXPECT_EQ(1, s.eventScan);
  EXPECT_EQ(0, s.progressedZero);
  const Parsed y = Parse({"-dpy", "1990"});
  EXPECT_EQ(0, y.state.progressionInput.month);
  EXPECT_EQ(1, y.state.settings.scanYears);
  const EngineSettings zero = Parse({"-dp0Y", "1990", "4"}).state.settings;
  EXPECT_EQ(1, zero.progressedZero);
  EXPECT_EQ(4, zero.scanYears);
}

TEST(Switches, HorizonAndCrossingSwitches) {
  const EngineSettings rise = Parse({"-Zd"}).state.settings;
  EXPECT_EQ(1, rise.horizonScan);
  EXPECT_EQ(1, rise.riseSetScan);
  EXPECT_EQ(1, Setting({"-Z0"}, &EngineSettings::horizonZero));
  const EngineSettings cross = Parse({"-L0", "10"}).state.settings;
  EXPECT_EQ(10, cross.crossingStep);
  EXPECT_EQ(1, cross.crossingTable);
  EXPECT_EQ(1, cross.crossingZero);
  EXPECT_EQ(5, Setting({"-L", "x"}, &EngineSettings::crossingStep));
}

TEST(Switches, ChartFileRecordsTheElementsAfterIt) {
  const Parsed p = Parse({"-o", "chart.txt", "a", "b", "-c", "3"});
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(1, p.state.settings.writeChartFile);
  EXPECT_EQ("chart.txt", p.state.settings.chartFileName);
  EXPECT_EQ((std::vector<std::string>{"chart.txt", "a", "b"}), p.state.chartFileSwitches);
  EXPECT_EQ(3, p.state.settings.houseSystem);
  EXPECT_EQ(1, Setting({"-o0", "x"}, &EngineSettings::chartFileZero));
  EXPECT_EQ("out.txt", Parse({"-os", "out.txt"}).state.settings.outputFileName);
  EXPECT_EQ("out.txt", Parse({">", "out.txt"}).state.settings.outputFileName);
}

TEST(Switches, StopUnknownEmptyAndNullElements) {
  EXPECT_EQ(1, Setting({"-b", ";", "-b"}, &EngineSettings::useEphemerisFiles));
  const Parsed skipped = Parse({"-x", "", "-", "%", "-c", "3"});
  EXPECT_TRUE(skipped.ok);
  EXPECT_EQ(3, skipped.state.settings.houseSystem);
  EngineState state;
  ResetEngineState(state);
  const char* args[] = {"---/", nullptr, "-c", nullptr};
  EXPECT_TRUE(ParseSwitches(state, 4, args));  // an empty house system reads as 0
  EXPECT_EQ(0, state.settings.houseSystem);
  EXPECT_FALSE(ParseSwitches(state, 3, args));
  EXPECT_TRUE(ParseSwitches(state, 0, nullptr));
}

TEST(Switches, FailureKeepsWhatCameBefore) {
  const Parsed p = Parse({"-b", "-c", "15", "-Zd"});
  EXPECT_FALSE(p.ok);
  EXPECT_EQ(1, p.state.settings.useEphemerisFiles);
  EXPECT_EQ(0, p.state.settings.horizonScan);
}

}  // namespace
}  // namespace kelvara::engine
