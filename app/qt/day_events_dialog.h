// "Список аспектов": the day's exact events and the aspects in force as a table, which
// the user may copy or save as CSV.
#pragma once

#include <QDialog>
#include <QTableWidget>
#include <string>
#include <vector>

#include "eventmap/day_event_rows.h"

namespace kelvara::app {

class AspectListDialog : public QDialog {
  Q_OBJECT

 public:
  AspectListDialog(const std::string& caption, std::vector<eventmap::AspectListRow> rows, QWidget* parent = nullptr);
  QTableWidget* Table() const { return table_; }
  // The rows as CSV, as copying and saving give them.
  std::string Csv() const { return eventmap::AspectListCsv(rows_); }

 private:
  void CopyCsv();
  void SaveCsv();

  std::vector<eventmap::AspectListRow> rows_;
  QTableWidget* table_ = nullptr;
};

}  // namespace kelvara::app
