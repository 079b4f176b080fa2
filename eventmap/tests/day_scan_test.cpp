// The day scan on a scripted sky whose points move evenly, so every crossing has an answer
// worked out by hand, and once on the real engine against direct casts.
#include "eventmap/day_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "eventmap/tests/example_chart.h"
#include "places/chart_zones.h"
#include "places/city_base.h"
#include "workspace/driver_points.h"

namespace kelvara::eventmap {
namespace {

namespace ws = workspace;

constexpr int kOneStep = 0;          // index of one step a day
constexpr int kHourlySteps = 7;      // 24 steps a day
constexpr double kTolerance = 1e-6;  // hours

// Points move by a fixed number of degrees a day from their place at the epoch.
class ScriptedSky : public ws::ChartEngine {
 public:
  struct Motion {
    double at = ws::kNotAvailable;
    double perDay = 0.0;
  };

  bool RunChart(const ws::ChartRequest& request, ws::ObjectTable& objects, bool) const override {
    if (!ws::IsComputable(request) || ++runs > failAfterRuns) return false;
    const double days = (ws::GreenwichHoursOf(request.at) - epochHours) / 24.0;
    for (int slot = ws::kFirstSlot; slot <= ws::kLastSlot; ++slot) {
      const Motion& m = motions[slot];
      if (m.at == ws::kNotAvailable) {
        objects[slot].longitude = ws::kNotAvailable;
      } else {
        objects[slot].SetLongitude(ws::Normalise360(m.at + m.perDay * days));
      }
    }
    return true;
  }

  std::array<Motion, ws::kSlotCount> motions{};
  double epochHours = 0.0;
  int failAfterRuns = 1 << 30;
  mutable int runs = 0;
};

// Only the aspects given, with one orb for every point.
ws::AspectTable Aspects(std::initializer_list<std::pair<double, double>> angleAndOrb) {
  ws::AspectTable table{};
  int index = 0;
  for (const auto& [angle, orb] : angleAndOrb) {
    table[index].enabled = true;
    table[index].angle = angle;
    table[index].firstOrbs.fill(orb);
    table[index].firstColor = 0x0000FF;
    ++index;
  }
  return table;
}

ws::ChartRecord Natal(std::initializer_list<std::pair<int, double>> slotAndLongitude, int houses = ws::kNoHouses) {
  ws::ChartRecord chart;
  chart.houseSystem = houses;
  for (auto& object : chart.objects) object.longitude = ws::kNotAvailable;
  for (const auto& [slot, longitude] : slotAndLongitude) chart.objects[slot].SetLongitude(longitude);
  return chart;
}

class DayScanTest : public ::testing::Test {
 protected:
  // The day is 10 March 2020; the window starts at 9 March 00:00, where the sky's epoch lies.
  DayScanTest() {
    request_.year = 2020;
    request_.month = 3;
    request_.day = 10;
    sky_.epochHours = ws::HoursSince1860({2020, 3, 9, 0, 0, 0});
  }

  DayScanLists Scan(const ws::ChartRecord& natal, const ws::AspectTable& aspects, int stepsIndex) {
    request_.stepsIndex = stepsIndex;
    DayScanOutcome outcome = DayScan(natal, aspects, request_, sky_);
    EXPECT_TRUE(outcome.lists) << outcome.refusal;
    return outcome.lists.value_or(DayScanLists{});
  }

  void Moon(double at, double perDay) { sky_.motions[ws::kSlotMoon] = {at, perDay}; }
  // The epoch plus the hours the Moon needs from `from` to `to` at `perDay`.
  double MoonAt(double from, double to, double perDay) const { return Epoch() + 24.0 * (to - from) / perDay; }
  double Epoch() const { return sky_.epochHours; }

