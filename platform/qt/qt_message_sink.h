// Delivers workers' posted messages on the GUI thread: each arrives as the signal
// messageArrived, emitted from the event loop of the thread this object lives in.
#pragma once

#include <QObject>

#include "platform/message_sink.h"

namespace kelvara::platform {

class QtMessageSink : public QObject, public MessageSink {
  Q_OBJECT

 public:
  explicit QtMessageSink(QObject* parent = nullptr) : QObject(parent) {}

  // Safe from any thread.
  void Post(const PostedMessage& message) override;
  void DiscardPending() override;

 signals:
  void messageArrived(unsigned message, quintptr wParam, qintptr lParam);

 protected:
  bool event(QEvent* event) override;
};

}  // namespace kelvara::platform
