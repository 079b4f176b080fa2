// The scanner on the real engine: a year of transits to the example chart, one step a
// day. Each crossing lies where straight lines between the daily positions allow.
#include <cmath>
#include <map>

#include <gtest/gtest.h>

#include "eventmap/event_scanner.h"
#include "eventmap/tests/example_chart.h"
#include "workspace/chart_compute.h"
#include "workspace/driver_points.h"

namespace kelvara::eventmap {
namespace {

using workspace::ChartRecord;
using workspace::SignedDifference;

constexpr double kArcSecond = 1.0 / 3600.0;
constexpr double kDay = 24.0;

using testing::ExampleChart;

const workspace::EngineDriver& Driver() { return testing::ExampleEngine(); }

// Positions straight from the engine, cached per moment.
class Sky {
 public:
  explicit Sky(const ChartRecord& place) : place_(place) {}
  double At(int slot, double hours) {
    auto it = cache_.find(hours);
    if (it == cache_.end()) {
      workspace::ObjectTable objects;
      const auto request = workspace::RequestAt(hours, place_.latitudeDeg, place_.longitudeDeg, workspace::kNoHouses);
      EXPECT_TRUE(Driver().RunChart(request, objects, false));
      it = cache_.emplace(hours, objects).first;
    }
    return it->second[slot].longitude;
  }
  // The largest second difference over a day around the step holding `hours`: centred
  // on either end of the step, and on its middle (from half-day differences, times 4).
  double SecondDifference(int slot, double hours, double scanStart) {
    const double t0 = scanStart + std::floor((hours - scanStart) / kDay) * kDay;
    const auto around = [&](double t, double h) {
      return SignedDifference(At(slot, t + h), At(slot, t)) - SignedDifference(At(slot, t), At(slot, t - h));
    };
    constexpr double kHalfStepScale = 4.0;
    return std::max({std::fabs(around(t0, kDay)), std::fabs(around(t0 + kDay, kDay)),
                     kHalfStepScale * std::fabs(around(t0 + kDay / 2, kDay / 2))});
  }

 private:
  const ChartRecord& place_;
  std::map<double, workspace::ObjectTable> cache_;
};

double DistanceToSide(double longitude, double target) { return std::fabs(SignedDifference(longitude, target)); }

TEST(ScannerOnTheEngine, AYearOfTransitsCrossesWhereTheDailyPositionsSay) {
  const ChartRecord natal = ExampleChart();
  const auto owned = testing::YearOfTransitsScanner(natal);
  EventScanner& scanner = *owned;
  ASSERT_EQ(scanner.Prepare(), PrepareResult::kReady);
  ASSERT_EQ(scanner.Run(), ScanOutcome::kFinished);
  const auto snapshot = scanner.Snapshot();
  const double scanStart = snapshot->coveredStartHours;
  Sky sky(natal);
  int exacts = 0;
  int boundaries = 0;
  for (int m = 0; m < kTablePoints; ++m)
    for (int a = 0; a < kTableAspects; ++a)
      for (int b = 0; b < kTablePoints; ++b)
        for (const EventRecord& r : snapshot->Table(EventKind::kExact).Cell(m, a, b)) {
          const double base = natal.objects[b].longitude;
          const double culmination = sky.At(m, r.culminationHours);
          // The side of the aspect the record belongs to: the one the body stands on.
          const double side = DistanceToSide(culmination, base + r.aspectAngleDeg) <=
                                      DistanceToSide(culmination, base - r.aspectAngleDeg)
                                  ? base + r.aspectAngleDeg
                                  : base - r.aspectAngleDeg;
          const auto tolerance = [&](double hours) {
            return sky.SecondDifference(m, hours, scanStart) / 8.0 + kArcSecond;
          };
          ++exacts;
          EXPECT_LE(DistanceToSide(culmination, side), tolerance(r.culminationHours))
              << "moving " << m << " aspect " << r.aspectAngleDeg << " base " << b;
          for (const auto& [found, hours] : {std::pair{r.startFound, r.startHours}, std::pair{r.endFound, r.endHours}}) {
            if (!found) continue;
            ++boundaries;
            EXPECT_NEAR(DistanceToSide(sky.At(m, hours), side), r.orbDeg / 2.0, tolerance(hours))
                << "moving " << m << " aspect " << r.aspectAngleDeg << " base " << b;
          }
        }
  // The Moon alone makes some 13 rounds past 27 points on 32 aspect points.
  EXPECT_GT(exacts, 10000);
  EXPECT_GT(boundaries, 2 * exacts - 200);
}

}  // namespace
}  // namespace kelvara::eventmap
