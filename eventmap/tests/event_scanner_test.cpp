// The scanner on a scripted sky: every expected time below is worked out by hand from
// straight paths between whole days (one step a day, scan starting at day 0).
#include "eventmap/event_scanner.h"

#include <thread>

#include <gtest/gtest.h>

#include "eventmap/tests/scripted_sky.h"
#include "platform/worker.h"

namespace kelvara::eventmap {
namespace {

using namespace testing;
using workspace::kSlotFirstCusp;

constexpr int kSun = workspace::kSlotSun;
constexpr int kMoon = workspace::kSlotMoon;
constexpr int kMercury = workspace::kSlotMercury;
constexpr int kMars = workspace::kSlotMars;
constexpr int kSaturn = workspace::kSlotSaturn;
constexpr int kAscendant = workspace::kSlotFirstCusp;
constexpr int kRow0 = 0;
constexpr double kTolerance = 1e-6;  // hours

using RecordList = std::vector<EventRecord>;

// The Sun goes 96 -> 104, back to 96 and on to 110; natal Sun 100.25 and Mercury 104.5.
Path RetrogradeLoop() { return Knots({{0, 96}, {8, 104}, {16, 96}, {30, 110}}); }
ChartRecord LoopNatal() { return NatalWith({{kSun, 100.25}, {kMercury, 104.5}}); }

struct Times {
  double start, culmination, end;  // days
};

void ExpectTimes(const EventRecord& r, Times days) {
  EXPECT_NEAR(r.startHours, AtDay(days.start), kTolerance);
  EXPECT_NEAR(r.culminationHours, AtDay(days.culmination), kTolerance);
  EXPECT_NEAR(r.endHours, AtDay(days.end), kTolerance);
}

class ScannerTest : public ::testing::Test {
 protected:
  EventScanner& Make(const workspace::AspectTables& tables) {
    scanner_ = std::make_unique<EventScanner>(sky, tables);
    return *scanner_;
  }

  // Window from day 0 12:00 to day `days` 00:00: the scan runs from day 0 to day `days`.
  std::shared_ptr<const ScanSnapshot> Scan(EventScanner& scanner, const ScanCharts& charts, int days,
                                           ScanOutcome expected = ScanOutcome::kFinished) {
    scanner.SetCharts(charts);
    scanner.SetWindow(AtDay(0.5), AtDay(days));
    EXPECT_EQ(scanner.Prepare(), PrepareResult::kReady);
    EXPECT_EQ(scanner.Run(), expected);
    return scanner.Snapshot();
  }

  std::shared_ptr<const ScanSnapshot> ScanLoop(const workspace::AspectTables& tables,
                                               ScanOutcome expected = ScanOutcome::kFinished) {
    sky.Script(kSun, RetrogradeLoop());
    return Scan(Make(tables), Pair(&transit, &natal, kMethodTransits), 30, expected);
  }

