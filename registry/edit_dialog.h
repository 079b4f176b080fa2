// Dialog 133: edits a value or names a new key or value, as its EditForm sets it up.
#pragma once

#include <QDialog>

#include "registry/editor_model.h"

class QLineEdit;

namespace kelvara::vornal {

class EditDialog : public QDialog {
  Q_OBJECT

 public:
  explicit EditDialog(const EditForm& form, QWidget* parent = nullptr);

  QString Name() const;
  QString Data() const;

 private:
  void Apply();

  EditForm form_;
  QLineEdit* nameEdit_;
  QLineEdit* dataEdit_;
};

}  // namespace kelvara::vornal
