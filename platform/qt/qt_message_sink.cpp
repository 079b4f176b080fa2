#include "platform/qt/qt_message_sink.h"

#include <QCoreApplication>
#include <QEvent>

namespace kelvara::platform {
namespace {

const QEvent::Type kPostedMessageEvent = QEvent::Type(QEvent::registerEventType());

class PostedMessageEvent : public QEvent {
 public:
  explicit PostedMessageEvent(const PostedMessage& message)
      : QEvent(kPostedMessageEvent), message_(message) {}
  const PostedMessage& Message() const { return message_; }

 private:
  PostedMessage message_;
};

}  // namespace

void QtMessageSink::Post(const PostedMessage& message) {
  QCoreApplication::postEvent(this, new PostedMessageEvent(message));
}

void QtMessageSink::DiscardPending() { QCoreApplication::removePostedEvents(this, kPostedMessageEvent); }

bool QtMessageSink::event(QEvent* event) {
  if (event->type() != kPostedMessageEvent) return QObject::event(event);
  const PostedMessage& message = static_cast<PostedMessageEvent*>(event)->Message();
  emit messageArrived(message.message, message.wParam, message.lParam);
  return true;
}

}  // namespace kelvara::platform
