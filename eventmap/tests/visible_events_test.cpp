// The visible list on hand-made snapshots, and a reader racing a worker that scans,
// stops and republishes.
#include "eventmap/visible_events.h"

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "eventmap/tests/scripted_sky.h"
#include "platform/worker.h"

namespace kelvara::eventmap {
namespace {

const platform::Rect kCalendarRect{0, 0, 100, 50};

EventRecord Record(double start, double culmination, double end, double tag = 0.0, double orb = 1.0) {
  EventRecord r;
  r.startHours = start;
  r.culminationHours = culmination;
  r.endHours = end;
  r.orbDeg = orb;
  r.movingCoordinateDeg = tag;
  return r;
}

std::shared_ptr<ScanSnapshot> Snapshot(double coveredStart, double coveredEnd) {
  auto s = std::make_shared<ScanSnapshot>();
  s->coveredStartHours = coveredStart;
  s->coveredEndHours = coveredEnd;
  return s;
}

void Put(ScanSnapshot& s, EventKind kind, EventCell cell, const EventRecord& r) {
  s.tables[static_cast<int>(kind)].Cell(cell.moving, cell.aspect, cell.base).push_back(r);
}

std::vector<double> Tags(const VisibleEvents& v) {
  std::vector<double> tags;
  for (const EventRecord* r : v.events) tags.push_back(r->movingCoordinateDeg);
  return tags;
}

TEST(VisibleEvents, WindowEdgesAndHiddenRecords) {
  auto s = Snapshot(0, 1000);
  Put(*s, EventKind::kExact, {1, 0, 1}, Record(200, 250, 300, 1));  // starts at the window end
  Put(*s, EventKind::kExact, {1, 0, 2}, Record(0, 50, 100, 2));  // ends at the window start
  Put(*s, EventKind::kExact, {1, 0, 3}, Record(150, 155, 160, 3));
  Put(*s, EventKind::kEntry, {1, 0, 3}, Record(150, 155, 160, 4, -1.0));  // hidden
  Put(*s, EventKind::kRunning, {1, 0, 4}, Record(0, 1000, 1000, 5, -0.5));  // hidden
  Put(*s, EventKind::kRunning, {1, 0, 5}, Record(0, 1000, 1000, 6));
  EXPECT_EQ(Tags(SelectVisibleEvents(s, 100, 200, kCalendarRect)), (std::vector<double>{3, 6}));
}

TEST(VisibleEvents, SortedByCulminationAndEqualOnesKeepTheTableOrder) {
  auto s = Snapshot(0, 1000);
  Put(*s, EventKind::kRunning, {1, 0, 1}, Record(100, 150, 200, 7));
  Put(*s, EventKind::kRunning, {1, 0, 2}, Record(100, 120, 200, 1));
  Put(*s, EventKind::kExit, {1, 0, 1}, Record(100, 150, 200, 6));
  Put(*s, EventKind::kEntry, {2, 0, 1}, Record(100, 150, 200, 5));
  Put(*s, EventKind::kExact, {3, 0, 1}, Record(100, 150, 200, 4));
  Put(*s, EventKind::kExact, {1, 0, 2}, Record(100, 150, 200, 3));
  Put(*s, EventKind::kExact, {1, 0, 1}, Record(100, 150, 200, 2));
  Put(*s, EventKind::kExact, {1, 0, 1}, Record(100, 150, 200, 2.5));
  Put(*s, EventKind::kExact, {1, 0, 3}, Record(100, 140, 200, 1.5));
  EXPECT_EQ(Tags(SelectVisibleEvents(s, 0, 1000, kCalendarRect)), (std::vector<double>{1, 1.5, 2, 2.5, 3, 4, 5, 6, 7}));
}

TEST(VisibleEvents, OnlyTheCoveredPartAsTheRectangleMapsIt) {
  // 1000 columns over 1000 hours: column = hour.
  const platform::Rect wide{0, 0, 1000, 10};
  auto s = Snapshot(400, 600);
  Put(*s, EventKind::kExact, {1, 0, 1}, Record(100, 150, 200, 1));  // in the window, not covered
  Put(*s, EventKind::kExact, {1, 0, 2}, Record(590, 650, 700, 2));
  Put(*s, EventKind::kExact, {1, 0, 3}, Record(600, 650, 700, 3));  // touches the last column
  Put(*s, EventKind::kExact, {1, 0, 4}, Record(601, 650, 700, 4));
  EXPECT_EQ(Tags(SelectVisibleEvents(s, 0, 1000, wide)), (std::vector<double>{2, 3}));
  // Within one column of a narrow rectangle an event still counts.
  auto narrow = Snapshot(0, 1000);
  Put(*narrow, EventKind::kExact, {1, 0, 1}, Record(500.0, 500.005, 500.01, 1));
  EXPECT_EQ(SelectVisibleEvents(narrow, 0, 1000, {0, 0, 10, 10}).events.size(), 1u);
}

TEST(VisibleEvents, EmptyWindowOrNoScanSelectsNothing) {
  auto s = Snapshot(0, 1000);
  Put(*s, EventKind::kExact, {1, 0, 1}, Record(100, 150, 200, 1));
  EXPECT_TRUE(SelectVisibleEvents(s, 150, 150, kCalendarRect).events.empty());
  testing::ScriptedSky sky;
  const EventScanner scanner(sky, testing::Aspects({{0, 1.0}}));
  const VisibleEvents none = SelectVisibleEvents(scanner, 0, 1000, kCalendarRect);
  EXPECT_TRUE(none.events.empty());
  EXPECT_EQ(none.snapshot, nullptr);
}

TEST(VisibleEvents, TheSelectionKeepsItsSnapshotAlive) {
  auto s = Snapshot(0, 1000);
  Put(*s, EventKind::kExact, {1, 0, 1}, Record(100, 150, 200, 1));
  const std::weak_ptr<ScanSnapshot> watch = s;
  const VisibleEvents v = SelectVisibleEvents(std::move(s), 0, 1000, kCalendarRect);
  EXPECT_FALSE(watch.expired());
  EXPECT_EQ(v.snapshot.use_count(), 1);
  ASSERT_EQ(v.events.size(), 1u);
  EXPECT_EQ(v.events[0]->culminationHours, 150);
}

// Under a thread sanitizer this shows the snapshot is the only thing the two share.
TEST(VisibleEvents, AThreadSelectingWhileAWorkerScansStopsAndRepublishes) {
  using namespace testing;
  ScriptedSky sky;
  sky.Script(workspace::kSlotSun, Knots({{0, 96}, {8, 104}, {16, 96}, {30, 110}}));
  sky.Script(workspace::kSlotMoon, Line(0.0, 13.0));
  const ChartRecord transit = TransitChart();
  const ChartRecord natal = NatalWith({{workspace::kSlotSun, 100.25}, {workspace::kSlotMoon, 200.0}});
  EventScanner scanner(sky, Aspects({{0, 2.0}, {90, 2.0}, {120, 2.0}}));
  scanner.SetCharts(Pair(&transit, &natal, kMethodTransits));
  scanner.SetWindow(AtDay(0.5), AtDay(30));

  std::atomic<bool> done = false;
  std::atomic<int> selections = 0;
  std::thread reader([&] {
    while (!done) {
      const VisibleEvents v = SelectVisibleEvents(scanner, AtDay(0), AtDay(30), kCalendarRect);
      for (std::size_t i = 1; i < v.events.size(); ++i) {
        ASSERT_LE(v.events[i - 1]->culminationHours, v.events[i]->culminationHours);
      }
      ++selections;
    }
  });
  platform::Worker worker;
  const auto scan = [&](int stopAtRun) {
    sky.runs = 0;
    sky.onRun = [&worker, stopAtRun](int run) {
      if (run == stopAtRun) {
        while (!worker.StopRequested()) std::this_thread::yield();
      }
    };
    ASSERT_EQ(scanner.Prepare(), PrepareResult::kReady);
    worker.Start([&](platform::Worker& self) { scanner.Run(&self); });
  };
  scan(0);
  worker.Join();
  const auto first = scanner.Snapshot();
  scan(12);
  while (sky.runs < 12) std::this_thread::yield();
  worker.Stop();
  const auto stopped = scanner.Snapshot();
  scan(0);
  worker.Join();
  done = true;
  reader.join();
  ASSERT_TRUE(first && stopped);
  EXPECT_FALSE(first->stopped);
  EXPECT_TRUE(stopped->stopped);
  EXPECT_FALSE(scanner.Snapshot()->stopped);
  EXPECT_NE(scanner.Snapshot(), first);
  EXPECT_GT(selections.load(), 0);
}

}  // namespace
}  // namespace kelvara::eventmap
