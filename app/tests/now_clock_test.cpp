#include "app/now_clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <thread>

#include "platform/event.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::app {
namespace {

using workspace::CalendarMoment;
using workspace::ChartRecord;
using workspace::WorkspaceState;
using workspace::testing::FakeSky;

constexpr std::chrono::milliseconds kShortPeriod{5};
// A fail-safe for waits on the worker, never a measure of speed.
constexpr std::chrono::seconds kPatience{10};
constexpr std::string_view kProgression = "Прогрессия втop. (1День=1ГодТроп)";
const platform::TimeZoneInfo kMoscowZone{true, -180, 0, false, "", ""};
const workspace::testing::FixedClock kFixedClock(kMoscowZone);  // 1 March 2024 10:00 local

// Each reading is one minute after the last, from 1 March 2024 10:00.
class SteppingClock : public platform::Clock {
 public:
  platform::DateTime LocalNow() const override {
    return platform::DateTime::FromFields(2024, 3, 1, 10, 0, 0) + platform::TimeSpan::FromMinutes(readings_++);
  }
  platform::TimeZoneInfo TimeZone() const override { return kMoscowZone; }

 private:
  mutable std::atomic<int> readings_{0};
};

// The window's queue: posts wait here until the test takes them; a stop drops them.
class QueueSink : public platform::MessageSink {
 public:
  void Post(const platform::PostedMessage& message) override {
    std::lock_guard lock(mutex_);
    queue_.push_back(message);
    arrived_.notify_all();
  }
  void DiscardPending() override {
    std::lock_guard lock(mutex_);
    queue_.clear();
  }
  std::optional<platform::PostedMessage> Next() {
    std::unique_lock lock(mutex_);
    if (!arrived_.wait_for(lock, kPatience, [&] { return !queue_.empty(); })) return std::nullopt;
    const platform::PostedMessage message = queue_.front();
    queue_.pop_front();
    return message;
  }
  std::size_t Pending() {
    std::lock_guard lock(mutex_);
    return queue_.size();
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<platform::PostedMessage> queue_;
};

// Holds every chart until the gate opens and notes whether Stop had returned by then.
class GatedSky : public workspace::ChartEngine {
 public:
  bool RunChart(const workspace::ChartRequest& request, workspace::ObjectTable& objects,
                bool solarArcMidheaven) const override {
    entered.Set();
    gate.Wait();
    if (stopReturned) stopReturnedMidRound = true;
    return sky_.RunChart(request, objects, solarArcMidheaven);
  }

  mutable platform::Event entered;
  platform::Event gate;
  std::atomic<bool> stopReturned{false};
  mutable std::atomic<bool> stopReturnedMidRound{false};

