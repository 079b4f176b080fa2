// The OK and "Отмена" buttons of the program's dialogs.
#pragma once

class QDialog;
class QLayout;

namespace kelvara::app {

// OK (the default button) accepts, "Отмена" rejects; the row aligns them right.
QLayout* MakeOkCancelRow(QDialog& dialog);

}  // namespace kelvara::app
