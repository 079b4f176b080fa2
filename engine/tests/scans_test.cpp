// The scans' detection, interpolation, ordering and line formats on synthetic samples.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "engine/angles.h"
#include "engine/event_scan.h"
#include "engine/rise_set_scan.h"
#include "engine/scan_text.h"

namespace kelvara::engine {
namespace {

// Windows-1251 two-letter and full sign names used below.
constexpr const char* kScorpioShort = "\xD1\xEA";
constexpr const char* kPiscesShort = "\xD0\xE1";

EngineState ResetState() {
  EngineState state;
  ResetEngineState(state);
  return state;
}

TEST(ScanText, ObjectColumnAndMinutes) {
  EXPECT_EQ("        Sun", ObjectColumn(2, "Sun"));
  EXPECT_EQ("      S Sun", ObjectColumn(0, "Sun"));
  EXPECT_EQ("    R Pluto", ObjectColumn(-1, "Pluto"));
  // Cut to eleven characters, never longer.
  EXPECT_EQ(" R Rigel Ke", ObjectColumn(-2, "Rigel Kent."));
  // Minutes are rounded, not carried into the degrees.
  EXPECT_EQ(29, SplitDegrees(29.9999).degrees);
  EXPECT_EQ(60, SplitDegrees(29.9999).minutes);
  EXPECT_EQ(30, SplitDegrees(-0.5).minutes);
  const SignPosition wrapped = SignOf(-0.25);
  EXPECT_EQ(12, wrapped.sign);
  EXPECT_NEAR(29.75, wrapped.within_deg, 1e-12);
}

// The lines are built without printf; every field must still read as printf would write it.
TEST(ScanText, FieldsReadAsPrintfWritesThem) {
  char expected[64];
  for (const int value : {0, 7, 42, 100, 12345, -1, -43, -2020, INT_MAX, INT_MIN}) {
    for (const int width : {1, 2, 4}) {
      std::string text = "x";
      AppendZeroPadded(text, value, width);
      std::snprintf(expected, sizeof expected, "x%0*d", width, value);
      EXPECT_EQ(expected, text) << value << " " << width;
    }
  }
  // Minutes of the rise/set lines, "%f", across rounding boundaries of the sixth decimal.
  for (const double minutes : {0.0, 0.0000005, 0.0000015, 0.0000025, 29.9999995, 59.9999996, 59.6, 1.0 / 3.0}) {
    HorizonEvent e{kSun, kRising, 60.0 + minutes, 2, 1.0, 1};
    std::snprintf(expected, sizeof expected, "01:%f 1 1", e.minutes - 60.0);
    EXPECT_EQ(expected, HorizonEventLine(e, "Sun", kScorpioShort).substr(0, std::string(expected).size()));
  }
  for (const char* name : {"", "Sun", "Rigel Kent.", "Kaus Austr. and more"}) {
    for (const int mark : {-2, 0, 2}) {
      std::snprintf(expected, sizeof expected, " %c %s", RetrogradeChar(mark), name);
      char column[16];
      std::snprintf(column, sizeof column, "%11.11s", expected);
      EXPECT_EQ(column, ObjectColumn(mark, name)) << name;
    }
  }
}

TEST(RiseSetScan, DetectsCrossingsOfHorizonAndMeridian) {
  // Rising in the east, setting in the west, interpolated on the altitudes; culminations
  // south (azimuth 270) and north (azimuth 90), interpolated on azimuth.
  struct Case {
    HorizonPosition prev, cur;
    int kind;
    double fraction;
  };
  for (const Case& c : {Case{{350.0, -1.0}, {10.0, 3.0}, kRising, 0.25},
                        Case{{170.0, 2.0}, {190.0, -2.0}, kSetting, 0.5},
                        Case{{268.0, 30.0}, {276.0, 30.0}, kSouthernMeridian, 0.25},
                        Case{{85.0, -20.0}, {95.0, -20.0}, kNorthernMeridian, 0.5}}) {
    const auto crossing = DetectHorizonCrossing(c.prev, c.cur);
    ASSERT_TRUE(crossing) << c.kind;
    EXPECT_EQ(c.kind, crossing->kind);
    EXPECT_DOUBLE_EQ(c.fraction, crossing->fraction) << c.kind;
  }
  EXPECT_FALSE(DetectHorizonCrossing({20.0, 5.0}, {40.0, 9.0}));
}

TEST(RiseSetScan, SamplesExactlyOnTheHorizonOrMeridianGiveOneEvent) {
  // Altitude zero counts as below: 0 -> up is a rising, down -> 0 a setting, 0 -> down none.
  EXPECT_TRUE(DetectHorizonCrossing({10.0, 0.0}, {20.0, 1.0}));
  EXPECT_FALSE(DetectHorizonCrossing({170.0, 0.0}, {175.0, -1.0}));
  const HorizonPosition path[] = {{89.0, -10.0}, {90.0, -10.0}, {91.0, -10.0}};
  int found = 0;
  for (int i = 1; i < 3; ++i) found += DetectHorizonCrossing(path[i - 1], path[i]) ? 1 : 0;
  EXPECT_EQ(1, found);
}

TEST(RiseSetScan, EventTimePlaceAndMark) {
  // Step 10 of 48, a quarter in: (10.25) * 30 minutes; longitude across 0 Aries.
  const ObjectSample prev{359.0, 0.2, {}};
  const ObjectSample cur{1.0, -0.1, {}};
  const HorizonEvent e = MakeHorizonEvent(kMoon, {kRising, 0.75}, 10, 48, prev, cur);
  EXPECT_DOUBLE_EQ(10.75 * 30.0, e.minutes);
  EXPECT_EQ(1, e.sign);
  EXPECT_NEAR(0.5, e.within_sign_deg, 1e-9);
  EXPECT_EQ(0, e.retrograde_mark);
}

TEST(RiseSetScan, LineFormatByteForByte) {
  HorizonEvent sunrise{kSun, kRising, 6 * 60 + 23.5, 2, 15.0 + 23.0 / 60.0, 8};
  EXPECT_EQ(std::string("06:23.500000 1 1        Sun (15\xB0") + "23'" + kScorpioShort + ") \n",
            HorizonEventLine(sunrise, "Sun", kScorpioShort));
  // 59.6 minutes stay 59.6; longitude minutes that round up print as 60.
  HorizonEvent late{kMoon, kSetting, 5 * 60 + 59.6, -2, 29.9999, 12};
  EXPECT_EQ(std::string("05:59.600000 2 3     R Moon (29\xB0") + "60'" + kPiscesShort + ") \n",
            HorizonEventLine(late, "Moon", kPiscesShort));
}

TEST(RiseSetScan, EqualTimesKeepDiscoveryOrderAndTheTableIsBounded) {
  HorizonEventTable table;
  for (int i = 0; i < 2 * kMaxDayEvents; ++i) {
    HorizonEvent e;
    e.object = i;
    e.minutes = (i % 3 == 0) ? 100.0 : 50.0;
    table.Add(e);
  }
  ASSERT_EQ(static_cast<std::size_t>(kMaxDayEvents), table.size());
  EXPECT_FALSE(table.Add(HorizonEvent{}));
  table.SortByTime();
  int last_object = -1;
  double last_minutes = 0.0;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i].minutes == last_minutes) {
      EXPECT_GT(table[i].object, last_object);
    }
    EXPECT_GE(table[i].minutes, last_minutes);
    last_object = table[i].object;
    last_minutes = table[i].minutes;
  }
}

