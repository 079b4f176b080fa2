// "Список аспектов": the day's exact events and the aspects in force as a table, which
// the user may copy or save as CSV.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "eventmap/day_event_rows.h"
#include "platform/qt/grid_ctrl.h"

namespace kelvara::app {

class AspectListDialog : public QDialog {
  Q_OBJECT

 public:
  AspectListDialog(const std::string& caption, std::vector<eventmap::AspectListRow> rows, QWidget* parent = nullptr);
  ~AspectListDialog() override;

  platform::CALXGridCtrl* Grid() const { return grid_; }
  // The rows as CSV, as the buttons copy and save them.
  std::string Csv() const { return eventmap::AspectListCsv(rows_); }

 private:
  void CopyCsv();

  std::vector<eventmap::AspectListRow> rows_;
  eventmap::AspectListGridTable table_;
  platform::CALXGridCtrl* grid_ = nullptr;
};

}  // namespace kelvara::app
