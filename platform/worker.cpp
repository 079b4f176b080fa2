#include "platform/worker.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kelvara::platform {
namespace {

constexpr int kLowestNiceValue = 19;

}  // namespace

Worker::~Worker() { Stop(); }

void Worker::ApplyPriority(ThreadPriority priority) {
  if (priority != ThreadPriority::Lowest) return;
  // The weakest nice value of the normal class, set for this thread alone: it yields
  // to the window but, unlike the idle class, still moves on a busy machine.
  setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), kLowestNiceValue);
}

void Worker::Start(Task task, ThreadPriority priority) {
  Stop();
  stop_.Reset();
  finished_.Reset();
  failure_ = nullptr;
  thread_ = std::thread([this, task = std::move(task), priority] {
    ApplyPriority(priority);
    // An escaping exception would end the whole program; it is kept for the owner
    // instead, and the finished event is set all the same so the owner's wait returns.
    try {
      task(*this);
    } catch (...) {
      failure_ = std::current_exception();
    }
    finished_.Set();
  });
}

void Worker::Stop() {
  {
    std::lock_guard lock(postMutex_);
    stop_.Set();
  }
  const bool hadTask = thread_.joinable();
  Join();
  if (hadTask && sink_ != nullptr) sink_->DiscardPending();
}

void Worker::Join() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

bool Worker::Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  std::lock_guard lock(postMutex_);
  if (sink_ == nullptr || stop_.IsSet()) return false;
  sink_->Post({message, wParam, lParam});
  return true;
}

}  // namespace kelvara::platform
