// Every message the editor shows goes through this interface, so that the message kinds
// stay in one place and tests can answer and record them without a blocking box.
#pragma once

#include <QString>

class QWidget;

namespace kelvara::vornal {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual void Information(const QString& text) = 0;
  // True for "Yes".
  virtual bool Question(const QString& text) = 0;
  // The caller ends the program once this returns.
  virtual void FatalError(const QString& text) = 0;
};

// Real message boxes with the application's title.
class QtMessageBoxes : public MessageBoxes {
 public:
  void SetParent(QWidget* parent) { parent_ = parent; }
  void Information(const QString& text) override;
  bool Question(const QString& text) override;
  void FatalError(const QString& text) override;

 private:
  QWidget* parent_ = nullptr;
};

}  // namespace kelvara::vornal
