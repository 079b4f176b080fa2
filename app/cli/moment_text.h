// Dates and clock times as the command line takes them: "DD.MM.YYYY" and "HH:MM[:SS]",
// digits only and nothing around them, so a slip of the keyboard is refused rather than
// read in part. Whether the date exists is left to the checks of the chart's data.
#pragma once

#include <string>
#include <string_view>

#include "workspace/hour_scale.h"

namespace kelvara::cli {

inline constexpr const char* kDateForm = "ДД.ММ.ГГГГ";
inline constexpr const char* kTimeForm = "ЧЧ:ММ[:СС]";
inline constexpr const char* kDateTimeForm = "\"ДД.ММ.ГГГГ ЧЧ:ММ\"";

// Each fills its fields of the moment and says whether the text has the form.
bool ReadDate(std::string_view text, workspace::CalendarMoment& moment);
bool ReadTime(std::string_view text, workspace::CalendarMoment& moment);  // seconds 0 when left out
bool ReadDateTime(std::string_view text, workspace::CalendarMoment& moment);  // date, one blank, time

// "2024-07-12T14:05:09" (ISO 8601) of hours since 1860, to the nearest second.
std::string IsoTime(double hours);

}  // namespace kelvara::cli
