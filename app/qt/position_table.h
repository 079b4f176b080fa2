// The position table a swipe opens: the chart's visible objects with their places.
#pragma once

#include <QDialog>
#include <QTableWidget>

#include "workspace/chart_record.h"

namespace kelvara::app {

class PositionTableDialog : public QDialog {
  Q_OBJECT

 public:
  PositionTableDialog(const workspace::ChartRecord& chart, QWidget* parent = nullptr);
  QTableWidget* Table() const { return table_; }

 private:
  QTableWidget* table_ = nullptr;
};

}  // namespace kelvara::app