 private:
  FakeSky sky_;
};

WorkspaceState NowState(std::string secondName = "") {
  WorkspaceState state;
  state.main.name = "Сейчас";
  state.second = workspace::testing::Person(std::move(secondName), {2040, 1, 1, 0, 0, 0});
  state.doubleChart = !state.second.name.empty();
  return state;
}

NowRoundServices Services(const workspace::ChartEngine& engine, const platform::Clock* clock) {
  return {engine, clock, nullptr, "", kShortPeriod};
}

TEST(NowCharts, TheRunningNowChartsAndTheChartsDerivedFromThemAreCopied) {
  const struct {
    std::string main;
    bool doubleChart;
    std::string second;
    bool copiesMain;
    bool copiesSecond;
  } cases[] = {
      {"", false, "", true, false},
      {"Сейчас", false, "Сейчас", true, false},
      {"Останов", true, "Сейчас", false, true},
      {"Анна", true, "Останов", false, false},
      {"Сейчас", true, std::string(kProgression), true, true},
      {"Анна", true, std::string(kProgression), false, false},
      {"Сейчас", true, "Борис", true, false},
  };
  for (const auto& c : cases) {
    WorkspaceState state;
    state.main.name = c.main;
    state.second.name = c.second;
    state.doubleChart = c.doubleChart;
    const NowRoundResult copies = NowChartsOf(state);
    EXPECT_EQ(copies.main.has_value(), c.copiesMain) << c.main << " / " << c.second;
    EXPECT_EQ(copies.second.has_value(), c.copiesSecond) << c.main << " / " << c.second;
  }
}

TEST(NowRound, ANowChartTakesThePresentMovedByItsCounterOfSteps) {
  FakeSky sky;
  const struct {
    workspace::StepShift step;
    std::optional<CalendarMoment> local;
  } cases[] = {
      {{0, 0, 1, 0, 0, 0, 0}, CalendarMoment{2024, 3, 1, 10, 0, 0}},
      {{0, 0, 1, 2, 0, 0, 3}, CalendarMoment{2024, 3, 4, 16, 0, 0}},
      {{0, 1, 0, 0, 0, 0, -2}, CalendarMoment{2024, 1, 1, 10, 0, 0}},
      {{200, 0, 0, 0, 0, 0, 1}, std::nullopt},  // off the scale: the chart is left out
  };
  for (const bool asSecond : {false, true}) {
    for (const auto& c : cases) {
      NowRoundResult copies;
      (asSecond ? copies.second : copies.main) = NowState().main;
      (asSecond ? copies.second : copies.main)->step = c.step;
      const NowRoundResult round = RunNowRound(copies, Services(sky, &kFixedClock));
      const std::optional<ChartRecord>& chart = asSecond ? round.second : round.main;
      ASSERT_EQ(chart.has_value(), c.local.has_value()) << c.step.counter;
      if (!chart) continue;
      EXPECT_EQ(chart->local, *c.local);
      ChartRecord expected = NowState().main;
      expected.local = *c.local;
      expected.gmtOffsetHours = 3.0;
      workspace::ComputeChart(expected, {sky, nullptr, nullptr, nullptr, ""});
      EXPECT_EQ(chart->greenwich, expected.greenwich);
      EXPECT_EQ(chart->objects, expected.objects);
    }
  }
}

TEST(NowRound, ADerivedChartFollowsTheRoundsMainChartAndOnlyTheSameChartsAreReplaced) {
  FakeSky sky;
  WorkspaceState state = NowState(std::string(kProgression));
  state.main.greenwich = {1990, 6, 1, 9, 0, 0};  // what the main chart showed before the round
  const NowRoundResult round = RunNowRound(NowChartsOf(state), Services(sky, &kFixedClock));
  ASSERT_TRUE(round.main && round.second);
  ChartRecord overOld = state.second;
  workspace::ComputeChart(overOld, {sky, &state.main, nullptr, nullptr, ""});
  ChartRecord overNew = state.second;
  workspace::ComputeChart(overNew, {sky, &*round.main, nullptr, nullptr, ""});
  EXPECT_EQ(round.second->objects, overNew.objects);
  EXPECT_NE(round.second->objects, overOld.objects);

  WorkspaceState applied = state;
  applied.main.step = {0, 0, 1, 0, 0, 0, 2};  // edited while the round ran
  ApplyRound(round, applied);
  EXPECT_EQ(applied.main.local, round.main->local);
  EXPECT_EQ(applied.main.objects, round.main->objects);
  EXPECT_EQ(applied.main.step, (workspace::StepShift{0, 0, 1, 0, 0, 0, 2}));
  EXPECT_EQ(applied.second.objects, round.second->objects);

  const struct {
    std::string main;
    std::string second;
    bool doubleChart;
  } changes[] = {
      {"Анна", "Соляр (вперед)", true},
      {"Останов", std::string(kProgression), true},  // derived from a chart that is not there any more
      {"Сейчас", std::string(kProgression), false},
  };
  for (const auto& c : changes) {
    WorkspaceState changed = state;
    changed.main.name = c.main;
    changed.second.name = c.second;
    changed.doubleChart = c.doubleChart;
    const WorkspaceState before = changed;
    ApplyRound(round, changed);
    EXPECT_TRUE(c.main == state.main.name || changed.main == before.main) << c.main;
    EXPECT_EQ(changed.second, before.second) << c.main;
  }
}

class NowClockTest : public ::testing::Test {
 protected:
  // A failed case must not leave a round waiting at the gate for ever.
  ~NowClockTest() override { gated_.gate.Set(); }

