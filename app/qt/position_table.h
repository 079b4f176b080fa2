// The position table of a chart in a window of its own: the grid shows the table's model,
// follows every recomputation of the chart and hands a cell's text request on.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "display/position_table.h"
#include "platform/qt/grid_ctrl.h"

namespace kelvara::app {

class PositionTableWindow : public QWidget {
  Q_OBJECT

 public:
  using RequestSink = std::function<void(const std::string& request)>;
  using SortSink = std::function<void(int storedSort)>;

  PositionTableWindow(int chart, QWidget* parent);
  ~PositionTableWindow() override;

  int Chart() const { return chart_; }
  void Show(const std::string& title, const display::PositionTableInput& input);
  // Sorts as the header clicks that the stored value stands for.
  void ApplySort(int storedSort);
  void SetRequestSink(RequestSink sink) { request_ = std::move(sink); }
  void SetSortSink(SortSink sink) { sortChanged_ = std::move(sink); }
  // "Сохранить как CSV…": the rows in the order shown, as the grid's own menu saves them.
  void SaveCsv() { grid_->SaveCsv(); }

  platform::CALXGridCtrl* Grid() const { return grid_; }
  const display::PositionTableModel& Model() const { return model_; }

 private:
  void Activate(int modelRow);
  void TellSort();

  int chart_;
  display::PositionTableModel model_;
  platform::CALXGridCtrl* grid_ = nullptr;
  RequestSink request_;
  SortSink sortChanged_;
};

}  // namespace kelvara::app
