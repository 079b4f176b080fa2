#include "app/qt/dialog_buttons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace kelvara::app {

QLayout* MakeOkCancelRow(QDialog& dialog) {
  auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
  ok->setObjectName("okButton");
  ok->setDefault(true);
  auto* cancel = new QPushButton(QString::fromUtf8("Отмена"), &dialog);
  cancel->setObjectName("cancelButton");
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(ok);
  row->addWidget(cancel);
  return row;
}

}  // namespace kelvara::app
