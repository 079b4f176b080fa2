#include "app/qt/map_day_dialog.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QVBoxLayout>

#include "app/qt/dialog_buttons.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;

constexpr const char* kTitle = "Дата карты событий";
constexpr const char* kLabel = "День:";
constexpr const char* kDateFormat = "dd.MM.yyyy";

// The day scan steps a day to each side, and the hour scale starts on 1 January 1860 and
// ends on 31 December 2130.
const QDate kFirstDay(ws::kFirstYear, 1, 3);
const QDate kLastDay(ws::kLastYear, 12, 30);

}  // namespace

MapDayDialog::MapDayDialog(const ws::CalendarMoment& shown, QWidget* parent)
    : QDialog(parent), date_(new QDateEdit(this)) {
  setWindowTitle(QString::fromUtf8(kTitle));
  date_->setObjectName("mapDay");
  date_->setDisplayFormat(QString::fromLatin1(kDateFormat));
  date_->setCalendarPopup(true);
  date_->setDateRange(kFirstDay, kLastDay);
  date_->setDate(QDate(shown.year, shown.month, shown.day));
  auto* form = new QFormLayout;
  form->addRow(QString::fromUtf8(kLabel), date_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(MakeOkCancelRow(*this));
}

ws::CalendarMoment MapDayDialog::Day() const {
  const QDate date = date_->date();
  return {date.year(), date.month(), date.day(), 0, 0, 0};
}

std::optional<ws::CalendarMoment> MapDayDialog::Choose(QWidget* parent, const ws::CalendarMoment& shown) {
  MapDayDialog dialog(shown, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Day();
}

}  // namespace kelvara::app
