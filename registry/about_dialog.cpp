#include "registry/about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvara::vornal {

AboutDialog::AboutDialog(const QString& windowTitle, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Vornal : About..."));
  auto* title = new QLabel(windowTitle, this);
  title->setObjectName("titleField");
  title->setAlignment(Qt::AlignCenter);
  auto* ok = new QPushButton(tr("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(ok, 0, Qt::AlignCenter);
}

}  // namespace kelvara::vornal