  DayScanRequest request_;
  ScriptedSky sky_;
};

TEST_F(DayScanTest, OneStepADayMeetsEveryTargetInTheSweptArcWithItsOrb) {
  Moon(95.0, 13.2);
  const auto natal = Natal({{ws::kSlotSun, 100.0}, {ws::kSlotMercury, 104.0}, {ws::kSlotVenus, 226.0}});
  const auto lists = Scan(natal, Aspects({{0.0, 1.0}, {120.0, 0.8}}), kOneStep);
  ASSERT_EQ(lists.exact.size(), 3u);
  const struct {
    int base;
    double exact, angle, orb;
  } expected[] = {{ws::kSlotSun, 100.0, 0.0, 1.0}, {ws::kSlotMercury, 104.0, 0.0, 1.0}, {ws::kSlotVenus, 106.0, 120.0, 0.8}};
  for (std::size_t i = 0; i < 3; ++i) {
    const EventRecord& e = lists.exact[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(e.basePoint, expected[i].base);
    EXPECT_EQ(e.movingPoint, ws::kSlotMoon);
    EXPECT_EQ(e.aspectAngleDeg, expected[i].angle);
    EXPECT_TRUE(e.exactFound && e.startFound && e.endFound);
    EXPECT_NEAR(e.culminationHours, MoonAt(95.0, expected[i].exact, 13.2), kTolerance);
    EXPECT_NEAR(e.startHours, MoonAt(95.0, expected[i].exact - expected[i].orb / 2, 13.2), kTolerance);
    EXPECT_NEAR(e.endHours, MoonAt(95.0, expected[i].exact + expected[i].orb / 2, 13.2), kTolerance);
    EXPECT_DOUBLE_EQ(e.movingLongitudeDeg, expected[i].exact);
    EXPECT_DOUBLE_EQ(e.baseLongitudeDeg, natal.objects[expected[i].base].longitude);
    EXPECT_DOUBLE_EQ(e.durationHours, std::max(e.orbDeg * HoursPerDegree(ws::kSlotMoon), e.endHours - e.startHours));
  }
  EXPECT_EQ(lists.daysStepped, 3);
  EXPECT_DOUBLE_EQ(lists.windowEndHours - lists.windowStartHours, 72.0);
}

TEST_F(DayScanTest, AStepAcrossZeroAriesMeetsTargetsOnBothSides) {
  Moon(355.0, 13.2);
  const auto lists =
      Scan(Natal({{ws::kSlotSun, 359.0}, {ws::kSlotMercury, 1.0}}), Aspects({{0.0, 1.0}}), kOneStep);
  ASSERT_EQ(lists.exact.size(), 2u);
  EXPECT_NEAR(lists.exact[0].culminationHours, MoonAt(355.0, 359.0, 13.2), kTolerance);
  EXPECT_NEAR(lists.exact[1].culminationHours, MoonAt(355.0, 361.0, 13.2), kTolerance);
  EXPECT_NEAR(lists.exact[1].startHours, MoonAt(355.0, 360.5, 13.2), kTolerance);
  for (const EventRecord& e : lists.exact) EXPECT_TRUE(e.startFound && e.endFound);
}

// A Moon going once round: the conjunction and opposition are met once, a square twice.
TEST_F(DayScanTest, ConjunctionAndOppositionHaveOneTargetOtherAspectsTwo) {
  Moon(120.0, 130.0);
  const auto lists = Scan(Natal({{ws::kSlotSun, 100.0}}), Aspects({{0.0, 1.0}, {180.0, 1.0}, {90.0, 1.0}}), kHourlySteps);
  std::array<int, 3> perAspect{};
  for (const EventRecord& e : lists.exact) ++perAspect[e.aspectIndex];
  EXPECT_EQ(perAspect, (std::array<int, 3>{1, 1, 2}));
}

// The Moon lands on the exact point at a step, forwards and backwards: one record each,
// and going backwards the upper boundary is the entry.
TEST_F(DayScanTest, ATargetReachedExactlyAtAStepIsMetOnce) {
  for (const double perDay : {12.5, -12.5}) {
    SCOPED_TRACE(perDay);
    Moon(100.0 - perDay, perDay);
    const auto lists = Scan(Natal({{ws::kSlotSun, 100.0}}), Aspects({{0.0, 1.0}}), kOneStep);
    ASSERT_EQ(lists.exact.size(), 1u);
    const EventRecord& e = lists.exact[0];
    EXPECT_DOUBLE_EQ(e.culminationHours, Epoch() + 24.0);
    EXPECT_NEAR(e.startHours, Epoch() + 24.0 - 24.0 * 0.5 / 12.5, kTolerance);
    EXPECT_NEAR(e.endHours, Epoch() + 24.0 + 24.0 * 0.5 / 12.5, kTolerance);
    EXPECT_TRUE(e.startFound && e.endFound);
  }
}

// Jupiter stays in orb of the Sun for days: one in-force record a day, dated at the day's
// first step; the Moon and the Sun pass too quickly to count.
TEST_F(DayScanTest, ASlowAspectIsInForceOncePerDay) {
  sky_.motions[ws::kSlotJupiter] = {99.8, 0.01};
  sky_.motions[ws::kSlotSun] = {99.8, 1.0};
  Moon(98.0, 13.2);
  const auto lists = Scan(Natal({{ws::kSlotSun, 100.0}}), Aspects({{0.0, 1.0}}), kHourlySteps);
  ASSERT_EQ(lists.inForce.size(), 3u);
  for (int day = 0; day < 3; ++day) {
    const EventRecord& e = lists.inForce[day];
    EXPECT_EQ(e.movingPoint, ws::kSlotJupiter);
    EXPECT_FALSE(e.exactFound || e.startFound || e.endFound);
    EXPECT_DOUBLE_EQ(e.culminationHours, Epoch() + 24.0 * day + 1.0);
  }
}

// Natal points that have no longitude are not aimed at, whatever they would normalise to.
TEST_F(DayScanTest, NatalPointsWithoutALongitudeAreSkipped) {
  Moon(0.0, 130.0);
  ws::ChartRecord natal = Natal({});
  natal.objects[ws::kSlotSun].longitude = 999.0;
  natal.objects[ws::kSlotMercury].longitude = -1000.0;
  natal.objects[ws::kSlotVenus].longitude = -774.0;
  const auto lists = Scan(natal, Aspects({{0.0, 1.0}, {90.0, 1.0}}), kHourlySteps);
  EXPECT_TRUE(lists.exact.empty());
}

TEST_F(DayScanTest, OrbsAspectSwitchesAndHousePoints) {
  Moon(190.0, 13.2);
  ws::AspectTable aspects = Aspects({{0.0, 1.0}, {30.0, 1.0}});
  aspects[0].firstOrbs[ws::kSlotFortune] = 2.0;
  aspects[1].enabled = false;
  // The second lot has no orb of its own: it takes the Part of Fortune's.
  const auto natal = Natal({{ws::kSlotSecondLot, 200.0}, {ws::kSlotFirstCusp, 195.0}, {ws::kSlotSun, 170.0}},
                           ws::kHousePlacidus);
  const auto lists = Scan(natal, aspects, kOneStep);
  ASSERT_EQ(lists.exact.size(), 2u);
  EXPECT_EQ(lists.exact[0].basePoint, ws::kSlotFirstCusp);
  const EventRecord& lot = lists.exact[1];
  EXPECT_EQ(lot.basePoint, ws::kSlotSecondLot);
  EXPECT_EQ(lot.orbDeg, 2.0);
  EXPECT_NEAR(lot.startHours, MoonAt(190.0, 199.0, 13.2), kTolerance);
  EXPECT_NEAR(lot.endHours, MoonAt(190.0, 201.0, 13.2), kTolerance);
  // Without houses only the first sixteen points count: the cusp and the lot drop out.
  EXPECT_TRUE(Scan(Natal({{ws::kSlotSecondLot, 200.0}, {ws::kSlotFirstCusp, 195.0}}), aspects, kOneStep).exact.empty());
}

TEST_F(DayScanTest, RefusesDaysOutsideTheScaleAndBadRequestsWithAReason) {
  Moon(0.0, 13.2);
  const auto natal = Natal({{ws::kSlotSun, 100.0}});
  const auto aspects = Aspects({{0.0, 1.0}});
  const struct {
    int year, month, day, steps;
    const char* refusal;
  } cases[] = {{1860, 1, 2, kOneStep, kDayOutOfRange},  {2130, 12, 31, kOneStep, kDayOutOfRange},
               {1859, 12, 30, kOneStep, kDayOutOfRange}, {2021, 2, 29, kOneStep, kDayInvalid},
               {2020, 13, 1, kOneStep, kDayInvalid},     {2020, 3, 10, 8, kStepsInvalid},
               {2020, 3, 10, -1, kStepsInvalid}};
  for (const auto& c : cases) {
    request_ = {};
    request_.year = c.year, request_.month = c.month, request_.day = c.day, request_.stepsIndex = c.steps;
    const DayScanOutcome outcome = DayScan(natal, aspects, request_, sky_);
    EXPECT_FALSE(outcome.lists) << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(outcome.refusal, c.refusal);
  }
  for (const auto& [year, month, day] : {std::tuple{1860, 1, 3}, std::tuple{2130, 12, 30}}) {
    request_ = {};
    request_.year = year, request_.month = month, request_.day = day;
    EXPECT_TRUE(DayScan(natal, aspects, request_, sky_).lists) << year;
  }
  // An engine that stops answering mid-scan gives no lists rather than a partial day.
  sky_.runs = 0;
  sky_.failAfterRuns = 10;
  const DayScanOutcome failed = DayScan(natal, aspects, request_, sky_);
  EXPECT_FALSE(failed.lists);
  EXPECT_EQ(failed.refusal, kTransitsNotComputed);
}

// A place whose clocks go forward at 9 March 20:00 Greenwich.
class SpringForward : public ws::TimeZoneSource {
 public:
  explicit SpringForward(double changeHours) : change_(changeHours) {}
  std::optional<double> OffsetHoursAt(const std::string& place, double, double, double moment,
                                      bool greenwich) const override {
    if (place != "Здесь") return std::nullopt;
    const double utc = greenwich ? moment : moment - (moment - 3.0 < change_ ? 3.0 : 4.0);
    return utc < change_ ? 3.0 : 4.0;
  }

 private:
  double change_;
};

TEST_F(DayScanTest, EachTimeShowsTheOffsetValidAtThatMoment) {
  const double change = sky_.epochHours + 20.0;
  const SpringForward zones(change);
  request_.zones = &zones;
  request_.placeName = "Здесь";
  request_.fixedOffsetHours = -5.0;
  // The window's local midnights: 9 March 00:00 (+3) to 12 March 00:00 (+4).
  sky_.epochHours -= 3.0;
  Moon(95.0, 13.2);
  // Mars's orb opens before the change and its aspect is exact after it.
  const auto natal = Natal({{ws::kSlotSun, 100.0}, {ws::kSlotMars, 107.8}, {ws::kSlotVenus, 110.0}});
  const auto lists = Scan(natal, Aspects({{0.0, 1.0}}), kHourlySteps);
  EXPECT_DOUBLE_EQ(lists.windowStartHours, Epoch());
  EXPECT_DOUBLE_EQ(lists.windowEndHours - lists.windowStartHours, 71.0);
  ASSERT_EQ(lists.exact.size(), 3u);
  const double sunG = MoonAt(95.0, 100.0, 13.2);
  const double marsEntryG = MoonAt(95.0, 107.3, 13.2);
  const double marsG = MoonAt(95.0, 107.8, 13.2);
  const double venusG = MoonAt(95.0, 110.0, 13.2);
  ASSERT_LT(sunG, change);
  ASSERT_LT(marsEntryG, change);
  ASSERT_GT(marsG, change);
  EXPECT_NEAR(lists.exact[0].culminationHours, sunG + 3.0, 1e-5);
  EXPECT_NEAR(lists.exact[0].startHours, MoonAt(95.0, 99.5, 13.2) + 3.0, 1e-5);
  EXPECT_NEAR(lists.exact[1].startHours, marsEntryG + 3.0, 1e-5);
  EXPECT_NEAR(lists.exact[1].culminationHours, marsG + 4.0, 1e-5);
  EXPECT_NEAR(lists.exact[1].endHours, MoonAt(95.0, 108.3, 13.2) + 4.0, 1e-5);
  EXPECT_NEAR(lists.exact[2].culminationHours, venusG + 4.0, 1e-5);
  // A place the zones do not know shows the fixed offset.
  request_.placeName = "Нигде";
  const auto fixed = Scan(natal, Aspects({{0.0, 1.0}}), kHourlySteps);
  ASSERT_EQ(fixed.exact.size(), 3u);
  EXPECT_NEAR(fixed.exact[2].culminationHours, venusG - 5.0, 1e-5);
}

// Moscow's clocks went forward at 28 March 2010 02:00 local time (23:00 Greenwich the day before).
TEST_F(DayScanTest, MoscowShowsSummerTimeAfterTheClocksGoForward) {
  places::CityBase base;
  places::LoadCityBase(std::filesystem::path(KELVARA_SOURCE_DIR) / "data" / places::kCityBaseFileName, base);
  const places::CityBaseZones zones(base);
  request_ = {};
  request_.year = 2010, request_.month = 3, request_.day = 28;
  request_.zones = &zones;
  request_.placeName = "Москва";
  request_.latitudeDeg = 55.75;
  request_.longitudeDeg = 37.62;
  sky_.epochHours = ws::HoursSince1860({2010, 3, 27, 0, 0, 0}) - 3.0;
  Moon(95.0, 13.2);
  const auto lists = Scan(Natal({{ws::kSlotSun, 100.0}, {ws::kSlotVenus, 110.0}}), Aspects({{0.0, 1.0}}), kHourlySteps);
  EXPECT_DOUBLE_EQ(lists.windowStartHours, Epoch());
  EXPECT_DOUBLE_EQ(lists.windowEndHours - lists.windowStartHours, 71.0);
  ASSERT_EQ(lists.exact.size(), 2u);
  EXPECT_NEAR(lists.exact[0].culminationHours, MoonAt(95.0, 100.0, 13.2) + 3.0, 1e-5);
  EXPECT_NEAR(lists.exact[1].culminationHours, MoonAt(95.0, 110.0, 13.2) + 4.0, 1e-5);
}

double LongitudeAt(const ws::ChartEngine& engine, double greenwich, int slot) {
  ws::ObjectTable objects{};
  EXPECT_TRUE(engine.RunChart(
      ws::RequestAt(greenwich, testing::kExampleLatitudeDeg, testing::kExampleLongitudeDeg, ws::kNoHouses), objects, false));
  return objects[slot].longitude;
}

// Ten days at hourly steps on the real engine: at every culmination, entry and exit the
// moving body stands within 2" of its target, checked by a direct cast.
TEST(DayScanOnTheEngine, CrossingsAgreeWithDirectCastsToTwoArcSeconds) {
  const ws::EngineDriver& engine = testing::ExampleEngine();
  const ws::ChartRecord natal = testing::ExampleChart();
  const ws::AspectTable aspects = ws::DefaultTwoChartAspects();
  constexpr double kOffset = testing::kExampleOffsetHours;
  constexpr double kTwoArcSeconds = 2.0 / 3600.0;
  int checked = 0;
  for (int day = 1; day <= 10; ++day) {
    DayScanRequest request;
    request.year = 2024, request.month = 5, request.day = day;
    request.latitudeDeg = natal.latitudeDeg, request.longitudeDeg = natal.longitudeDeg, request.fixedOffsetHours = kOffset;
    const DayScanOutcome outcome = DayScan(natal, aspects, request, engine);
    ASSERT_TRUE(outcome.lists) << outcome.refusal;
    for (const EventRecord& e : outcome.lists->exact) {
      const double natalLongitude = natal.objects[e.basePoint].longitude;
      const bool onASide = std::fabs(ws::SignedDifference(e.movingLongitudeDeg, natalLongitude + e.aspectAngleDeg)) < 1e-9 ||
                           std::fabs(ws::SignedDifference(e.movingLongitudeDeg, natalLongitude - e.aspectAngleDeg)) < 1e-9;
      EXPECT_TRUE(onASide) << e.basePoint << " " << e.aspectAngleDeg;
      const auto expectAt = [&](double displayHours, double target, const char* what) {
        const double moved = ws::SignedDifference(LongitudeAt(engine, displayHours - kOffset, e.movingPoint), target);
        EXPECT_LE(std::fabs(moved), kTwoArcSeconds) << what << " of " << e.movingPoint << " to " << e.basePoint;
        ++checked;
      };
      expectAt(e.culminationHours, e.movingLongitudeDeg, "exact");
      const double halfOrb = ws::OrbOfSlot(aspects[e.aspectIndex].firstOrbs, e.basePoint) / 2;
      // Entry and exit lie on opposite boundaries; which is which follows the motion.
      if (e.startFound && e.endFound) {
        const double before = LongitudeAt(engine, e.startHours - kOffset, e.movingPoint);
        const double side = ws::SignedDifference(before, e.movingLongitudeDeg) < 0 ? -1.0 : 1.0;
        expectAt(e.startHours, e.movingLongitudeDeg + side * halfOrb, "entry");
        expectAt(e.endHours, e.movingLongitudeDeg - side * halfOrb, "exit");
      }
    }
  }
  EXPECT_GT(checked, 500);
}

}  // namespace
}  // namespace kelvara::eventmap
