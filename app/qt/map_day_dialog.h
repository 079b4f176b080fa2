// A date field for the event map: the user types or picks the day the dial shows, within
// the days the day scan can cover.
#pragma once

#include <QDialog>
#include <optional>

#include "workspace/hour_scale.h"

class QDateEdit;

namespace kelvara::app {

class MapDayDialog : public QDialog {
  Q_OBJECT

 public:
  MapDayDialog(const workspace::CalendarMoment& shown, QWidget* parent = nullptr);

  workspace::CalendarMoment Day() const;
  QDateEdit* DateField() const { return date_; }

  // Opens the dialog on the day shown; the day picked, or nothing when cancelled.
  static std::optional<workspace::CalendarMoment> Choose(QWidget* parent, const workspace::CalendarMoment& shown);

 private:
  QDateEdit* date_;
};

}  // namespace kelvara::app
