// Where workers report to a window: the posted message of the handheld's window
// system, a message number with two parameters, delivered later on the window's thread.
#pragma once

#include <cstdint>

namespace kelvara::platform {

// The first message number free for the program's own messages.
inline constexpr unsigned kWmUser = 1024;

struct PostedMessage {
  unsigned message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  friend bool operator==(const PostedMessage&, const PostedMessage&) = default;
};

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Called from any thread; must not block.
  virtual void Post(const PostedMessage& message) = 0;
  // Drops what was posted but not yet delivered. A sink serves one worker, so this
  // drops that worker's reports only.
  virtual void DiscardPending() {}
};

}  // namespace kelvara::platform
