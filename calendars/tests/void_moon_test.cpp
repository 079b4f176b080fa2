#include "calendars/void_moon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <thread>

#include "calendars/calendar_view.h"
#include "calendars/tests/calendar_test_support.h"
#include "platform/worker.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::calendars {
namespace {

using workspace::kSlotMoon;
using workspace::kSlotSun;
constexpr int kMars = workspace::kSlotMars;
constexpr int kAries = kFirstSignBoundary;

CalendarEvent Event(int moving, int base, double angle, double hours) {
  CalendarEvent e;
  e.movingPoint = moving;
  e.basePoint = base;
  e.angleDeg = angle;
  e.culminationHours = hours;
  return e;
}

TEST(VoidMoonPairing, TheLastAspectBeforeEachIngressOpensItsSpan) {
  const std::vector<CalendarEvent> events = {
      Event(kSlotMoon, kAries + 1, 0.0, 1.0),   // an ingress with no aspect before it
      Event(kSlotMoon, kMars, 90.0, 2.0),       // replaced by the next aspect
      Event(kSlotSun, kSlotMoon, 60.0, 3.0),    // the Sun's sextile to the Moon
      Event(kSlotMoon, kAries + 4, 90.0, 3.5),  // a square to a boundary is no ingress
      Event(kSlotMoon, kAries + 2, 0.0, 4.0),   // closes the span
      Event(kSlotMoon, kAries + 3, 0.0, 5.0),   // no aspect since the last ingress
  };
  const std::vector<VoidSpan> spans = PairVoidSpans(events);
  ASSERT_EQ(spans.size(), 1u);
  EXPECT_EQ(spans[0].lastAspect.culminationHours, 3.0);
  EXPECT_EQ(spans[0].ingress.culminationHours, 4.0);

  // Both lines are the Moon's; the Sun's aspect names the Sun as its base point.
  const PlaceClock clock(nullptr, "", 0.0, 0.0, 3.0, 0.0);
  EXPECT_EQ(VoidEventLine(spans[0].lastAspect, clock), "02#060.00#01#000000006.0000");
  EXPECT_EQ(VoidEventLine(spans[0].ingress, clock), "02#000.00#19#000000007.0000");
}

TEST(VoidMoonAspects, RowsOfTheChosenAspectsAndAnIngressRowAlways) {
  CalendarRequest request;
  request.voidAspects = {false, false, true, false, false, false, true, false, false};  // 90 and 60
  workspace::AspectTable rows = VoidAspectTables(request).single;
  EXPECT_TRUE(rows[0].enabled && rows[1].enabled && rows[2].enabled);
  EXPECT_FALSE(rows[3].enabled);
  EXPECT_EQ((std::vector<double>{rows[0].angle, rows[1].angle, rows[2].angle}), (std::vector<double>{90, 60, 0}));
  EXPECT_EQ(rows[0].firstOrbs[kMars], kVoidOrbDeg);
  EXPECT_EQ(rows[0].firstOrbs[kAries], 0.0);
  EXPECT_EQ(rows[2].firstOrbs[kMars], 0.0) << "the added conjunction finds ingresses only";
  EXPECT_EQ(rows[2].firstOrbs[kAries + 11], kVoidOrbDeg);

  request.voidAspects.fill(false);
  rows = VoidAspectTables(request).single;
  EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](const auto& r) { return r.enabled; }), 1);
  const workspace::testing::FakeSky sky;
  workspace::ChartRecord transit = workspace::testing::Person("Останов", {2024, 3, 1});
  request.from = {2024, 3, 1};
  request.to = {2024, 3, 20};
  const auto result = CalculateVoidMoon(request, transit, {sky});
  ASSERT_TRUE(result);
  EXPECT_TRUE(result->lines.empty());
  EXPECT_EQ(result->header, "(GMT:+0:00) c 01.03.2024 по 20.03.2024");
}

// An independent scan of the real engine every ten minutes: the Moon's aspects to the
// Sun and the planets and its ingresses, straight lines between the casts.
struct Found {
  double hours;  // Greenwich
  int base;      // 1-16 a body, 17-28 the boundary of the sign entered
  double angle;
};

std::vector<Found> BruteForceMoon(double fromHours, double toHours, const CalendarRequest& request) {
  constexpr double kStep = 10.0 / 60.0;
  const std::vector<int> bodies = {1, 3, 4, 5, 6, 7, 9, 10, 11};
  std::vector<double> separations;
  for (std::size_t i = 0; i < kVoidAspectAnglesDeg.size(); ++i) {
    if (request.voidAspects[i]) separations.push_back(kVoidAspectAnglesDeg[i]);
  }
  const auto cast = [&](double hours) {
    workspace::ObjectTable objects;
    EXPECT_TRUE(testing::Driver().RunChart(
        workspace::RequestAt(hours, request.latitudeDeg, request.longitudeDeg, workspace::kNoHouses), objects, false));
    return objects;
  };
  std::vector<Found> found;
  workspace::ObjectTable before = cast(fromHours);
  for (double t = fromHours; t < toHours; t += kStep) {
    const workspace::ObjectTable after = cast(t + kStep);
    const double m0 = before[kSlotMoon].longitude, m1 = after[kSlotMoon].longitude;
    if (std::floor(m0 / 30.0) != std::floor(m1 / 30.0)) {
      const double boundary = std::floor(m1 / 30.0) * 30.0;
      const double share = workspace::SignedDifference(boundary, m0) / workspace::SignedDifference(m1, m0);
      found.push_back({t + kStep * share, kAries + int(boundary / 30.0), 0.0});
    }
    for (const int body : bodies) {
      for (const double angle : separations) {
        const bool oneSided = angle == 0.0 || angle == 180.0;
        for (const double side : {angle, -angle}) {
          if (side < 0.0 && oneSided) continue;
          const double d0 = workspace::SignedDifference(m0 - side, before[body].longitude);
          const double d1 = workspace::SignedDifference(m1 - side, after[body].longitude);
          if ((d0 < 0.0) == (d1 < 0.0) || std::fabs(d0) > 90.0 || std::fabs(d1) > 90.0) continue;
          found.push_back({t + kStep * d0 / (d0 - d1), body, angle});
        }
      }
    }
    before = after;
  }
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.hours < b.hours; });
  return found;
}

