#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <vector>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/event.h"
#include "platform/worker.h"

namespace kelvara::platform {
namespace {

using namespace std::chrono_literals;

// Generous bound for waits that must succeed; only a hang would reach it.
constexpr auto kPatience = 10s;

class RecordingSink : public MessageSink {
 public:
  void Post(const PostedMessage& message) override {
    std::lock_guard lock(mutex_);
    messages_.push_back(message);
  }
  void DiscardPending() override { ++discards_; }
  std::vector<PostedMessage> Messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
  }
  int Discards() const { return discards_; }

 private:
  mutable std::mutex mutex_;
  std::vector<PostedMessage> messages_;
  std::atomic<int> discards_ = 0;
};

TEST(Event, SetResetAndZeroTimeTest) {
  Event event;
  EXPECT_FALSE(event.IsSet());
  EXPECT_FALSE(event.Wait(0ms));
  event.Set();
  EXPECT_TRUE(event.IsSet());
  EXPECT_TRUE(event.Wait(0ms));
  EXPECT_TRUE(event.IsSet()) << "manual reset: waiting does not clear it";
  event.Reset();
  EXPECT_FALSE(event.IsSet());
  EXPECT_TRUE(Event(true).IsSet());
}

TEST(Event, ReleasesEveryWaiterOnAnotherThread) {
  Event event;
  std::atomic<int> released = 0;
  std::vector<std::thread> waiters;
  for (int i = 0; i < 3; ++i) {
    waiters.emplace_back([&] {
      event.Wait();
      ++released;
    });
  }
  event.Set();
  for (auto& waiter : waiters) waiter.join();
  EXPECT_EQ(released, 3);
}

TEST(Worker, RunsTheTaskAndSetsFinished) {
  RecordingSink sink;
  Worker worker(&sink);
  worker.Start([](Worker& self) {
    for (int percent = 0; percent < 100; percent += 25) self.Post(kWmUser + 3, 0, percent);
    self.Post(kWmUser + 4);
  });
  ASSERT_TRUE(worker.FinishedEvent().Wait(kPatience));
  worker.Join();
  EXPECT_FALSE(worker.IsRunning());
  const auto messages = sink.Messages();
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[1], (PostedMessage{1027, 0, 25}));
  EXPECT_EQ(messages.back().message, 1028u);
}

TEST(Worker, StoppedMidRunEndsAndReportsNothingAfterwards) {
  RecordingSink sink;
  Worker worker(&sink);
  Event started;
  std::atomic<int> steps = 0;
  worker.Start([&](Worker& self) {
    started.Set();
    while (!self.StopRequested()) {
      ++steps;
      self.Post(kWmUser + 5, 0, steps);
      std::this_thread::sleep_for(1ms);
    }
    // A careless task that reports after its loop must not get through.
    EXPECT_FALSE(self.Post(kWmUser + 6));
  });
  ASSERT_TRUE(started.Wait(kPatience));
  worker.Stop();
  EXPECT_TRUE(worker.FinishedEvent().IsSet());
  EXPECT_FALSE(worker.IsRunning());
  const std::size_t reportedAtStop = sink.Messages().size();
  for (const auto& message : sink.Messages()) EXPECT_EQ(message.message, kWmUser + 5);
  EXPECT_EQ(sink.Discards(), 1);
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(sink.Messages().size(), reportedAtStop);
}

TEST(Worker, RestartStopsThePreviousRunFirst) {
  Worker worker;
  std::atomic<int> running = 0;
  std::atomic<int> overlaps = 0;
  auto task = [&](Worker& self) {
    if (++running > 1) ++overlaps;
    while (!self.StopRequested()) std::this_thread::sleep_for(1ms);
    --running;
  };
  for (int i = 0; i < 5; ++i) worker.Start(task);
  worker.Stop();
  EXPECT_EQ(overlaps, 0);
  EXPECT_EQ(running, 0);
}

int OwnNiceValue() { return getpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid))); }

TEST(Worker, RunsAtTheLowestPriorityUnlessAskedOtherwise) {
  Worker worker;
  std::atomic<int> lowest = 0;
  std::atomic<int> normal = 0;
  worker.Start([&](Worker&) { lowest = OwnNiceValue(); });
  worker.Join();
  worker.Start([&](Worker&) { normal = OwnNiceValue(); }, ThreadPriority::Normal);
  worker.Join();
  EXPECT_EQ(lowest, 19);
  EXPECT_EQ(normal, OwnNiceValue()) << "a normal worker keeps the owner's priority";
}

TEST(Worker, AThrowingTaskStillFinishesAndKeepsItsFailure) {
  Worker worker;
  worker.Start([](Worker&) { throw std::runtime_error("engine failed"); });
  worker.Join();
  EXPECT_TRUE(worker.FinishedEvent().IsSet());
  ASSERT_TRUE(worker.Failure());
  EXPECT_THROW(std::rethrow_exception(worker.Failure()), std::runtime_error);
}

TEST(Worker, DestructionStopsARunningTask) {
  std::atomic<bool> sawStop = false;
  {
    Worker worker;
    worker.Start([&](Worker& self) {
      self.StopEvent().Wait();
      sawStop = true;
    });
  }
  EXPECT_TRUE(sawStop);
}

}  // namespace
}  // namespace kelvara::platform
