#include "app/qt/message_boxes.h"

#include <QMessageBox>
#include <QString>

namespace kelvara::app {
namespace {

// The program's name is the caption of every box.
constexpr const char* kBoxCaption = "Кельвара";
constexpr const char* kAboutCaption = "О программе";

BoxAnswerer& Answerer() {
  static BoxAnswerer answerer;
  return answerer;
}

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }

bool Ask(QWidget* parent, BoxKind kind, std::string_view text) {
  if (Answerer()) return Answerer()(kind, std::string(text));
  const bool yesNo = kind == BoxKind::kYesNo;
  const auto positive = yesNo ? QMessageBox::Yes : QMessageBox::Ok;
  const auto negative = yesNo ? QMessageBox::No : QMessageBox::Cancel;
  return QMessageBox::question(parent, QString::fromUtf8(kBoxCaption), ToQString(text), positive | negative,
                               positive) == positive;
}

}  // namespace

void SetBoxAnswerer(BoxAnswerer answerer) { Answerer() = std::move(answerer); }

void ShowMessage(QWidget* parent, std::string_view text) {
  if (Answerer()) {
    Answerer()(BoxKind::kMessage, std::string(text));
    return;
  }
  QMessageBox::information(parent, QString::fromUtf8(kBoxCaption), ToQString(text));
}

std::function<void(const std::string& text)> MessagesOver(QWidget* parent) {
  return [parent](const std::string& text) { ShowMessage(parent, text); };
}

void ShowAbout(QWidget* parent, std::string_view text) {
  if (Answerer()) {
    Answerer()(BoxKind::kMessage, std::string(text));
    return;
  }
  QMessageBox::about(parent, QString::fromUtf8(kAboutCaption), ToQString(text));
}

bool AskYesNo(QWidget* parent, std::string_view text) { return Ask(parent, BoxKind::kYesNo, text); }

bool AskOkCancel(QWidget* parent, std::string_view text) { return Ask(parent, BoxKind::kOkCancel, text); }

}  // namespace kelvara::app
