#include "workspace/merged_chart.h"

#include <gtest/gtest.h>

#include "workspace/tests/fake_sky.h"

namespace kelvara::workspace {
namespace {

ChartObject Point(double longitude, double speed) {
  ChartObject point;
  point.SetLongitude(longitude);
  point.speed = speed;
  return point;
}

TEST(CompositePoint, MidpointTheShortWayWithTheMeanSpeed) {
  EXPECT_DOUBLE_EQ(CompositePoint(Point(350.0, 1.0), Point(10.0, 1.0)).longitude, 0.0);
  EXPECT_DOUBLE_EQ(CompositePoint(Point(10.0, 1.0), Point(350.0, 1.0)).longitude, 0.0);
  EXPECT_DOUBLE_EQ(CompositePoint(Point(100.0, 1.0), Point(280.0, 1.0)).longitude, 10.0);  // d = 180
  const ChartObject slow = CompositePoint(Point(20.0, -0.2), Point(40.0, 0.1));
  EXPECT_DOUBLE_EQ(slow.longitude, 30.0);
  EXPECT_DOUBLE_EQ(slow.speed, -0.05);
  EXPECT_EQ(slow.retrograde, 1);
  EXPECT_EQ(slow.sign, 2);
  const ChartObject missing = CompositePoint(Point(20.0, 1.0), Point(kNotAvailable, kNotAvailable));
  EXPECT_DOUBLE_EQ(missing.longitude, kNotAvailable);
  EXPECT_DOUBLE_EQ(CompositePoint(Point(20.0, kNotAvailable), Point(40.0, 1.0)).speed, kNotAvailable);
}

TEST(CompositePoint, MercuryAndVenusStayOnTheSunsSide) {
  EXPECT_DOUBLE_EQ(NearerTheSun(200.0, 10.0), 20.0);
  EXPECT_DOUBLE_EQ(NearerTheSun(20.0, 10.0), 20.0);
  EXPECT_DOUBLE_EQ(NearerTheSun(355.0, 185.0), 175.0);
}

TEST(CuspOrder, SortedFromTheChosenAngleWhichKeepsItsPlace) {
  ObjectTable objects;
  for (int i = 0; i < kCuspCount; ++i) {
    objects[kSlotFirstCusp + i].SetLongitude(30.0 * i);
    objects[kSlotFirstCusp + i].house = kSlotFirstCusp + i;
  }
  objects[kSlotFirstCusp + 1].SetLongitude(75.0);  // cusp 2 beyond cusp 3
  ObjectTable fromMc = objects;
  RestoreCuspOrder(ChartAngle::kMidheaven, fromMc);
  EXPECT_DOUBLE_EQ(fromMc[kSlotMidheaven].longitude, 270.0);
  EXPECT_DOUBLE_EQ(fromMc[kSlotFirstCusp + 1].longitude, 60.0);
  EXPECT_DOUBLE_EQ(fromMc[kSlotFirstCusp + 2].longitude, 75.0);
  EXPECT_EQ(fromMc[kSlotFirstCusp + 2].house, kSlotFirstCusp + 2);
  for (int i = 1; i < kCuspCount; ++i) {
    EXPECT_GT(Normalise360(fromMc[kSlotFirstCusp + (9 + i) % 12].longitude - 270.0),
              Normalise360(fromMc[kSlotFirstCusp + (8 + i) % 12].longitude - 270.0));
  }
  ObjectTable fromAsc = objects;
  fromAsc[kSlotFirstCusp].SetLongitude(80.0);  // the Ascendant moved past cusps 2 and 3
  RestoreCuspOrder(ChartAngle::kAscendant, fromAsc);
  EXPECT_DOUBLE_EQ(fromAsc[kSlotFirstCusp].longitude, 80.0);
  EXPECT_DOUBLE_EQ(fromAsc[kSlotFirstCusp + 1].longitude, 90.0);
  EXPECT_DOUBLE_EQ(fromAsc[kSlotLastCusp - 1].longitude, 60.0);
  EXPECT_DOUBLE_EQ(fromAsc[kSlotLastCusp].longitude, 75.0);
}

class MergedChartTest : public ::testing::Test {
 protected:
  MergedChartTest() {
    state_.doubleChart = true;
    state_.main = testing::Person("Анна", {1980, 1, 1, 12, 0, 0}, 0.0, 50.0, 30.0, "Киев");
    state_.main.filePath = "/docs/anna.kvd";
    state_.second = testing::Person("Борис", {1990, 1, 1, 12, 0, 0}, 0.0, 60.0, 40.0, "Киев");
    state_.second.filePath = "/docs/boris.kvd";
    ComputeChart(state_.main, Context());
    ComputeChart(state_.second, Context());
  }
  ComputeContext Context() { return {sky_, &state_.main, nullptr, nullptr, ""}; }

