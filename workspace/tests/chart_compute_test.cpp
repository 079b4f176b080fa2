#include "workspace/chart_compute.h"

#include <gtest/gtest.h>

#include "workspace/tests/fake_sky.h"

namespace kelvara::workspace {
namespace {

using testing::FakeSky;
using testing::Person;

// Every place keeps one offset, except "Дели" (5.5 h) and "Нигде" (unknown).
class FixedZones : public TimeZoneSource {
 public:
  std::optional<double> OffsetHoursAt(const std::string& place, double, double, double,
                                      bool) const override {
    if (place == "Нигде") return std::nullopt;
    return place == "Дели" ? 5.5 : 3.0;
  }
};

class ComputeChartTest : public ::testing::Test {
 protected:
  ComputeChartTest() {
    EXPECT_EQ(ComputeChart(natal_, Context()), ComputeResult::kComputed);
  }
  ComputeContext Context() const { return {sky_, &natal_, &clock_, &zones_, "Дели"}; }
  ChartRecord Derived(ChartKind kind, CalendarMoment local) const {
    return Person(std::string(KindName(kind)), local);
  }

  FakeSky sky_;
  testing::FixedClock clock_{{true, -60, -60, true, "", ""}};
  FixedZones zones_;
  ChartRecord natal_ = Person("Иван", {1985, 7, 12, 14, 5, 0}, 3.0);
};

TEST_F(ComputeChartTest, GreenwichUsesTheFullOffset) {
  EXPECT_EQ(natal_.greenwich, (CalendarMoment{1985, 7, 12, 11, 5, 0}));
  EXPECT_EQ(natal_.title, kTitleNatal);
  for (const auto& [local, offset, greenwich] :
       {std::tuple{CalendarMoment{2000, 1, 1, 0, 10, 0}, 5.5, CalendarMoment{1999, 12, 31, 18, 40, 0}},
        {CalendarMoment{2000, 1, 1, 12, 0, 0}, 5.75, CalendarMoment{2000, 1, 1, 6, 15, 0}}}) {
    ChartRecord chart = Person("Анна", local, offset);
    ComputeChart(chart, Context());
    EXPECT_EQ(chart.greenwich, greenwich) << offset;
  }
}

TEST_F(ComputeChartTest, BadInputIsRefusedAndLeavesThePositions) {
  const CalendarMoment noon{2000, 1, 1, 12, 0, 0};
  for (ChartRecord chart : {Person("А", {1859, 12, 31, 12, 0, 0}), Person("А", {2131, 1, 1, 12, 0, 0}),
                            Person("А", {2000, 2, 30, 12, 0, 0}), Person("А", noon, 13.5),
                            Person("А", noon, std::nan("")), Person("А", noon, 0.0, std::nan(""))}) {
    chart.objects[kSlotSun].longitude = 1.0;
    EXPECT_EQ(ComputeChart(chart, Context()), ComputeResult::kNotComputable);
    EXPECT_DOUBLE_EQ(chart.objects[kSlotSun].longitude, 1.0);
  }
}

TEST_F(ComputeChartTest, NowChartTakesTheClockAndTheNowPlacesOffset) {
  ChartRecord now = Person("Сейчас", {});
  EXPECT_EQ(ComputeChart(now, Context()), ComputeResult::kComputed);
  EXPECT_EQ(now.title, kTitleTransit);
  // The device clock reads 10:00 at +2 (08:00 Greenwich); the now place is at +5:30.
  EXPECT_DOUBLE_EQ(now.gmtOffsetHours, 5.5);  // the places database wins over the device zone
  EXPECT_EQ(now.greenwich, (CalendarMoment{2024, 3, 1, 8, 0, 0}));
  EXPECT_EQ(now.local, (CalendarMoment{2024, 3, 1, 13, 30, 0}));

  ComputeContext unknownPlace = Context();
  unknownPlace.nowPlace = "Нигде";
  ComputeChart(now, unknownPlace);
  EXPECT_DOUBLE_EQ(now.gmtOffsetHours, 2.0);  // -(bias + daylight bias) / 60
  EXPECT_EQ(now.local, (CalendarMoment{2024, 3, 1, 10, 0, 0}));

  ChartRecord stopped = Person("Останов", {2001, 1, 1, 0, 0, 0});
  ComputeChart(stopped, Context());
  EXPECT_EQ(stopped.local, (CalendarMoment{2001, 1, 1, 0, 0, 0}));
}

TEST_F(ComputeChartTest, DirectionWithZeroArcEqualsTheNatalChart) {
  ChartRecord directed = Derived(ChartKind::kSymbolicDirection, natal_.greenwich);
  EXPECT_EQ(ComputeChart(directed, Context()), ComputeResult::kComputed);
  EXPECT_EQ(directed.title, kTitleDirect);
  EXPECT_DOUBLE_EQ(directed.directionRate, kSymbolicRateDaysPerDegree);
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    if (slot == kSlotProserpina || slot > kSlotLastCusp) {
      // Not available, or no speed: left untouched.
      EXPECT_EQ(directed.objects[slot].longitude, natal_.objects[slot].longitude) << slot;
      continue;
    }
    EXPECT_NEAR(directed.objects[slot].longitude, natal_.objects[slot].longitude, 1e-9) << slot;
    EXPECT_DOUBLE_EQ(directed.objects[slot].speed, 1.0 / kSymbolicRateDaysPerDegree) << slot;
    EXPECT_EQ(directed.objects[slot].retrograde, 0);
  }
  EXPECT_DOUBLE_EQ(directed.objects[kSlotProserpina].speed, kNotAvailable);
}

TEST_F(ComputeChartTest, ProfectionOfOneTropicalYearMovesEveryPointThirtyDegrees) {
  // 365.24219907 days = 365 d 5 h 48 min 45.99965 s.
  const double target = HoursSince1860(natal_.greenwich) + 365 * 24.0 + 5.0 + 48.0 / 60 + 46.0 / 3600;
  ChartRecord profection = Derived(ChartKind::kProfection, MomentFromHours(target));
  ComputeChart(profection, Context());
  for (int slot : {kSlotSun, kSlotMoon, kSlotMars, kSlotFirstCusp, kSlotMidheaven}) {
    const double moved = SignedDifference(profection.objects[slot].longitude, natal_.objects[slot].longitude);
    EXPECT_NEAR(moved, 30.0, 1e-9) << slot;
  }
  EXPECT_EQ(profection.objects[kSlotSun].sign % 12, natal_.objects[kSlotSun].sign % 12 + 1);
}

TEST_F(ComputeChartTest, ProgressionShowsTheTargetDateWithProgressedPositions) {
  const CalendarMoment target{2015, 7, 12, 11, 5, 0};
  ChartRecord progressed = Derived(ChartKind::kSecondaryProgression, target);
  ComputeChart(progressed, Context());
  EXPECT_EQ(progressed.title, kTitleProgressed);
  EXPECT_EQ(progressed.greenwich, target);
  const double years = (HoursSince1860(target) - HoursSince1860(natal_.greenwich)) / 24.0 / kTropicalYearDays;
  EXPECT_NEAR(SignedDifference(progressed.objects[kSlotSun].longitude, natal_.objects[kSlotSun].longitude),
              years * testing::kSunSpeed, 1e-3);  // a day of motion per year of life
}

TEST_F(ComputeChartTest, SolarArcDirectionMovesEveryPointByTheProgressedSun) {
  const CalendarMoment target{2015, 7, 12, 11, 5, 0};
  ChartRecord directed = Derived(ChartKind::kSolarArcDirection, target);
  ComputeChart(directed, Context());
  ChartRecord progressed = Derived(ChartKind::kSecondaryProgression, target);
  ComputeChart(progressed, Context());
  const double arc = progressed.objects[kSlotSun].longitude - natal_.objects[kSlotSun].longitude;
  for (int slot : {kSlotMoon, kSlotSaturn, kSlotFirstCusp}) {
    EXPECT_NEAR(directed.objects[slot].longitude,
                Normalise360(natal_.objects[slot].longitude + arc), 1e-6) << slot;
  }
  EXPECT_DOUBLE_EQ(directed.objects[kSlotMoon].speed, 1.0 / kTropicalYearDays);
  EXPECT_EQ(directed.greenwich, target);
}

TEST_F(ComputeChartTest, SolarReturnAfterTheBirthdayFindsNextYears) {
  ChartRecord solar = Derived(ChartKind::kSolarReturnForward, {2020, 7, 20, 0, 0, 0});
  solar.placeName = "Дели";
  EXPECT_EQ(ComputeChart(solar, Context()), ComputeResult::kComputed);
  EXPECT_EQ(solar.greenwich.year, 2021);
  EXPECT_NEAR(SignedDifference(solar.objects[kSlotSun].longitude, natal_.objects[kSlotSun].longitude),
              0.0, 1.0 / 3600);
  EXPECT_DOUBLE_EQ(solar.gmtOffsetHours, 5.5);  // the place's offset at the moment found
  EXPECT_NEAR(HoursSince1860(solar.local) - HoursSince1860(solar.greenwich), 5.5, 1e-9);

  ChartRecord back = Derived(ChartKind::kSolarReturnBackward, {2020, 7, 20, 0, 0, 0});
  ComputeChart(back, Context());
  EXPECT_EQ(back.greenwich.year, 2020);
  EXPECT_EQ(back.greenwich.month, 7);
}

TEST_F(ComputeChartTest, LunarReturnsBothWays) {
  for (const ChartKind kind : {ChartKind::kLunarReturnForward, ChartKind::kLunarReturnBackward}) {
    ChartRecord lunar = Derived(kind, {2020, 7, 20, 0, 0, 0});
    EXPECT_EQ(ComputeChart(lunar, Context()), ComputeResult::kComputed);
    EXPECT_NEAR(SignedDifference(lunar.objects[kSlotMoon].longitude, natal_.objects[kSlotMoon].longitude),
                0.0, 1.0 / 3600);
    const double days = (HoursSince1860(lunar.greenwich) - HoursSince1860({2020, 7, 20, 0, 0, 0})) / 24.0;
    EXPECT_LT(std::fabs(days), 27.4);
    EXPECT_EQ(days > 0.0, kind == ChartKind::kLunarReturnForward);
  }
}

TEST_F(ComputeChartTest, ReturnSearchStopsAtTheEndOfTheProgramsYears) {
  ChartRecord solar = Derived(ChartKind::kSolarReturnForward, {2130, 12, 1, 0, 0, 0});
  EXPECT_EQ(ComputeChart(solar, Context()), ComputeResult::kReturnNotFound);
  EXPECT_EQ(solar.greenwich.year, 2130);
}

// A chart of the sky at hour 1000, where the return searches start.
ChartRecord ChartAtHour1000(const FakeSky& sky) {
  ChartRecord chart = Person("А", {2000, 1, 1, 0, 0, 0});
  EXPECT_TRUE(sky.RunChart(RequestAt(1000.0, 0.0, 0.0, kNoHouses), chart.objects, false));
  return chart;
}

TEST(FindReturn, ZeroCombinedSpeedEndsAtOnce) {
  FakeSky still;
  still.sunSpeed = 0.0;
  ChartRecord chart = ChartAtHour1000(still);
  ChartObject natal = chart.objects[kSlotSun];
  natal.longitude += 10.0;
  const ReturnResult result = FindReturn({still, natal, kSlotSun, true, 0.0}, chart, 1000.0);
  EXPECT_FALSE(result.found);
  EXPECT_DOUBLE_EQ(result.hours, 1000.0);
  EXPECT_EQ(still.runs, 1);
}

TEST(FindReturn, TheOffsetShiftsTheTarget) {
  FakeSky sky;
  ChartRecord chart = ChartAtHour1000(sky);
  const ChartObject natal = chart.objects[kSlotSun];  // a copy: the search overwrites the chart
  const ReturnResult result = FindReturn({sky, natal, kSlotSun, true, -90.0}, chart, 1000.0);
  ASSERT_TRUE(result.found);
  EXPECT_NEAR((result.hours - 1000.0) / 24.0 * testing::kSunSpeed, 90.0, 1e-3);
}

}  // namespace
}  // namespace kelvara::workspace
