// The driver with the real engine: positions, the slot rules that need an engine run,
// the returns against the reference table, and runs from several threads at once.
#include "workspace/engine_driver.h"

#include <cmath>
#include <fstream>
#include <map>
#include <thread>

#include <gtest/gtest.h>

#include "engine/ephemeris/tests/reference_positions.h"
#include "platform/tests/scratch_dir.h"
#include "workspace/chart_compute.h"

namespace kelvara::workspace {
namespace {

constexpr double kJulianDayOf1860 = 2400410.5;
constexpr double kArcSecond = 1.0 / 3600.0;

const EngineDriver& Driver() {
  static const EngineDriver driver(std::string(KELVARA_BIN_DIR) + "/");
  return driver;
}

ChartRequest Moscow(CalendarMoment moment, int houseSystem = kHousePlacidus) {
  return {{moment, 0.0, 55.75, 37.6}, houseSystem};
}

ObjectTable Cast(const ChartRequest& request, bool solarArc = false) {
  ObjectTable objects;
  EXPECT_TRUE(Driver().RunChart(request, objects, solarArc));
  return objects;
}

TEST(EngineDriver, WithoutHousesTheCuspsKeepTheirValuesAndHourTwentyFourIsMidnight) {
  ObjectTable objects;
  for (int slot = kSlotFirstCusp; slot <= kSlotLastCusp; ++slot) objects[slot].longitude = 12.5;
  ASSERT_TRUE(Driver().RunChart(Moscow({2000, 1, 1, 24, 0, 0}, kNoHouses), objects, false));
  for (int slot = kSlotFirstCusp; slot <= kSlotLastCusp; ++slot) EXPECT_EQ(objects[slot].longitude, 12.5);
  const ObjectTable midnight = Cast(Moscow({2000, 1, 2, 0, 0, 0}, kNoHouses));
  EXPECT_EQ(objects[kSlotMoon].longitude, midnight[kSlotMoon].longitude);
  EXPECT_NEAR(objects[kSlotSun].longitude, 280.9, 0.2);
}

TEST(EngineDriver, RefusesWhatTheEngineCannotCast) {
  ObjectTable objects;
  objects[kSlotSun].longitude = 1.0;
  EXPECT_FALSE(Driver().RunChart(Moscow({1859, 12, 31, 0, 0, 0}), objects, false));
  EXPECT_FALSE(Driver().RunChart({{{2000, 1, 1, 0, 0, 0}, 0.0, std::nan(""), 0.0}, 0}, objects, false));
  EXPECT_FALSE(Driver().RunChart({{{2000, 1, 1, 0, 0, 0}, 13.5, 0.0, 0.0}, 0}, objects, false));
  EXPECT_FALSE(Driver().RunChart({{{2000, 1, 1, 0, 0, 0}, 0.0, 0.0, 181.0}, 0}, objects, false));
  EXPECT_EQ(objects[kSlotSun].longitude, 1.0);
}

TEST(EngineDriver, DriverHouseSystems) {
  const CalendarMoment moment{1985, 7, 12, 10, 5, 0};
  const ObjectTable equalSun = Cast(Moscow(moment, kHouseEqualSun));
  EXPECT_DOUBLE_EQ(equalSun[kSlotFirstCusp].longitude, equalSun[kSlotSun].longitude);
  EXPECT_NEAR(equalSun[kSlotMidheaven].longitude, Normalise360(equalSun[kSlotSun].longitude + 270.0), 1e-9);
}

// The Sun's rising on a day, from the driver's own day scan.
std::optional<SunEvent> SunriseOf(const CalendarMoment& day, double latitude, double longitude) {
  const auto lines = Driver().RunDayScan({{day.year, day.month, day.day, 12, 0, 0}, 0.0, latitude, longitude});
  if (!lines) return std::nullopt;
  for (const std::string& line : *lines) {
    const auto event = ParseSunEvent(line, day, 0.0);
    if (event && event->rising) return event;
  }
  return std::nullopt;
}

TEST(EngineDriver, BrahmaguptaPutsTheAscendantOnTheSunAtSunrise) {
  const CalendarMoment day{1985, 7, 12, 0, 0, 0};
  const auto sunrise = SunriseOf(day, 55.75, 37.6);
  ASSERT_TRUE(sunrise);
  EXPECT_FALSE(std::ifstream("tmp.tmp"));  // read and deleted
  const ChartRequest request{{MomentFromHours(sunrise->hours + 1.0 / 3600), 0.0, 55.75, 37.6}, kHouseBrahmagupta};
  const ObjectTable houses = Cast(request);
  const ObjectTable placidus = Cast({request.at, kHousePlacidus});
  EXPECT_NEAR(SignedDifference(houses[kSlotFirstCusp].longitude, houses[kSlotSun].longitude), 0.0, 0.02);
  EXPECT_NEAR(SignedDifference(houses[kSlotSeventhCusp].longitude, houses[kSlotFirstCusp].longitude), 180.0, 1e-9);
  EXPECT_EQ(houses[kSlotMidheaven].longitude, placidus[kSlotMidheaven].longitude);
  EXPECT_EQ(houses[kSlotFourthCusp].longitude, placidus[kSlotFourthCusp].longitude);
  // At night the Ascendant runs from the Sun's opposite back to the Sun: the Sun is below it.
  const ObjectTable night = Cast({{MomentFromHours(sunrise->hours - 3.5), 0.0, 55.75, 37.6}, kHouseBrahmagupta});
  const double sunToAscendant = SignedDifference(night[kSlotFirstCusp].longitude, night[kSlotSun].longitude);
  EXPECT_LT(sunToAscendant, -45.0);
  EXPECT_GT(sunToAscendant, -135.0);
}

TEST(EngineDriver, WithoutADayScanFileBrahmaguptaKeepsTheEnginesCusps) {
  // A folder in the way of "tmp.tmp": the engine cannot write it, the driver cannot read it.
  const platform::test_support::ScratchDir scratch;
  std::filesystem::create_directories(scratch / "tmp.tmp" / "kept");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(scratch.Path());
  const CalendarMoment moment{1985, 7, 12, 10, 5, 0};
  const ObjectTable brahmagupta = Cast(Moscow(moment, kHouseBrahmagupta));
  const ObjectTable placidus = Cast(Moscow(moment, kHousePlacidus));
  std::filesystem::current_path(previous);
  for (int slot = kSlotFirstCusp; slot <= kSlotLastCusp; ++slot) {
    EXPECT_EQ(brahmagupta[slot].longitude, placidus[slot].longitude) << slot;
  }
}

TEST(EngineDriver, SolarArcMidheavenMovesTheMidheavenByTheArc) {
  ChartRecord natal;
  natal.name = "Иван";
  natal.local = {1985, 7, 12, 14, 5, 0};
  natal.gmtOffsetHours = 4.0;
  natal.latitudeDeg = 55.75;
  natal.longitudeDeg = 37.6;
  const ComputeContext context{Driver(), &natal, nullptr, nullptr, ""};
  ASSERT_EQ(ComputeChart(natal, context), ComputeResult::kComputed);
  ChartRecord solarArc = natal;
  solarArc.name = KindName(ChartKind::kSolarArcMidheaven);
  solarArc.local = {2015, 7, 12, 12, 0, 0};
  ASSERT_EQ(ComputeChart(solarArc, context), ComputeResult::kComputed);
  const double arc = solarArc.objects[kSlotSun].longitude - natal.objects[kSlotSun].longitude;
  EXPECT_NEAR(arc, 29.0, 1.0);
  // One second of time turns the Midheaven by 15 arc-seconds.
  EXPECT_NEAR(SignedDifference(solarArc.objects[kSlotMidheaven].longitude,
                               natal.objects[kSlotMidheaven].longitude + arc), 0.0, 20 * kArcSecond);
  EXPECT_EQ(solarArc.greenwich, (CalendarMoment{2015, 7, 12, 8, 0, 0}));
}

struct ReferencePlace {
  double julianDay = 0.0;
  double longitude = 0.0;
  double speed = 0.0;
};

// Sun and Moon rows of returns_reference.csv by instant.
std::map<double, std::map<std::string, ReferencePlace>> ReadReference() {
  std::map<double, std::map<std::string, ReferencePlace>> places;
  for (const auto& row : engine::testing::LoadReferencePositions(
           std::string(KELVARA_SOURCE_DIR) + "/workspace/tests/data/returns_reference.csv")) {
    places[row.julianDayUt][row.body] = {row.julianDayUt, row.longitudeDeg, row.speedDegPerDay};
  }
  return places;
}

// The moment the engine is actually given: whole seconds, written in hundredths of a minute.
double EngineJulianDay(const CalendarMoment& m) {
  const double hundredths = std::round(m.second * 100.0 / 60.0);
  const double dayStart = HoursSince1860({m.year, m.month, m.day, 0, 0, 0});
  return kJulianDayOf1860 + (dayStart + m.hour + (m.minute + hundredths / 100.0) / 60.0) / 24.0;
}

TEST(EngineDriver, ReturnsAgreeWithTheReferenceToAnArcSecond) {
  const auto reference = ReadReference();
  ASSERT_EQ(reference.size(), 4u);
  for (const auto& [julianDay, bodies] : reference) {
    ChartRecord natal;
    natal.name = "Опорный";
    natal.local = MomentFromHours((julianDay - kJulianDayOf1860) * 24.0);
    natal.houseSystem = kNoHouses;
    const ComputeContext context{Driver(), &natal, nullptr, nullptr, ""};
    ASSERT_EQ(ComputeChart(natal, context), ComputeResult::kComputed);
    const double shiftDays = EngineJulianDay(natal.greenwich) - julianDay;
    // The natal places anchor the test to the reference: the Sun to an arc-second, the
    // Moon to the engine's lunar accuracy (the reference's own lunar theory after 2060).
    for (const auto& [slot, body, kind, anchor] :
         {std::tuple{kSlotSun, "sun", ChartKind::kSolarReturnForward, kArcSecond},
          std::tuple{kSlotMoon, "moon", ChartKind::kLunarReturnBackward, 10 * kArcSecond}}) {
      const ReferencePlace& place = bodies.at(body);
      EXPECT_NEAR(SignedDifference(natal.objects[slot].longitude, place.longitude + place.speed * shiftDays),
                  0.0, anchor) << body << " " << julianDay;
      ChartRecord found = natal;
      found.name = KindName(kind);
      found.local = MomentFromHours(HoursSince1860(natal.greenwich) + 200 * 24.0);
      ASSERT_EQ(ComputeChart(found, context), ComputeResult::kComputed) << body;
      EXPECT_NEAR(SignedDifference(found.objects[slot].longitude, natal.objects[slot].longitude), 0.0,
                  kArcSecond) << body << " " << julianDay;
    }
  }
}

TEST(EngineDriver, ThreadsComputingAtOnceGetTheSequentialResults) {
  std::vector<ChartRequest> requests;
  for (int i = 0; i < 24; ++i) {
    requests.push_back(Moscow({1900 + 9 * i, 1 + i % 12, 1 + i, i % 24, 7 * i % 60, 0},
                              i % 3 == 0 ? kHouseEqualSun : kHouseKoch));
  }
  // Day scans share one "tmp.tmp": these must not read each other's lines.
  requests.push_back(Moscow({1950, 3, 20, 6, 0, 0}, kHouseBrahmagupta));
  requests.push_back(Moscow({2050, 9, 23, 18, 0, 0}, kHouseBrahmagupta));
  std::vector<ObjectTable> sequential;
  for (const ChartRequest& request : requests) sequential.push_back(Cast(request, true));
  constexpr int kThreads = 4;
  std::vector<std::vector<ObjectTable>> parallel(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (const ChartRequest& request : requests) {
        ObjectTable objects;
        Driver().RunChart(request, objects, true);
        parallel[t].push_back(objects);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(parallel[t], sequential) << t;
}

}  // namespace
}  // namespace kelvara::workspace