  testing::FakeSky sky_;
  WorkspaceState state_;
};

TEST_F(MergedChartTest, MidpointChartIsCastHalfwayAndKeepsACommonPlace) {
  const ChartRecord first = state_.main;
  const ChartRecord second = state_.second;
  EXPECT_EQ(BuildMidpointChart(state_, Context()), ComputeResult::kComputed);
  EXPECT_EQ(state_.main.name, "Ср.карта (Анна + Борис)");
  EXPECT_TRUE(state_.main.filePath.empty());
  EXPECT_EQ(state_.main.placeName, "Киев");
  EXPECT_DOUBLE_EQ(state_.main.latitudeDeg, 55.0);
  EXPECT_DOUBLE_EQ(state_.main.longitudeDeg, 35.0);
  EXPECT_DOUBLE_EQ(state_.main.gmtOffsetHours, 0.0);
  EXPECT_NEAR(HoursSince1860(state_.main.greenwich),
              (HoursSince1860(first.greenwich) + HoursSince1860(second.greenwich)) / 2.0, 1.0 / 3600);
  EXPECT_TRUE(state_.second.name.empty());
  EXPECT_TRUE(state_.second.filePath.empty());

  LeaveMergedChart(state_, Context());
  EXPECT_EQ(state_.main, first);
  EXPECT_EQ(state_.second, second);
  EXPECT_FALSE(state_.merged);

  state_.second.placeName = "Львов";  // different places: a blank place name
  BuildMidpointChart(state_, Context());
  EXPECT_EQ(state_.main.placeName, " ");
}

TEST_F(MergedChartTest, CompositeAveragesEveryPointAndLeavesExactly) {
  const ChartRecord first = state_.main;
  const ChartRecord second = state_.second;
  CompositeOptions options;
  options.venusBySun = true;
  EXPECT_EQ(BuildCompositeChart(state_, options, sky_), ComputeResult::kComputed);
  EXPECT_EQ(state_.main.name, "Комп.карта (Анна + Борис)");
  EXPECT_EQ(state_.main.objects[kSlotMoon],
            CompositePoint(first.objects[kSlotMoon], second.objects[kSlotMoon]));
  EXPECT_LE(std::fabs(SignedDifference(state_.main.objects[kSlotVenus].longitude,
                                       state_.main.objects[kSlotSun].longitude)), 90.0);
  LeaveMergedChart(state_, Context());
  EXPECT_EQ(state_.main, first);
  EXPECT_EQ(state_.second, second);
}

TEST(CompositeOptions, PlaceFieldsAreCheckedOnlyForHousesOfAPlace) {
  CompositeOptions options;
  options.latitude = {95, 0.0, false};
  EXPECT_TRUE(CheckCompositeOptions(options).ok);
  options.houses = CompositeHouses::kForPlace;
  const BirthDataCheck check = CheckCompositeOptions(options);
  EXPECT_FALSE(check.ok);
  EXPECT_EQ(check.message, kMessageBadData);
  EXPECT_EQ(check.focus, BirthField::kLatitudeDegrees);
}

TEST_F(MergedChartTest, CompositeHousesForAPlaceKeepTheChosenAngle) {
  CompositeOptions options;
  options.houses = CompositeHouses::kForPlace;
  options.placeName = "Рим";
  options.latitude = {41, 54.0, false};
  options.longitude = {12, 30.0, false};
  for (const auto& [angle, slot] : {std::pair{ChartAngle::kAscendant, kSlotFirstCusp},
                                     {ChartAngle::kMidheaven, kSlotMidheaven}}) {
    options.fitAngle = angle;
    const double composite = CompositePoint(state_.main.objects[slot], state_.second.objects[slot]).longitude;
    WorkspaceState state = state_;
    BuildCompositeChart(state, options, sky_);
    EXPECT_DOUBLE_EQ(state.main.latitudeDeg, 41.9);
    EXPECT_DOUBLE_EQ(state.main.longitudeDeg, 12.5);
    EXPECT_NEAR(SignedDifference(state.main.objects[slot].longitude, composite), 0.0, 0.02) << slot;
  }
}

}  // namespace
}  // namespace kelvara::workspace
