// The rulership systems ("Сис.управ."): the four dignity tables, a tab each, a row per
// object with its first and second sign. A cell opens the dignity edit dialog; "По
// умолчанию" brings back the tradition's tables and removes "upr."; OK saves "upr.".
#pragma once

#include <array>
#include <optional>
#include <string>

#include <QDialog>

#include "app/dignity_tables.h"
#include "interpretation/dignity_edit.h"

class QModelIndex;
class QTableWidget;

namespace kelvara::app {

class CRulershipSystemsDlg : public QDialog {
  Q_OBJECT

 public:
  CRulershipSystemsDlg(const std::string& dataPrefix, Tradition tradition, const DignityTables& current,
                       QWidget* parent = nullptr);

  const interpretation::RulershipSystems& systems() const { return systems_; }
  QTableWidget* grid(interpretation::ChainKind kind) const;

  // Saves "upr." when the tables differ from it; a failed save is shown, and the dialog
  // still closes with the edit, which the run keeps.
  void accept() override;

 protected:
  // Enter on a cell opens it, and goes no further: the dialog's OK would take it next.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowTables();
  void OpenCell(interpretation::ChainKind kind, const QModelIndex& cell);
  void RestoreDefaults();

  std::string dataPrefix_;
  interpretation::RulershipSystems systems_;
  std::array<QTableWidget*, interpretation::kDignityKinds.size()> grids_{};
};

// The tables the run should use: after OK the edited ones (even when saving failed);
// after Cancel none, unless the defaults were restored (their file is then gone).
std::optional<DignityTables> EditRulershipSystems(QWidget* parent, const std::string& dataPrefix,
                                                  Tradition tradition, const DignityTables& current);

}  // namespace kelvara::app
