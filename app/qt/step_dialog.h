// The step dialog of the step shift: shows and edits the six parts of one chart's step.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>

#include "workspace/chart_record.h"

class QSpinBox;

namespace kelvara::app {

enum class StepDialogResult { kAccepted, kCancelled, kStepModeOff };

class CStepDlg : public QDialog {
  Q_OBJECT

 public:
  // The exec() result of "Убрать", beside Accepted and Rejected.
  static constexpr int kStepModeOffCode = QDialog::Accepted + 1;

  // `chart` is 1 or 2; the fields start with the step's six parts.
  CStepDlg(int chart, const workspace::StepShift& step, QWidget* parent = nullptr);

  // The six parts as the fields show them; the counter is not the dialog's.
  workspace::StepShift Shown() const;

  // Opens the dialog next to the tap; on OK the step takes the edited parts (a zero step
  // also clears its counter). Cancel and "Убрать" leave the step as it was.
  static StepDialogResult EditStep(QWidget* parent, int chart, workspace::StepShift& step, QPoint nearGlobal);

 private:
  void Clear();

  std::array<QSpinBox*, 6> fields_{};
};

// Where a dialog of `size` goes beside a tap: below and to the right of it, or on the
// other side where the screen ends, and always inside the available area.
QPoint StepDialogPosition(QSize size, QPoint nearGlobal, const QRect& available);

}  // namespace kelvara::app
