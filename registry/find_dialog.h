// Dialog 135: takes a search text and the three search options and hands them back.
#pragma once

#include <QDialog>

#include "registry/editor_model.h"

class QCheckBox;
class QLineEdit;

namespace kelvara::vornal {

class FindDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FindDialog(const FindOptions& options, QWidget* parent = nullptr);

  FindOptions Options() const;

 private:
  QLineEdit* textEdit_;
  QCheckBox* keys_;
  QCheckBox* values_;
  QCheckBox* datas_;
};

}  // namespace kelvara::vornal
