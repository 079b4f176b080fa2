#include "registry/edit_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>
#include <limits>

#include "registry/qt_text.h"
#include "registry/value_format.h"

namespace kelvara::vornal {
namespace {

// Lets only what reads as an unsigned 32-bit number into a DWORD field.
class DwordValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    if (input.isEmpty()) return Intermediate;
    return ParseDword(FromQt(input)) ? Acceptable : Invalid;
  }
};

QLineEdit* MakeEdit(const std::string& text, const char* objectName, QWidget* parent) {
  auto* edit = new QLineEdit(ToQt(text), parent);
  edit->setObjectName(objectName);
  // Long strings must reach the store whole, never cut by the field.
  edit->setMaxLength(std::numeric_limits<int>::max());
  return edit;
}

}  // namespace

EditDialog::EditDialog(const EditForm& form, QWidget* parent) : QDialog(parent), form_(form) {
  setWindowTitle(ToQt(form.caption));

  auto* typeField = MakeEdit(form.typeText, "typeField", this);
  typeField->setReadOnly(true);
  nameEdit_ = MakeEdit(form.name, "nameEdit", this);
  dataEdit_ = MakeEdit(form.data, "dataEdit", this);
  auto* dataLabel = new QLabel(ToQt(form.dataLabel), this);
  dataEdit_->setEnabled(form.dataEnabled);
  dataLabel->setEnabled(form.dataEnabled);
  if (form.dataIsNumber) dataEdit_->setValidator(new DwordValidator(dataEdit_));

  auto* fields = new QFormLayout;
  fields->addRow(tr("Edit Type :"), typeField);
  fields->addRow(new QLabel(ToQt(form.nameLabel), this), nameEdit_);
  fields->addRow(dataLabel, dataEdit_);

  auto* apply = new QPushButton(tr("Apply"), this);
  apply->setObjectName("applyButton");
  apply->setDefault(true);
  auto* cancel = new QPushButton(tr("Cancel"), this);
  cancel->setObjectName("cancelButton");
  connect(apply, &QPushButton::clicked, this, &EditDialog::Apply);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(apply);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  setMinimumWidth(360);
}

QString EditDialog::Name() const { return nameEdit_->text(); }

QString EditDialog::Data() const { return dataEdit_->text(); }

void EditDialog::Apply() {
  if (form_.IsChanged(FromQt(Name()), FromQt(Data()))) {
    accept();
  } else {
    reject();
  }
}

}  // namespace kelvara::vornal
