#include "calendars/dated_aspects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "calendars/calendar_view.h"
#include "calendars/tests/calendar_test_support.h"
#include "eventmap/tests/scripted_sky.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::calendars {
namespace {

using eventmap::testing::AtDay;
using eventmap::testing::Knots;
using eventmap::testing::Line;
using workspace::ChartKind;
using workspace::ChartRecord;

constexpr int kSun = workspace::kSlotSun, kMoon = workspace::kSlotMoon, kMercury = workspace::kSlotMercury;
constexpr int kVenus = workspace::kSlotVenus, kJupiter = workspace::kSlotJupiter, kSaturn = workspace::kSlotSaturn;

TEST(AspectMethodChoice, FollowsTheChartsOfTheWindow) {
  const ChartRecord main = workspace::testing::Person("Иван", {1980, 1, 1});
  ChartRecord second = main;
  const auto with = [&](std::string_view name) {
    second.name = std::string(name);
    return ChooseAspectMethod(main, &second);
  };
  const AspectMethod alone = ChooseAspectMethod(main, nullptr);
  EXPECT_EQ(std::tie(alone.method, alone.code, alone.shortCode),
            std::tie(eventmap::kMethodTransits, "Tr|Nt|Иван", "Tr"));
  EXPECT_EQ(alone.charts.base.houseSystem, workspace::kNoHouses);
  EXPECT_EQ(alone.charts.moving.name, workspace::kNameStopped);

  const AspectMethod directed = with(workspace::KindName(ChartKind::kSymbolicDirection));
  EXPECT_EQ(std::tie(directed.method, directed.code), std::tie(eventmap::kMethodDirections, "Dr|Nt|Иван"));
  EXPECT_EQ(directed.charts.moving, second);
  EXPECT_EQ(directed.charts.base.houseSystem, main.houseSystem);
  EXPECT_EQ(with(workspace::KindName(ChartKind::kSecondaryProgression)).code, "Pr|Nt|Иван");

  // A return is no method of its own: transits, as without a second chart.
  const AspectMethod solar = with(workspace::KindName(ChartKind::kSolarReturnForward));
  EXPECT_EQ(solar.code, "Tr|Nt|Иван");
  EXPECT_EQ(solar.charts.base.houseSystem, workspace::kNoHouses);
  const AspectMethod frozenSecond = with(workspace::kNameStopped);
  EXPECT_EQ(frozenSecond.code, "Tr|Nt|Иван");
  EXPECT_EQ(frozenSecond.charts.base.houseSystem, main.houseSystem);

  ChartRecord frozen = main;
  frozen.name = std::string(workspace::kNameStopped);
  const AspectMethod background = ChooseAspectMethod(frozen, &second);
  EXPECT_EQ(std::tie(background.method, background.code), std::tie(eventmap::kMethodBackground, "Tr|Tr|Транзитный фон"));
  EXPECT_EQ(background.charts.baseMotion, BaseMotion::kSameChart);
}

// A scripted sky over days 9-12 of 2000 (the window is days 10-12): the Sun and Saturn
// reach natal Venus and the Moon (both 150) at day 10.25, and natal Mercury's square
// then too; Mercury touches natal Jupiter's orb and turns back.
class AspectCalendarTest : public ::testing::Test {
 protected:
  AspectCalendarTest() {
    sky.Script(kSun, Line(139.75, 1.0));
    sky.Script(kSaturn, Line(147.95, 0.2));
    sky.Script(kMercury, Knots({{9, 198.5}, {10.5, 199.5}, {12, 198.5}}));
  }

  std::optional<CalendarResult> Calculate(const ColumnOrder& order, const workspace::TimeZoneSource* zones = nullptr,
                                          std::string place = "") {
    const CalendarRequest request = testing::RequestFor({2000, 1, 11}, {2000, 1, 13}, 55.0, 37.0, std::move(place));
    return CalculateAspectCalendar(request, {main}, eventmap::testing::Aspects({{0, 2.0}, {90, 2.0}}), order,
                                   {sky, zones});
  }

  eventmap::testing::ScriptedSky sky;
  ChartRecord main =
      eventmap::testing::NatalWith({{kVenus, 150.0}, {kMoon, 150.0}, {kMercury, 60.0}, {kJupiter, 200.0}});
};

std::string At(double days, double offsetHours = 0.0) { return TimeFieldText(AtDay(days) + offsetHours); }

TEST_F(AspectCalendarTest, ExactAspectsInCulminationOrderTiesByPointsAndAspect) {
  const auto result = Calculate(kInitialColumnOrder);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->header, "Tr|Nt|Иван|(GMT:+0:00) c 11.01.2000 по 13.01.2000|Tr: без учета Домов");
  const std::string exact = "#" + At(10.25);
  const std::string sunRange = "#" + At(9.25) + "#" + At(11.25);
  // Saturn entered the orb five days before the scan began and leaves it five days after.
  const std::string saturnRange = "#-1#9999999999.9999";
  EXPECT_EQ(result->lines, (std::vector<std::string>{
                               exact + "#01(150.000)#000.000#02(150.000)" + sunRange,
                               exact + "#01(150.000)#000.000#04(150.000)" + sunRange,
                               exact + "#01(150.000)#090.000#03(060.000)" + sunRange,
                               exact + "#07(150.000)#000.000#02(150.000)" + saturnRange,
                               exact + "#07(150.000)#000.000#04(150.000)" + saturnRange,
                               exact + "#07(150.000)#090.000#03(060.000)" + saturnRange,
                           }))
      << "Mercury's touch of Jupiter's orb never became exact";
}

