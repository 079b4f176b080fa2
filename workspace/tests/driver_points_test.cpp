#include "workspace/driver_points.h"

#include <gtest/gtest.h>

namespace kelvara::workspace {
namespace {

EngineResults ResultsWith(std::initializer_list<std::pair<int, double>> longitudes) {
  EngineResults results;
  for (int i = 0; i < kEngineResultCount; ++i) {
    results.longitude[i] = 10.0 + i;
    results.speed[i] = 0.5;
  }
  for (const auto& [object, longitude] : longitudes) results.longitude[object] = longitude;
  return results;
}

TEST(FileEngineResults, SlotsFollowTheMappingAndRetrogradePointsTurnPositive) {
  ObjectTable objects;
  FileEngineResults(ResultsWith({{5, -123.5}, {16, 350.0}}), true, objects);
  EXPECT_DOUBLE_EQ(objects[kSlotMars].longitude, 123.5);
  EXPECT_EQ(objects[kSlotMars].retrograde, 1);
  EXPECT_EQ(objects[kSlotMars].sign, 5);
  EXPECT_DOUBLE_EQ(objects[kSlotChiron].longitude, 21.0);  // engine object 11
  EXPECT_DOUBLE_EQ(objects[9].longitude, 18.0);            // Uranus is engine object 8
  EXPECT_DOUBLE_EQ(objects[kSlotCeres].longitude, 22.0);   // engine object 12
  EXPECT_DOUBLE_EQ(objects[kSlotFirstCusp].longitude, 31.0);
  EXPECT_EQ(objects[kSlotFirstCusp + 4].house, kSlotFirstCusp + 4);
  EXPECT_DOUBLE_EQ(objects[kSlotSouthNode].longitude, 170.0);
  EXPECT_DOUBLE_EQ(objects[kSlotProserpina].longitude, kNotAvailable);
  EXPECT_DOUBLE_EQ(objects[kSlotSun].display.radius, kNoDisplayRadius);
}

TEST(FileEngineResults, WithoutHousesTheCuspSlotsKeepTheirValues) {
  ObjectTable objects;
  for (int slot = kSlotFirstCusp; slot <= kSlotLastCusp; ++slot) objects[slot].longitude = 77.0;
  objects[kSlotCeres].longitude = 5.0;
  FileEngineResults(ResultsWith({}), false, objects);
  for (int slot = kSlotFirstCusp; slot <= kSlotLastCusp; ++slot) {
    EXPECT_DOUBLE_EQ(objects[slot].longitude, 77.0) << slot;
  }
  EXPECT_DOUBLE_EQ(objects[kSlotCeres].longitude, 22.0);
}

TEST(CyclePoints, StartFromTheirEpochsAndMoveThroughTheSigns) {
  ObjectTable objects;
  SetCyclePoints({1918, 1, 20, 0, 0, 0}, objects);
  EXPECT_DOUBLE_EQ(objects[kSlotProserpina].longitude, 180.0);  // exactly 30 in Virgo stays there
  EXPECT_EQ(objects[kSlotProserpina].sign, 6);
  EXPECT_NEAR(objects[kSlotProserpina].speed * 365.25, 0.4617, 1e-4);
  SetCyclePoints({1900, 1, 1, 0, 0, 0}, objects);
  EXPECT_NEAR(objects[kSlotSelena].longitude, 8350.0 / 60.0, 1e-12);
  EXPECT_EQ(objects[kSlotSelena].sign, 5);
  SetCyclePoints({1899, 12, 31, 0, 0, 0}, objects);  // before the epoch the counter steps back
  EXPECT_NEAR(objects[kSlotSelena].longitude, (8350.0 - 308600.0 / 36524.0) / 60.0, 1e-12);
  SetCyclePoints({2100, 6, 1, 12, 30, 0}, objects);
  EXPECT_TRUE(objects[kSlotSelena].HasLongitude());
  EXPECT_EQ(objects[kSlotSelena].sign, 1 + static_cast<int>(objects[kSlotSelena].longitude / 30));
}

TEST(CyclePoints, AJupiterBeyondTheCircleMarksThemMissing) {
  ObjectTable objects;
  objects[kSlotJupiter].longitude = 999.0;
  SetCyclePoints({2000, 1, 1, 0, 0, 0}, objects);
  EXPECT_DOUBLE_EQ(objects[kSlotProserpina].longitude, -1000.0);
  EXPECT_DOUBLE_EQ(objects[kSlotSelena].longitude, -1000.0);
}

ObjectTable LotChart(double sun, double ascendant) {
  ObjectTable objects;
  objects[kSlotSun].longitude = sun;
  objects[kSlotMoon].longitude = 100.0;
  objects[kSlotMars].longitude = 40.0;
  objects[kSlotSaturn].longitude = 300.0;
  objects[kSlotFirstCusp].longitude = ascendant;
  return objects;
}

TEST(Lots, DayFormulasAboveTheHorizonNightFormulasAtOneHundredEighty) {
  ObjectTable day = LotChart(210.0, 10.0);  // d = 200
  SetLots(day);
  EXPECT_DOUBLE_EQ(day[kSlotFortune].longitude, 260.0);    // Asc + Moon - Sun
  EXPECT_DOUBLE_EQ(day[kSlotSecondLot].longitude, 110.0);  // Asc + Mars - Saturn
  ObjectTable night = LotChart(190.0, 10.0);  // d = 180 exactly
  SetLots(night);
  EXPECT_DOUBLE_EQ(night[kSlotFortune].longitude, 100.0);   // Asc + Sun - Moon
  EXPECT_DOUBLE_EQ(night[kSlotSecondLot].longitude, 270.0);  // Asc + Saturn - Mars
  EXPECT_EQ(night[kSlotSecondLot].sign, 10);
}

TEST(DriverHouses, EqualSunStartsOnTheSun) {
  ObjectTable objects;
  objects[kSlotSun].longitude = 100.25;
  SetEqualSunCusps(objects);
  EXPECT_DOUBLE_EQ(objects[kSlotFirstCusp].longitude, 100.25);
  EXPECT_DOUBLE_EQ(objects[kSlotMidheaven].longitude, 10.25);  // Sun + 270
  EXPECT_DOUBLE_EQ(objects[kSlotLastCusp].longitude, 70.25);
}

TEST(DriverHouses, BrahmaguptaTrisectsTheQuadrantsFromTheAscendant) {
  ObjectTable objects;
  objects[kSlotMidheaven].longitude = 270.0;
  objects[kSlotFourthCusp].longitude = 90.0;
  SetBrahmaguptaCusps(0.0, objects);
  for (int i = 0; i < kCuspCount; ++i) EXPECT_NEAR(objects[kSlotFirstCusp + i].longitude, 30.0 * i, 1e-12) << i;
}

TEST(DriverHouses, HouseOfALongitudeFromTheCuspsAcrossZeroAries) {
  ObjectTable objects;
  objects[kSlotSun].longitude = 100.0;
  SetEqualSunCusps(objects);  // cusps at 100, 130, ... 70
  EXPECT_EQ(HouseOfLongitude(objects, 100.0), 1);
  EXPECT_EQ(HouseOfLongitude(objects, 129.9), 1);
  EXPECT_EQ(HouseOfLongitude(objects, 5.0), 9);
  EXPECT_EQ(HouseOfLongitude(objects, 99.0), 12);
  objects[kSlotFirstCusp + 3].longitude = kNotAvailable;
  EXPECT_EQ(HouseOfLongitude(objects, 5.0), 0);
}

TEST(DriverHouses, BrahmaguptaAscendantFollowsTheSunsDayAndNight) {
  const SunEvent rise{100.0, true};
  const SunEvent set{112.0, false};
  EXPECT_DOUBLE_EQ(BrahmaguptaAscendant(rise, 10.0, set, 10.5, 100.0), 10.0);
  EXPECT_DOUBLE_EQ(BrahmaguptaAscendant(rise, 10.0, set, 10.5, 112.0), 190.5);
  // Night: from sunset to the next sunrise, the Ascendant runs from opposite the Sun.
  EXPECT_DOUBLE_EQ(BrahmaguptaAscendant(set, 10.5, {124.0, true}, 11.0, 112.0), 190.5);
  // Across 0° Aries the Sun's motion is a small step, not most of a circle.
  EXPECT_NEAR(BrahmaguptaAscendant(rise, 359.8, set, 0.2, 106.0), Normalise360(359.8 + 90.2), 1e-12);
}

TEST(DriverHouses, SunEventsAreReadFromScanLines) {
  const CalendarMoment day{2000, 3, 20, 12, 0, 0};
  const auto rise = ParseSunEvent("6:12.5 1 1", day, 0.0);
  ASSERT_TRUE(rise);
  EXPECT_TRUE(rise->rising);
  EXPECT_NEAR(rise->hours, HoursSince1860({2000, 3, 20, 6, 12, 30}), 1e-9);
  // The Moon, the Sun's culmination, garbage and a minute past 59.
  for (const char* line : {"18:01.0 2 3", "12:00.0 1 2", "garbage", "6:75.0 1 1"}) {
    EXPECT_FALSE(ParseSunEvent(line, day, 0.0)) << line;
  }
}

}  // namespace
}  // namespace kelvara::workspace
