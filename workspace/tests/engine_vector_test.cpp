#include "workspace/engine_vector.h"

#include <gtest/gtest.h>

#include "workspace/chart_record.h"

namespace kelvara::workspace {
namespace {

TEST(EngineVector, ChartFormCarriesTheFrontEndsThirteenSwitches) {
  const EngineMoment at{{1985, 7, 12, 14, 5, 30}, 0.0, 55.75, 37.5833};
  ArgumentVector vector(ChartFormTexts("/opt/kelvara/", at, kHousePlacidus));
  const char* expected[] = {"---/opt/kelvara/", "-Yn",   "-b0",    "-c", "0", "qa", "7",
                            "12",               "1985", "14:0550", "0",  "037e35", "55n45"};
  for (int i = 0; i < kEngineArgumentCount; ++i) EXPECT_EQ(vector.Text(i), expected[i]) << i;
}

TEST(EngineVector, DayScanPadsDegreesWithBlanksButMinutesWithZeros) {
  const EngineMoment at{{2001, 3, 2, 12, 0, 0}, 0.0, -5.05, -7.1};
  ArgumentVector vector(DayScanTexts("/p/", at));
  EXPECT_EQ(vector.Text(1), "-Zd");
  EXPECT_EQ(vector.Text(4), "0");
  EXPECT_EQ(vector.Text(11), "  7w06");
  EXPECT_EQ(vector.Text(12), " 5s03");
}

TEST(EngineVector, TimeTextGivesSecondsInHundredthsOfAMinute) {
  EXPECT_EQ(EngineTimeText({2000, 1, 1, 9, 0, 59}), "9:0098");
  EXPECT_EQ(EngineTimeText({2000, 1, 1, 0, 0, 0}), "0:0000");
}

TEST(EngineVector, HourTwentyFourIsMidnightOfTheNextDay) {
  const EngineMoment at{{2000, 12, 31, 24, 0, 0}, 0.0, 0.0, 0.0};
  ArgumentVector vector(ChartFormTexts("/", at, kHousePlacidus));
  const char* expected[] = {"1", "1", "2001", "0:0000"};  // month, day, year, time
  for (int i = 0; i < 4; ++i) EXPECT_EQ(vector.Text(6 + i), expected[i]) << i;
}

TEST(EngineVector, ZoneIsNegatedInTheEnginesHoursAndMinutesForm) {
  EXPECT_EQ(EngineZoneText(3.0), "-3");
  EXPECT_EQ(EngineZoneText(-5.0), "5");
  EXPECT_EQ(EngineZoneText(5.5), "-5.3");
  EXPECT_EQ(EngineZoneText(5.75), "-5.45");
  EXPECT_EQ(EngineZoneText(0.0), "0");
  EXPECT_LE(EngineZoneText(2.507704).size(), 10u);
}

TEST(EngineVector, CoordinatesRoundTheMinutes) {
  EXPECT_EQ(EngineLongitudeText(-122.3333, false), "122w20");
  EXPECT_EQ(EngineLatitudeText(-33.8667, false), "33s52");
}

TEST(EngineVector, HouseSystemsTheEngineDoesNotKnowAreCastAsPlacidus) {
  for (int system : {kNoHouses, kHouseBrahmagupta, kHouseEqualSun, 17}) {
    EXPECT_EQ(EngineHouseSystem(system), 0) << system;
  }
  EXPECT_EQ(EngineHouseSystem(kHouseEqualMc), 10);
}

TEST(EngineVector, AFolderLongerThanTheBufferIsKeptWhole) {
  const std::string folder = "/" + std::string(200, 'x') + "/";
  ArgumentVector vector(ChartFormTexts(folder, {}, kHousePlacidus));
  EXPECT_EQ(vector.Text(0), "---" + folder);
  EXPECT_EQ(vector.Text(1), "-Yn");
}

}  // namespace
}  // namespace kelvara::workspace
