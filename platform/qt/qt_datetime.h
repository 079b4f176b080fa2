// Conversions at the widget boundary, for the date and time pickers.
#pragma once

#include <QDateTime>

#include "platform/datetime.h"

namespace kelvara::platform {

// A QDateTime in UTC, so that no daylight-saving gap of the machine's zone can swallow
// a chart's wall-clock time; to the second, invalid for an invalid value.
QDateTime ToQDateTime(const DateTime& moment);
// Invalid when the picker's value lies outside 100-9999 or is invalid itself.
DateTime FromQDateTime(const QDateTime& moment);

}  // namespace kelvara::platform
