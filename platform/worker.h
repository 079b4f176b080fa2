// A worker thread with the handheld's stop and finished events. The owner stops it by
// setting the stop event and waiting without limit; the task tests the stop event
// between its steps with a zero-time wait. Reports go through a message sink and are
// refused once a stop has been asked for, so nothing reaches the window afterwards.
#pragma once

#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/event.h"
#include "platform/message_sink.h"

namespace kelvara::platform {

// Lowest is the weakest nice value (19) for the worker's thread alone.
enum class ThreadPriority { Lowest, Normal };

class Worker {
 public:
  using Task = std::function<void(Worker&)>;

  // `sink` may be null for a worker that reports nothing; it must outlive the worker.
  explicit Worker(MessageSink* sink = nullptr) : sink_(sink) {}
  // Stops a running task and waits for it.
  ~Worker();
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  // Start, Stop, Join and IsRunning belong to the owner's thread, never to the task.
  // Stops a task still running, then starts `task` on a new thread.
  void Start(Task task, ThreadPriority priority = ThreadPriority::Lowest);
  // Sets the stop event, waits without limit for the task to end and drops its
  // undelivered reports. Harmless when nothing runs.
  void Stop();
  // Waits without limit for the task to end by itself.
  void Join();

  // For the task: the zero-time test of the stop event.
  bool StopRequested() const { return stop_.IsSet(); }
  // For the task: reports to the window; false (and nothing posted) once stopped.
  bool Post(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

  const Event& StopEvent() const { return stop_; }
  const Event& FinishedEvent() const { return finished_; }
  bool IsRunning() const { return thread_.joinable() && !finished_.IsSet(); }
  // What the last task threw, if it ended by an exception; read after it finished.
  std::exception_ptr Failure() const { return failure_; }

 private:
  static void ApplyPriority(ThreadPriority priority);

  MessageSink* sink_;
  Event stop_;
  Event finished_{true};
  // Orders Post against Stop, so no report slips through after the stop event is set.
  std::mutex postMutex_;
  std::exception_ptr failure_;
  std::thread thread_;
};

}  // namespace kelvara::platform