TEST(RiseSetScan, ObserverConvertsTheStoredDegreesAndMinutes) {
  ChartInput moscow;
  moscow.longitude = -37.35;  // 37e35
  moscow.latitude = 55.45;    // 55n45
  const Observer o = ObserverOf(moscow);
  EXPECT_NEAR(55.75 * kDegToRad, o.latitude_rad, 1e-12);
  EXPECT_NEAR(360.0 - (37.0 + 35.0 / 60.0), o.longitude_west_deg, 1e-9);
}

TEST(EventScan, IngressesInBothDirectionsAndAcrossAries) {
  auto direct = DetectIngress(29.5, 30.5);
  ASSERT_TRUE(direct);
  EXPECT_DOUBLE_EQ(0.5, direct->fraction);
  EXPECT_EQ(2, direct->new_sign);
  // Printed just short of the boundary, in the sign being left.
  EXPECT_NEAR(29.9995, direct->position_deg, 1e-9);
  auto back = DetectIngress(30.25, 29.25);
  ASSERT_TRUE(back);
  EXPECT_EQ(1, back->new_sign);
  EXPECT_DOUBLE_EQ(0.25, back->fraction);
  EXPECT_EQ(2, SignOf(back->position_deg).sign);
  auto aries = DetectIngress(359.0, 2.0);
  ASSERT_TRUE(aries);
  EXPECT_EQ(1, aries->new_sign);
  EXPECT_NEAR(1.0 / 3.0, aries->fraction, 1e-12);
  EXPECT_FALSE(DetectIngress(31.0, 59.0));
}

