#include "app/qt/dignity_dialog.h"

#include <QComboBox>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/qt/dialog_buttons.h"
#include "app/qt/message_boxes.h"
#include "app/qt/qt_text.h"

namespace kelvara::app {
namespace {

using interpretation::DignityEdit;

constexpr const char* kTitle = "Достоинство";
// Shown in the combo box while an object has no such sign and none is chosen yet.
constexpr const char* kNoSign = "(нет)";

QLabel* Label(std::string_view text, const char* objectName, QWidget* parent) {
  auto* label = new QLabel(ToQt(text), parent);
  label->setObjectName(objectName);
  return label;
}

QComboBox* SignBox(const DignityEdit& edit, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName("signs");
  for (std::string_view name : interpretation::SignChoices()) box->addItem(ToQt(name));
  box->setPlaceholderText(ToQt(kNoSign));
  box->setCurrentIndex(edit.chosenSign().value_or(-1));
  return box;
}

}  // namespace

CDignityDlg::CDignityDlg(const DignityEdit& edit, QWidget* parent) : QDialog(parent), edit_(edit) {
  setObjectName("dignityDialog");
  setWindowTitle(ToQt(kTitle));
  QLabel* name = Label(edit.objectName(), "objectName", this);
  QFont bold = name->font();
  bold.setBold(true);
  name->setFont(bold);
  signs_ = SignBox(edit, this);

  auto* row = new QHBoxLayout;
  row->addWidget(name);
  row->addWidget(Label(edit.caption(), "caption", this));
  row->addWidget(signs_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addLayout(MakeOkCancelRow(*this));
  layout->setSizeConstraint(QLayout::SetMinimumSize);
  connect(signs_, &QComboBox::currentIndexChanged, this, [this](int index) { edit_.ChooseSign(index); });
}

std::optional<DignityEdit> RunDignityEdit(QWidget* parent, const DignityEdit& edit) {
  CDignityDlg dialog(edit, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.edit();
}

void SaveEditedDignityTables(QWidget* parent, const std::string& dataPrefix, const DignityTables& tables) {
  if (const std::optional<std::string> failure = SaveDignityTables(dataPrefix, tables)) ShowMessage(parent, *failure);
}

std::optional<DignityTables> EditObjectDignity(QWidget* parent, const std::string& dataPrefix,
                                               const DignityTables& tables, int object, int mode) {
  const std::optional<DignityEdit> opened = DignityEdit::Open(tables, object, mode);
  if (!opened) return std::nullopt;
  const std::optional<DignityEdit> edited = RunDignityEdit(parent, *opened);
  if (!edited) return std::nullopt;
  if (edited->changed()) SaveEditedDignityTables(parent, dataPrefix, edited->Result());
  return edited->Result();
}

}  // namespace kelvara::app