TEST_F(AspectCalendarTest, AnotherColumnOrderLeadsAndSortsTheLines) {
  const auto result = Calculate({2, 1, 3, 4, 5, 6});
  ASSERT_TRUE(result);
  ASSERT_EQ(result->lines.size(), 6u);
  EXPECT_TRUE(std::is_sorted(result->lines.begin(), result->lines.end()));
  EXPECT_EQ(result->lines[0], "#000.000#01(150.000)#02(150.000)#" + At(10.25) + "#" + At(9.25) + "#" + At(11.25));
  EXPECT_TRUE(result->lines[4].starts_with("#090.000#01(150.000)#03(060.000)#"));

  // The view sorted by the base point: a new calculation comes out the same.
  CalendarResult sorted = *Calculate(kInitialColumnOrder);
  ColumnOrder order = kInitialColumnOrder;
  SortAspectsByField(sorted, order, 3);
  ASSERT_EQ(order, (ColumnOrder{3, 4, 1, 2, 5, 6}));
  EXPECT_EQ(Calculate(order)->lines, sorted.lines);
}

TEST_F(AspectCalendarTest, EachMomentTakesTheOffsetInForceThen) {
  // Summer time from day 10.5: the culmination and the start on +3, the end on +4.
  const testing::SteppedZone zone(AtDay(10.5), 3.0, 4.0);
  const auto result = Calculate(kInitialColumnOrder, &zone, "Москва");
  ASSERT_TRUE(result);
  EXPECT_EQ(result->header, "Tr|Nt|Иван|c 11.01.2000 по 13.01.2000|Tr: Москва");
  ASSERT_EQ(result->lines.size(), 6u);
  EXPECT_EQ(result->lines[1], "#" + At(10.25, 3.0) + "#01(150.000)#000.000#04(150.000)#" + At(9.25, 3.0) + "#" +
                                  At(11.25, 4.0));
}

TEST_F(AspectCalendarTest, NothingFoundClearsTheHeader) {
  main = eventmap::testing::NatalWith({{kJupiter, 200.0}});
  const auto result = Calculate(kInitialColumnOrder);
  ASSERT_TRUE(result);
  EXPECT_TRUE(result->lines.empty());
  EXPECT_TRUE(result->header.empty());
}

// A month of transits to a natal chart on the real engine: at every culmination the
// moving point crosses its aspect to the base point within half a minute (a minute for
// the cycle points, which the driver moves on whole minutes).
TEST(AspectCalendar, CulminationsOnTheRealEngineAreExactWithinHalfAMinute) {
  ChartRecord natal = workspace::testing::Person("Пример", {1985, 7, 12, 14, 5, 0}, 3.0);
  workspace::ComputeChart(natal, {testing::Driver(), &natal, nullptr, nullptr, {}});
  const CalendarRequest request = testing::RequestFor({2025, 3, 1}, {2025, 4, 1}, natal.latitudeDeg);
  const auto result =
      CalculateAspectCalendar(request, {natal}, workspace::AspectTables{}, kInitialColumnOrder, {testing::Driver()});
  ASSERT_TRUE(result);
  ASSERT_GT(result->lines.size(), 300u);
  const auto movingAt = [&](double hours, int point) {
    workspace::ObjectTable objects;
    testing::Driver().RunChart(workspace::RequestAt(hours, natal.latitudeDeg, natal.longitudeDeg, workspace::kNoHouses),
                               objects, false);
    return objects[point].longitude;
  };
  constexpr double kHalfMinute = 0.5 / 60.0;
  for (const std::string& line : result->lines) {
    const auto a = ParseAspectLine(line, kInitialColumnOrder);
    ASSERT_TRUE(a) << line;
    const double greenwich = a->culminationHours - natal.gmtOffsetHours;
    const double base = natal.objects[a->basePoint].longitude;
    const auto off = [&](double hours) {
      const double separation = workspace::SignedDifference(movingAt(hours, a->movingPoint), base);
      const double side = std::fabs(workspace::SignedDifference(separation, a->angleDeg)) <
                                  std::fabs(workspace::SignedDifference(separation, -a->angleDeg))
                              ? a->angleDeg
                              : -a->angleDeg;
      return workspace::SignedDifference(separation, side);
    };
    const bool cyclePoint = a->movingPoint == workspace::kSlotProserpina || a->movingPoint == workspace::kSlotSelena;
    const double within = cyclePoint ? 2.0 * kHalfMinute : kHalfMinute;
    EXPECT_LE(off(greenwich - within) * off(greenwich + within), 0.0) << line;
  }
}

}  // namespace
}  // namespace kelvara::calendars