TEST(VoidMoon, AMonthAtMoscowMatchesTheEnginesMoonWithinHalfAMinuteOnLocalTime) {
  CalendarRequest request = testing::RequestFor({2024, 2, 1}, {2024, 3, 1}, testing::kMoscowLatitude,
                                                testing::kMoscowLongitude, "Москва");
  const testing::SteppedZone moscow(0.0, 3.0, 3.0);
  workspace::ChartRecord transit = workspace::testing::Person("Останов", {2024, 2, 1, 12, 0, 0}, 3.0,
                                                              request.latitudeDeg, request.longitudeDeg);
  const auto result = CalculateVoidMoon(request, transit, {testing::Driver(), &moscow});
  ASSERT_TRUE(result);
  EXPECT_EQ(result->header, "c 01.02.2024 по 01.03.2024|ме.время: Москва");
  ASSERT_EQ(result->lines.size() % 2, 0u);

  // The spans whose ingress lies a day inside the range on both sides, paired by hand.
  const double start = StartHours(request) - 3.0, end = EndHours(request) - 3.0;
  const std::vector<Found> found = BruteForceMoon(start - 48.0, end + 24.0, request);
  std::vector<std::pair<Found, Found>> expected;
  std::optional<Found> last;
  for (const Found& f : found) {
    if (f.base < kAries) {
      last = f;
    } else if (last) {
      if (f.hours > start + 24.0 && f.hours < end - 24.0) expected.emplace_back(*last, f);
      last.reset();
    }
  }
  std::vector<std::pair<VoidLine, VoidLine>> shown;
  for (std::size_t i = 0; i < result->lines.size(); i += 2) {
    const auto aspect = ParseVoidLine(result->lines[i]), ingress = ParseVoidLine(result->lines[i + 1]);
    ASSERT_TRUE(aspect && ingress) << result->lines[i];
    if (ingress->hours - 3.0 > start + 24.0 && ingress->hours - 3.0 < end - 24.0) shown.emplace_back(*aspect, *ingress);
  }
  ASSERT_GE(expected.size(), 10u);
  ASSERT_EQ(shown.size(), expected.size());
  constexpr double kHalfMinute = 0.5 / 60.0;
  bool sunSeen = false;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto& [aspect, ingress] = shown[i];
    const auto& [lastAspect, entry] = expected[i];
    EXPECT_EQ(std::tie(aspect.movingPoint, aspect.basePoint, ingress.basePoint), std::tie(kSlotMoon, lastAspect.base, entry.base));
    EXPECT_EQ(aspect.angleDeg, lastAspect.angle);
    EXPECT_EQ(ingress.angleDeg, 0.0);
    EXPECT_NEAR(aspect.hours, lastAspect.hours + 3.0, kHalfMinute) << result->lines[2 * i];
    EXPECT_NEAR(ingress.hours, entry.hours + 3.0, kHalfMinute) << result->lines[2 * i + 1];
    sunSeen = sunSeen || aspect.basePoint == kSlotSun;
  }
  EXPECT_TRUE(sunSeen) << "a span that the Sun's aspect opens";
}

// Holds the first cast until the owner has asked the worker to stop.
class GatedSky : public workspace::testing::FakeSky {
 public:
  bool RunChart(const workspace::ChartRequest& request, workspace::ObjectTable& objects, bool arc) const override {
    if (worker != nullptr && !reached.IsSet()) {
      reached.Set();
      while (!worker->StopRequested()) std::this_thread::yield();
    }
    return FakeSky::RunChart(request, objects, arc);
  }
  const platform::Worker* worker = nullptr;
  mutable platform::Event reached;
};

TEST(VoidMoon, AStopLeavesNoResultAndABadChartIsRefused) {
  const CalendarRequest request = testing::RequestFor({2024, 5, 1}, {2024, 6, 1}, testing::kMoscowLatitude);
  workspace::ChartRecord transit = workspace::testing::Person("Останов", {2024, 5, 1});
  GatedSky sky;
  platform::Worker worker;
  sky.worker = &worker;
  std::optional<std::optional<CalendarResult>> outcome;
  worker.Start([&](platform::Worker& self) { outcome = CalculateVoidMoon(request, transit, {sky, nullptr, &self}); });
  sky.reached.Wait();
  worker.Stop();
  ASSERT_TRUE(outcome);
  EXPECT_FALSE(*outcome);

  sky.worker = nullptr;
  transit.gmtOffsetHours = 20.0;
  const auto refused = CalculateVoidMoon(request, transit, {sky});
  ASSERT_TRUE(refused);
  EXPECT_TRUE(refused->lines.empty());
  EXPECT_FALSE(refused->refusal.empty());
}

}  // namespace
}  // namespace kelvara::calendars