  // The next round that the window finds on a message of the clock.
  std::optional<NowRoundResult> NextRound() {
    for (auto message = sink_.Next(); message; message = sink_.Next()) {
      EXPECT_EQ(message->message, kWmNowRound);
      if (auto round = clock_.TakeRound(message->wParam)) return round;
    }
    return std::nullopt;
  }
  std::uintptr_t NextGeneration() {
    const auto message = sink_.Next();
    EXPECT_TRUE(message);
    return message ? message->wParam : 0;
  }

  FakeSky sky_;
  GatedSky gated_;
  SteppingClock steps_;
  QueueSink sink_;
  NowClock clock_{&sink_};
};

TEST_F(NowClockTest, RoundsPostMessagesThatCarryEverNewerCharts) {
  WorkspaceState state = NowState();
  ASSERT_TRUE(clock_.Start(state, Services(sky_, &steps_)));
  EXPECT_TRUE(clock_.IsRunning());
  const auto first = NextRound();
  const auto second = NextRound();
  ASSERT_TRUE(first && first->main && second && second->main);
  EXPECT_LT(workspace::HoursSince1860(first->main->local), workspace::HoursSince1860(second->main->local));
  EXPECT_NE(first->main->objects, second->main->objects);
  ApplyRound(*second, state);
  EXPECT_EQ(state.main.objects, second->main->objects);
}

TEST_F(NowClockTest, AfterStopNothingArrivesAndOnlyTheNewRunsGenerationCounts) {
  WorkspaceState frozen = NowState();
  frozen.main.name = "Останов";
  EXPECT_FALSE(clock_.Start(frozen, Services(sky_, &steps_)));
  EXPECT_FALSE(clock_.Start(NowState(), Services(sky_, nullptr)));
  EXPECT_FALSE(clock_.IsRunning());

  ASSERT_TRUE(clock_.Start(NowState(), Services(sky_, &steps_)));
  const std::uintptr_t first = NextGeneration();
  clock_.Stop();
  EXPECT_FALSE(clock_.IsRunning());
  EXPECT_EQ(clock_.TakeRound(first), std::nullopt);
  std::this_thread::sleep_for(kShortPeriod * 10);  // rounds would have posted by now
  EXPECT_EQ(sink_.Pending(), 0u);

  ASSERT_TRUE(clock_.Start(NowState(), Services(sky_, &steps_)));
  const std::uintptr_t second = NextGeneration();
  EXPECT_NE(first, second);
  EXPECT_EQ(clock_.TakeRound(first), std::nullopt);
  EXPECT_TRUE(NextRound());
}

TEST_F(NowClockTest, StopWaitsForTheRoundInProgressAndDeliversNothingOfIt) {
  ASSERT_TRUE(clock_.Start(NowState(), Services(gated_, &steps_)));
  ASSERT_TRUE(gated_.entered.Wait(kPatience));
  std::atomic<bool> stopping{false};
  std::thread window([&] {
    stopping = true;
    clock_.Stop();
    gated_.stopReturned = true;
  });
  while (!stopping) std::this_thread::yield();
  std::this_thread::sleep_for(kShortPeriod * 10);  // time for a Stop that does not wait to return
  gated_.gate.Set();
  window.join();
  EXPECT_FALSE(gated_.stopReturnedMidRound);
  EXPECT_FALSE(clock_.IsRunning());
  EXPECT_EQ(sink_.Pending(), 0u);
}

}  // namespace
}  // namespace kelvara::app
