#include "registry/message_boxes.h"

#include <QMessageBox>

#include "registry/editor_model.h"
#include "registry/qt_text.h"

namespace kelvara::vornal {
namespace {

QString Title() { return ToQt(kApplicationTitle); }

}  // namespace

void QtMessageBoxes::Information(const QString& text) {
  QMessageBox::information(parent_, Title(), text);
}

bool QtMessageBoxes::Question(const QString& text) {
  return QMessageBox::question(parent_, Title(), text, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

void QtMessageBoxes::FatalError(const QString& text) {
  QMessageBox::critical(parent_, Title(), text);
}

}  // namespace kelvara::vornal
