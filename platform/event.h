// A manual-reset event: once set it stays set, releasing every waiter, until reset.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace kelvara::platform {

class Event {
 public:
  explicit Event(bool initiallySet = false) : set_(initiallySet) {}
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  void Set();
  void Reset();
  // The zero-time wait: tells whether the event is set without blocking.
  bool IsSet() const;
  // True when the event was set within the timeout, false when the time ran out.
  bool Wait(std::chrono::milliseconds timeout) const;
  // Waits without a time limit.
  void Wait() const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool set_;
};

}  // namespace kelvara::platform