TEST(EventScan, StationsAndAspects) {
  auto station = DetectStation(0.01, -0.03);
  ASSERT_TRUE(station);
  EXPECT_DOUBLE_EQ(0.25, *station);
  EXPECT_FALSE(DetectStation(-0.01, -0.03));

  // The Moon passes the Sun's opposite point a third of the way through the step.
  const MovingSample sun_prev{100.0, 20.0, 0.017}, sun_cur{101.0, 20.1, 0.017};
  const MovingSample moon_prev{274.0, -10.0, 0.21}, moon_cur{286.0, -12.0, 0.21};
  auto full = DetectAspect(2, kSun, kMoon, sun_prev, sun_cur, moon_prev, moon_cur);
  ASSERT_TRUE(full);
  EXPECT_NEAR(6.0 / 11.0, full->minutes, 1e-12);  // the fraction, before the step places it
  EXPECT_NEAR(100.0 + 6.0 / 11.0, full->first_position, 1e-9);
  EXPECT_NEAR(274.0 + 72.0 / 11.0, full->second_position, 1e-9);
  EXPECT_FALSE(DetectAspect(3, kSun, kMoon, sun_prev, sun_cur, moon_prev, moon_cur));

  // Contraparallel: 20.05 N against a declination passing 20.05 S; printed as they are.
  const MovingSample down_prev{0.0, -19.0, 0.2}, down_cur{0.0, -21.1, 0.2};
  auto cp = DetectAspect(kContraparallel, kSun, kMoon, sun_prev, sun_cur, down_prev, down_cur);
  ASSERT_TRUE(cp);
  EXPECT_NEAR(0.5, cp->minutes, 1e-9);
  EXPECT_NEAR(-20.05, cp->second_position, 1e-9);
  EXPECT_FALSE(DetectAspect(kParallel, kSun, kMoon, sun_prev, sun_cur, down_prev, down_cur));
}

TEST(EventScan, LineFormats) {
  const EngineState names = ResetState();
  const ScanDate date{3, 20, 2020};
  ScanEvent equinox{3 * 60 + 50.4, kIngress, kSun, 1, 359.99, 0.0, 2, 0};
  EXPECT_EQ(std::string("20.03.2020 03:50        Sun (29\xB0") + "59'\xD0\xE1) --> \xCE\xE2\xE5\xED" +
                " (\xc2\xe5\xf1\xe5\xed\xed\xe8\xe5 \xf0\xe0\xe2\xed\xee\xe4\xe5\xed\xf1\xf2\xe2"
                "\xe8\xe5)\n",
            ScanEventLine(equinox, date, names));
  // 59.6 minutes past five is six o'clock, not 05:60.
  ScanEvent station{5 * 60 + 59.6, kStation, kMercury, 1, 15.5, 0.0, 0, 0};
  EXPECT_EQ(std::string("20.03.2020 06:00  S Mercury (15\xB0") + "30'\xCE\xE2) S/R\n",
            ScanEventLine(station, date, names));
  ScanEvent full{600.0, 2, kSun, kMoon, 0.5, 180.5, 2, 2};
  EXPECT_EQ(std::string("20.03.2020 10:00        Sun (00\xB0") + "30'\xCE\xE2) 180\xB0 (00\xB0" +
                "30'\xC2\xF1) Moon   (\xcf\xee\xeb\xed\xee\xeb\xf3\xed\xe8\xe5)\n",
            ScanEventLine(full, date, names));
  ScanEvent parallel{0.0, kParallel, kMars, kVenus, -5.25, 5.5, -2, 2};
  EXPECT_EQ(std::string("20.03.2020 00:00     R Mars (05\xB0") + "15' S)  PP  (05\xB0" +
                "30' N) Venus  \n",
            ScanEventLine(parallel, date, names));
}

TEST(EventScan, DaysRangesAndTheCalendarReform) {
  EXPECT_EQ((ScanDate{10, 15, 1582}), NextScanDate({10, 4, 1582}));
  EXPECT_EQ((ScanDate{1, 1, 2021}), NextScanDate({12, 31, 2020}));
  EXPECT_EQ((ScanDate{2, 29, 2000}), NextScanDate({2, 28, 2000}));
  EXPECT_EQ((ScanDate{3, 1, 1900}), NextScanDate({2, 28, 1900}));

  EngineState state = ResetState();
  state.coreChart.month = 2;
  state.coreChart.day = 10;
  state.coreChart.year = 2024;
  const ScanRange day = ScanRangeOf(state);
  EXPECT_EQ(day.first, day.last);
  state.settings.scanMonthYear = 1;
  state.progressionInput.month = 1;
  EXPECT_EQ((ScanDate{2, 29, 2024}), ScanRangeOf(state).last);
  state.progressionInput.month = 0;
  state.settings.scanYears = 3;
  EXPECT_EQ((ScanDate{1, 1, 2024}), ScanRangeOf(state).first);
  EXPECT_EQ((ScanDate{12, 31, 2026}), ScanRangeOf(state).last);
  // An unbounded count ends: capped years, and no year past the largest int.
  state.settings.scanYears = INT_MAX;
  EXPECT_EQ(2024 + kMaxScanYears - 1, ScanRangeOf(state).last.year);
  state.coreChart.year = INT_MAX - 2;
  EXPECT_EQ(INT_MAX, ScanRangeOf(state).last.year);
}

}  // namespace
}  // namespace kelvara::engine