  ScriptedSky sky;
  ChartRecord transit = TransitChart();
  ChartRecord natal = LoopNatal();
  std::unique_ptr<EventScanner> scanner_;
};

const RecordList& CellOf(const ScanSnapshot& s, EventKind kind, int m, int a, int b) {
  return s.Table(kind).Cell(m, a, b);
}

std::size_t Count(const ScanSnapshot& s, EventKind kind) { return s.Table(kind).RecordCount(); }

TEST_F(ScannerTest, RetrogradeLoopPairsEachExactWithItsNearestEntryAndExit) {
  const auto s = ScanLoop(Aspects({{0, 2.0}}));
  ASSERT_TRUE(s);
  const RecordList& sun = CellOf(*s, EventKind::kExact, kSun, kRow0, kSun);
  ASSERT_EQ(sun.size(), 3u);
  ExpectTimes(sun[0], {3.25, 4.25, 5.25});
  ExpectTimes(sun[1], {10.75, 11.75, 12.75});
  ExpectTimes(sun[2], {19.25, 20.25, 21.25});
  for (const EventRecord& r : sun) {
    EXPECT_TRUE(r.exactFound && r.startFound && r.endFound);
    EXPECT_NEAR(r.durationHours, 48.0, kTolerance);
    EXPECT_NEAR(r.movingLongitudeDeg, 100.25, 1e-9);
    EXPECT_EQ(r.baseLongitudeDeg, 100.25);
    EXPECT_EQ(r.colour, 0x000100u);
    EXPECT_GT(r.orbDeg, 0.0);
  }
  // Mercury: in and out of orb at the turn, then a full pass.
  const RecordList& mercury = CellOf(*s, EventKind::kExact, kSun, kRow0, kMercury);
  ASSERT_EQ(mercury.size(), 1u);
  ExpectTimes(mercury[0], {23.5, 24.5, 25.5});
  const RecordList& entry = CellOf(*s, EventKind::kEntry, kSun, kRow0, kMercury);
  ASSERT_EQ(entry.size(), 1u);
  ExpectTimes(entry[0], {7.5, 7.5, 8.5});
  EXPECT_TRUE(entry[0].startFound && entry[0].endFound && !entry[0].exactFound);
  EXPECT_EQ(Count(*s, EventKind::kEntry), 1u);
  EXPECT_EQ(Count(*s, EventKind::kExit), 0u);
  EXPECT_EQ(Count(*s, EventKind::kRunning), 0u);
  EXPECT_EQ(s->rows, (std::vector<EventCell>{{kSun, kRow0, kSun}, {kSun, kRow0, kMercury}}));
  EXPECT_EQ(s->coveredStartHours, AtDay(0));
  EXPECT_EQ(s->coveredEndHours, AtDay(30));
  EXPECT_FALSE(s->stopped);
}

TEST_F(ScannerTest, RunningRecordsAndPointsStandingStill) {
  // Saturn stays in the orb of natal Saturn all month; Mars creeps 0.0004 degrees over
  // natal Mars in day 5 while the natal point stands: the crossing is at day 5 itself.
  sky.Script(kSaturn, Line(200.0, 0.01));
  sky.Script(kMars, Knots({{0, 100.0}, {5, 100.0}, {6, 100.0004}}));
  natal = NatalWith({{kSaturn, 200.5}, {kMars, 100.0002}});
  const auto s = Scan(Make(Aspects({{0, 2.0}})), Pair(&transit, &natal, kMethodTransits), 30);
  ASSERT_TRUE(s);
  const RecordList& running = CellOf(*s, EventKind::kRunning, kSaturn, kRow0, kSaturn);
  ASSERT_EQ(running.size(), 1u);
  ExpectTimes(running[0], {0, 30, 30});
  EXPECT_FALSE(running[0].startFound || running[0].endFound || running[0].exactFound);
  const RecordList& mars = CellOf(*s, EventKind::kExact, kMars, kRow0, kMars);
  ASSERT_EQ(mars.size(), 1u);
  EXPECT_EQ(mars[0].culminationHours, AtDay(5));
  // Mars was in orb at the start too, but it became exact: no running record for it.
  EXPECT_TRUE(CellOf(*s, EventKind::kRunning, kMars, kRow0, kMars).empty());
}

TEST_F(ScannerTest, BothSidesOfAnAspectAndHandEditedAngles) {
  // The Sun runs 5 -> 305 at 10 degrees a day past natal Sun 100.25.
  sky.Script(kSun, Line(5.0, 10.0));
  natal = NatalWith({{kSun, 100.25}});
  const auto s = Scan(Make(Aspects({{90, 2.0}, {360, 2.0}, {179.99999, 2.0}})),
                      Pair(&transit, &natal, kMethodTransits), 30);
  ASSERT_TRUE(s);
  const RecordList& square = CellOf(*s, EventKind::kExact, kSun, 0, kSun);
  ASSERT_EQ(square.size(), 2u);
  ExpectTimes(square[0], {0.425, 0.525, 0.625});  // L - 90 = 10.25
  ExpectTimes(square[1], {18.425, 18.525, 18.625});  // L + 90 = 190.25
  EXPECT_NEAR(square[0].baseLongitudeDeg, 100.25, 1e-9);
  // 360 is a conjunction, found once.
  const RecordList& conjunction = CellOf(*s, EventKind::kExact, kSun, 1, kSun);
  ASSERT_EQ(conjunction.size(), 1u);
  EXPECT_EQ(conjunction[0].aspectAngleDeg, 0.0);
  EXPECT_NEAR(conjunction[0].culminationHours, AtDay(9.525), kTolerance);
  // Both sides of 179.99999 lie 0.00002 degrees apart: crossings 0.00005 h apart, kept once.
  EXPECT_EQ(CellOf(*s, EventKind::kExact, kSun, 2, kSun).size(), 1u);
  EXPECT_EQ(Count(*s, EventKind::kEntry) + Count(*s, EventKind::kExit), 0u);
}

TEST_F(ScannerTest, TransitBackgroundExaminesEachPairOnceAndSkipsTheNodes) {
  sky.Script(kSun, Line(100.0, 1.0));
  sky.Script(kMoon, Line(90.0, 13.0));
  sky.Script(workspace::kSlotNorthNode, Line(50.0, -0.05));
  sky.Script(workspace::kSlotSouthNode, Line(230.0, -0.05));
  const auto s = Scan(Make(Aspects({{0, 2.0}, {180, 2.0}})), Pair(&transit, &transit, kMethodBackground), 10);
  ASSERT_TRUE(s);
  // The Moon overtakes the Sun: the Sun is the moving point; its retrograde-table entry
  // is met first (the Moon's upper boundary).
  const RecordList& conjunction = CellOf(*s, EventKind::kExact, kSun, 0, kMoon);
  ASSERT_EQ(conjunction.size(), 1u);
  ExpectTimes(conjunction[0], {0.75, 10.0 / 12.0, 11.0 / 12.0});
  for (const EventTable& table : s->tables) {
    EXPECT_TRUE(table.Cell(kMoon, 0, kSun).empty());
    EXPECT_TRUE(table.Cell(workspace::kSlotNorthNode, 1, workspace::kSlotSouthNode).empty());
  }
  EXPECT_EQ(Count(*s, EventKind::kExact), 1u);
  EXPECT_EQ(Count(*s, EventKind::kRunning), 0u);
}

TEST_F(ScannerTest, FixedBasePointsAndProgressMessages) {
  // The void-of-course setting: the Moon against a recast copy of its own chart whose
  // cusps are held on the sign boundaries, exact crossings only.
  sky.Script(kMoon, Line(25.0, 13.0));
  ChartRecord signs = TransitChart(workspace::kHousePlacidus);
  ScanCharts charts = Pair(&transit, &signs, kMethodBackground);
  for (int house = 0; house < workspace::kCuspCount; ++house) {
    signs.objects[kSlotFirstCusp + house].SetLongitude(30.0 * house);
    charts.fixedBasePoints.set(kSlotFirstCusp + house);
  }
  RecordingSink sink;
  EventScanner& scanner = Make(Aspects({{0, 1.0}}));
  const auto runOnWorker = [&] {
    platform::Worker worker(&sink);
    scanner.SetCharts(charts);
    scanner.SetWindow(AtDay(0.5), AtDay(3));
    ASSERT_EQ(scanner.Prepare(), PrepareResult::kReady);
    worker.Start([&](platform::Worker& self) { EXPECT_EQ(scanner.Run(&self), ScanOutcome::kFinished); });
    worker.Join();
  };
  scanner.SetExactOnly(true);
  runOnWorker();
  const auto s = scanner.Snapshot();
  const RecordList& aries = CellOf(*s, EventKind::kExact, kMoon, 0, kSlotFirstCusp + 1);
  ASSERT_EQ(aries.size(), 1u);
  EXPECT_NEAR(aries[0].culminationHours, AtDay(5.0 / 13.0), kTolerance);
  EXPECT_NEAR(aries[0].baseLongitudeDeg, 30.0, 1e-9);
  ASSERT_EQ(CellOf(*s, EventKind::kExact, kMoon, 0, kSlotFirstCusp + 2).size(), 1u);
  EXPECT_EQ(Count(*s, EventKind::kExact), 2u);
  EXPECT_EQ(Count(*s, EventKind::kEntry) + Count(*s, EventKind::kExit) + Count(*s, EventKind::kRunning), 0u);
  // Three steps in slices of two: 2/3 and then 3/3, held at 99.
  using platform::PostedMessage;
  EXPECT_EQ(sink.Messages(), (std::vector<PostedMessage>{{kWmExactOnlyProgress, 67, 0}, {kWmExactOnlyProgress, 99, 0}}));

  scanner.SetExactOnly(false);
  scanner.SetCalendarProgress(true);
  runOnWorker();
  const auto messages = sink.Messages();
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(messages[2], (PostedMessage{kWmCalendarProgress, 67, 0}));
  EXPECT_EQ(messages[3], (PostedMessage{kWmCalendarProgress, 99, 0}));
}

TEST_F(ScannerTest, StepsOfProgressedAndDirectedCharts) {
  // A window shorter than one step becomes that one step.
  sky.Script(kSun, Line(100.0, 1.0));
  ChartRecord progressed = TransitChart();
  progressed.name = std::string(workspace::KindName(workspace::ChartKind::kSecondaryProgression));
  progressed.title = std::string(workspace::kTitleProgressed);
  EventScanner& scanner = Make(Aspects({{0, 2.0}}));
  scanner.SetCharts(Pair(&progressed, &natal, kMethodProgressions));
  scanner.SetWindow(AtDay(0.5), AtDay(10.25));
  ASSERT_EQ(scanner.Prepare(), PrepareResult::kReady);
  EXPECT_EQ(scanner.StepHours(), 240.0);
  EXPECT_EQ(scanner.StepCount(), 1);
  EXPECT_EQ(scanner.ScanStartHours(), AtDay(0));
  EXPECT_EQ(scanner.ScanEndHours(), AtDay(10));
  // A progression's rate of 0, or a negative rate, steps a year of 365.242199 days.
  scanner.SetCharts(Pair(&progressed, &natal, kMethodDirections));
  scanner.SetWindow(AtDay(0.5), AtDay(4000));
  ASSERT_EQ(scanner.Prepare(), PrepareResult::kReady);
  EXPECT_DOUBLE_EQ(scanner.StepHours(), 24.0 * workspace::kTropicalYearDays);
  EXPECT_EQ(scanner.Run(), ScanOutcome::kFinished);
  ChartRecord directed = progressed;
  directed.name = std::string(workspace::KindName(workspace::ChartKind::kSymbolicDirection));
  directed.title = std::string(workspace::kTitleDirect);
  directed.directionRate = -1.0;
  scanner.SetCharts(Pair(&directed, &natal, kMethodProgressions));
  ASSERT_EQ(scanner.Prepare(), PrepareResult::kReady);
  EXPECT_DOUBLE_EQ(scanner.StepHours(), 24.0 * workspace::kTropicalYearDays);
  EXPECT_EQ(scanner.StepCount(), 10);
}

TEST_F(ScannerTest, WorksOnCopiesOfTheCharts) {
  sky.Script(kSun, RetrogradeLoop());
  const ChartRecord transitBefore = transit;
  EventScanner& scanner = Make(Aspects({{0, 2.0}}));
  scanner.SetCharts(Pair(&transit, &natal, kMethodTransits));
  natal.objects[kSun].SetLongitude(50.0);  // the owner changes its chart meanwhile
  scanner.SetWindow(AtDay(0.5), AtDay(30));
  ASSERT_EQ(scanner.Prepare(), PrepareResult::kReady);
  ASSERT_EQ(scanner.Run(), ScanOutcome::kFinished);
  EXPECT_EQ(CellOf(*scanner.Snapshot(), EventKind::kExact, kSun, kRow0, kSun).size(), 3u);
  EXPECT_EQ(transit, transitBefore);
}

TEST_F(ScannerTest, HousesOfAMovingChartOnlyWithHourlySubSteps) {
  sky.Script(kSun, RetrogradeLoop());
  transit = TransitChart(workspace::kHousePlacidus);
  EventScanner& scanner = Make(Aspects({{0, 2.0}}));
  const auto ascendantRecords = [&] {
    std::size_t count = 0;
    for (const EventTable& table : scanner.Snapshot()->tables) count += table.Cell(kAscendant, kRow0, kSun).size();
    return count;
  };
  scanner.SetCharts(Pair(&transit, &natal, kMethodTransits));
  EXPECT_EQ(scanner.HouseQuestion(), std::nullopt);
  Scan(scanner, Pair(&transit, &natal, kMethodTransits), 30);
  EXPECT_EQ(ascendantRecords(), 0u) << "a cusp turning once a step is left out";

  scanner.SetCharts(Pair(&transit, &natal, kMethodDirections));
  EXPECT_EQ(scanner.HouseQuestion(),
            "Расчет метода:\n= Дирекции планет по гороскопу =\nиз-за учета Домов займет время...");
  EXPECT_EQ(scanner.Prepare(), PrepareResult::kHousesNotAccepted);
  EXPECT_EQ(scanner.Run(), ScanOutcome::kIdle);
  scanner.AcceptHouses();
  EXPECT_EQ(scanner.HouseQuestion(), std::nullopt);
  ASSERT_EQ(scanner.Prepare(), PrepareResult::kReady);
  EXPECT_EQ(scanner.SubStepsPerStep(), 24);
  EXPECT_EQ(scanner.StepCount(), 30 * 24);
  ASSERT_EQ(scanner.Run(), ScanOutcome::kFinished);
  // The Ascendant passes natal Sun once a sidereal day: 30 times in 30 days.
  EXPECT_EQ(CellOf(*scanner.Snapshot(), EventKind::kExact, kAscendant, kRow0, kSun).size(), 30u);
  // At hourly steps the Sun meets natal Sun exactly at step times (day 4.25 is hour 102).
  EXPECT_EQ(CellOf(*scanner.Snapshot(), EventKind::kExact, kSun, kRow0, kSun).size(), 3u);
}

TEST_F(ScannerTest, MissingChartLeavesTheScannerIdle) {
  EventScanner& scanner = Make(Aspects({{0, 2.0}}));
  scanner.SetCharts(Pair(nullptr, &natal, kMethodTransits));
  EXPECT_EQ(scanner.HouseQuestion(), std::nullopt);
  EXPECT_EQ(scanner.Prepare(), PrepareResult::kMissingChart);
  EXPECT_EQ(scanner.Run(), ScanOutcome::kIdle);
  EXPECT_EQ(scanner.Snapshot(), nullptr);
  EXPECT_EQ(sky.runs.load(), 0);
}

TEST_F(ScannerTest, ARefusedCastEndsTheScanAsAStopAtTheLastGoodStep) {
  sky.refuseFromHours = AtDay(10);
  const auto s = ScanLoop(Aspects({{0, 2.0}}), ScanOutcome::kStopped);
  ASSERT_TRUE(s);
  EXPECT_TRUE(s->stopped);
  EXPECT_EQ(s->coveredEndHours, AtDay(9));
  const RecordList& sun = CellOf(*s, EventKind::kExact, kSun, kRow0, kSun);
  ASSERT_EQ(sun.size(), 1u);
  ExpectTimes(sun[0], {3.25, 4.25, 5.25});
  EXPECT_EQ(CellOf(*s, EventKind::kEntry, kSun, kRow0, kMercury).size(), 1u);
}

TEST_F(ScannerTest, RecordCapReportsOnceAndTheScanGoesOn) {
  sky.Script(kSun, RetrogradeLoop());
  RecordingSink sink;
  platform::Worker worker(&sink);
  EventScanner& scanner = Make(Aspects({{0, 2.0}}));
  scanner.SetCharts(Pair(&transit, &natal, kMethodTransits));
  scanner.SetWindow(AtDay(0.5), AtDay(30));
  scanner.SetRecordCap(2);
  ASSERT_EQ(scanner.Prepare(), PrepareResult::kReady);
  worker.Start([&](platform::Worker& self) { EXPECT_EQ(scanner.Run(&self), ScanOutcome::kFinished); });
  worker.Join();
  EXPECT_EQ(sink.Messages(), (std::vector<platform::PostedMessage>{{kWmScanOutOfMemory, 0, 0}}));
  // The first entry and exact were kept; the exact took the entry as its start.
  const auto s = scanner.Snapshot();
  const RecordList& sun = CellOf(*s, EventKind::kExact, kSun, kRow0, kSun);
  ASSERT_EQ(sun.size(), 1u);
  ExpectTimes(sun[0], {3.25, 4.25, 30});
  EXPECT_FALSE(sun[0].endFound);
  EXPECT_EQ(Count(*s, EventKind::kEntry) + Count(*s, EventKind::kExit), 0u);
}

TEST_F(ScannerTest, StopMidScanPublishesTheStepsDone) {
  sky.Script(kSun, RetrogradeLoop());
  platform::Worker worker;
  platform::Event reached;
  // Cast 5 is step 4, the second of the second slice; the scan halts there until stopped.
  sky.onRun = [&](int run) {
    if (run != 5) return;
    reached.Set();
    while (!worker.StopRequested()) std::this_thread::yield();
  };
  EventScanner& scanner = Make(Aspects({{0, 2.0}}));
  scanner.SetCharts(Pair(&transit, &natal, kMethodTransits));
  scanner.SetWindow(AtDay(0.5), AtDay(30));
  ASSERT_EQ(scanner.Prepare(), PrepareResult::kReady);
  ScanOutcome outcome = ScanOutcome::kIdle;
  worker.Start([&](platform::Worker& self) { outcome = scanner.Run(&self); });
  reached.Wait();
  worker.Stop();
  EXPECT_EQ(outcome, ScanOutcome::kStopped);
  const auto s = scanner.Snapshot();
  ASSERT_TRUE(s);
  EXPECT_TRUE(s->stopped);
  EXPECT_EQ(s->coveredEndHours, AtDay(4));
  const RecordList& entry = CellOf(*s, EventKind::kEntry, kSun, kRow0, kSun);
  ASSERT_EQ(entry.size(), 1u);
  ExpectTimes(entry[0], {3.25, 3.25, 4});
  EXPECT_EQ(Count(*s, EventKind::kExact), 0u);
}

TEST_F(ScannerTest, ABusyScannerIgnoresASecondRun) {
  sky.Script(kSun, RetrogradeLoop());
  platform::Event entered, release;
  sky.onRun = [&](int run) {
    if (run != 2) return;
    entered.Set();
    release.Wait();
  };
  EventScanner& scanner = Make(Aspects({{0, 2.0}}));
  scanner.SetCharts(Pair(&transit, &natal, kMethodTransits));
  scanner.SetWindow(AtDay(0.5), AtDay(30));
  ASSERT_EQ(scanner.Prepare(), PrepareResult::kReady);
  platform::Worker worker;
  ScanOutcome outcome = ScanOutcome::kIdle;
  worker.Start([&](platform::Worker& self) { outcome = scanner.Run(&self); });
  entered.Wait();
  EXPECT_TRUE(scanner.IsBusy());
  EXPECT_EQ(scanner.Run(), ScanOutcome::kBusy);
  EXPECT_EQ(scanner.Prepare(), PrepareResult::kBusy);
  release.Set();
  worker.Join();
  EXPECT_EQ(outcome, ScanOutcome::kFinished);
  EXPECT_FALSE(scanner.IsBusy());
  // At hourly steps the Sun meets natal Sun exactly at step times (day 4.25 is hour 102).
  EXPECT_EQ(CellOf(*scanner.Snapshot(), EventKind::kExact, kSun, kRow0, kSun).size(), 3u);
}

}  // namespace
}  // namespace kelvara::eventmap
