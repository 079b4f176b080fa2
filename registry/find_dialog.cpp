#include "registry/find_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "registry/qt_text.h"

namespace kelvara::vornal {
namespace {

QCheckBox* MakeCheckBox(const QString& text, bool checked, const char* objectName,
                        QWidget* parent) {
  auto* box = new QCheckBox(text, parent);
  box->setChecked(checked);
  box->setObjectName(objectName);
  return box;
}

}  // namespace

FindDialog::FindDialog(const FindOptions& options, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Vornal : Find..."));
  textEdit_ = new QLineEdit(ToQt(options.text), this);
  textEdit_->setObjectName("searchEdit");
  keys_ = MakeCheckBox(tr("  Keys"), options.keys, "keysCheck", this);
  values_ = MakeCheckBox(tr("  Values"), options.values, "valuesCheck", this);
  datas_ = MakeCheckBox(tr("  Datas"), options.datas, "datasCheck", this);

  auto* search = new QPushButton(tr("Search"), this);
  search->setObjectName("searchButton");
  search->setDefault(true);
  auto* cancel = new QPushButton(tr("Cancel"), this);
  cancel->setObjectName("cancelButton");
  connect(search, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* text = new QHBoxLayout;
  text->addWidget(new QLabel(tr("Search for :"), this));
  text->addWidget(textEdit_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(search);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(text);
  layout->addWidget(keys_);
  layout->addWidget(values_);
  layout->addWidget(datas_);
  layout->addLayout(buttons);
}

FindOptions FindDialog::Options() const {
  return {FromQt(textEdit_->text()), keys_->isChecked(), values_->isChecked(), datas_->isChecked()};
}

}  // namespace kelvara::vornal
