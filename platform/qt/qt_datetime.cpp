#include "platform/qt/qt_datetime.h"

namespace kelvara::platform {

QDateTime ToQDateTime(const DateTime& moment) {
  if (!moment.IsValid()) return {};
  const DateTimeFields f = moment.Fields();
  return QDateTime(QDate(f.year, f.month, f.day), QTime(f.hour, f.minute, f.second), Qt::UTC);
}

DateTime FromQDateTime(const QDateTime& moment) {
  if (!moment.isValid()) return {};
  const QDate date = moment.date();
  const QTime time = moment.time();
  return DateTime::FromFields(date.year(), date.month(), date.day(), time.hour(), time.minute(),
                              time.second());
}

}  // namespace kelvara::platform
