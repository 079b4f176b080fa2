// The dignity edit dialog: one object, what it does ("управляет", "в изгнании",
// "экзальтирует", "в падении") and the sign, chosen from the twelve.
#pragma once

#include <optional>
#include <string>

#include <QDialog>

#include "app/dignity_tables.h"
#include "interpretation/dignity_edit.h"

class QComboBox;
class QLabel;

namespace kelvara::app {

class CDignityDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CDignityDlg(const interpretation::DignityEdit& edit, QWidget* parent = nullptr);

  // The edit with the sign the combo box shows.
  const interpretation::DignityEdit& edit() const { return edit_; }

 private:
  interpretation::DignityEdit edit_;
  QComboBox* signs_;
};

// The edit after OK; none after Cancel.
std::optional<interpretation::DignityEdit> RunDignityEdit(QWidget* parent, const interpretation::DignityEdit& edit);

// Writes "upr." under the prefix; a failure is shown and the old file stays as it was.
void SaveEditedDignityTables(QWidget* parent, const std::string& dataPrefix, const DignityTables& tables);

// One object's sign from the chains picture: `object` 1-16, `mode` 1-8. After OK the
// tables to use (saved to "upr." when changed; kept for the run even when saving failed);
// none after Cancel or for an object or mode out of range.
std::optional<DignityTables> EditObjectDignity(QWidget* parent, const std::string& dataPrefix,
                                               const DignityTables& tables, int object, int mode);

}  // namespace kelvara::app
