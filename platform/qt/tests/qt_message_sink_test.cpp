#include "platform/qt/qt_message_sink.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <QtTest/QSignalSpy>

#include <atomic>
#include <chrono>

#include "platform/qt/tests/qt_test_application.h"
#include "platform/worker.h"

namespace kelvara::platform {
namespace {

using namespace std::chrono_literals;

constexpr int kPatienceMs = 10000;
constexpr unsigned kLunarProgress = kWmUser + 3;
constexpr unsigned kLunarDone = kWmUser + 4;

TEST(QtMessageSink, WorkerReportsArriveOnTheGuiThreadInOrder) {
  testing::TestApplication();
  QtMessageSink sink;
  std::vector<PostedMessage> received;
  QObject::connect(&sink, &QtMessageSink::messageArrived, [&](unsigned message, quintptr w, qintptr l) {
    EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
    received.push_back({message, w, l});
  });
  QSignalSpy done(&sink, &QtMessageSink::messageArrived);
  Worker worker(&sink);
  worker.Start([](Worker& self) {
    for (int percent = 0; percent < 100; percent += 33) self.Post(kLunarProgress, 0, percent);
    self.Post(kLunarDone);
  });
  worker.Join();
  EXPECT_TRUE(received.empty()) << "nothing is delivered outside the event loop";
  while (received.size() < 5 && done.wait(kPatienceMs)) {
  }
  ASSERT_EQ(received.size(), 5u);
  EXPECT_EQ(received[0], (PostedMessage{1027, 0, 0}));
  EXPECT_EQ(received[3], (PostedMessage{1027, 0, 99}));
  EXPECT_EQ(received[4], (PostedMessage{1028, 0, 0}));
}

TEST(QtMessageSink, StoppedWorkerDeliversNothingAfterTheStop) {
  testing::TestApplication();
  QtMessageSink sink;
  int delivered = 0;
  QObject::connect(&sink, &QtMessageSink::messageArrived, [&] { ++delivered; });
  Worker worker(&sink);
  std::atomic<int> posted = 0;
  worker.Start([&](Worker& self) {
    while (self.Post(kLunarProgress, 0, 1)) {
      ++posted;
      std::this_thread::sleep_for(1ms);
    }
  });
  while (posted < 10) std::this_thread::sleep_for(1ms);
  // Reports of a stopped worker that are still queued must not reach the window.
  worker.Stop();
  EXPECT_FALSE(worker.IsRunning());
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(&sink);
  EXPECT_EQ(delivered, 0);
}

}  // namespace
}  // namespace kelvara::platform
