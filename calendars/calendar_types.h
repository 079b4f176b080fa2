// What the calendar dialog asks for and what a calculation leaves behind, shared by the
// lunar calendar, the planetary hours and their files.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/message_sink.h"
#include "workspace/engine_vector.h"
#include "workspace/hour_scale.h"

namespace kelvara::calendars {

// What each calendar's worker posts to its window: progress (second parameter 0-99, and
// 0 at the end) and completion.
inline constexpr unsigned kLunarProgressMessage = platform::kWmUser + 3;
inline constexpr unsigned kLunarDoneMessage = platform::kWmUser + 4;
inline constexpr unsigned kHoursProgressMessage = platform::kWmUser + 5;
inline constexpr unsigned kHoursDoneMessage = platform::kWmUser + 6;
inline constexpr unsigned kAspectProgressMessage = platform::kWmUser + 7;
inline constexpr unsigned kAspectDoneMessage = platform::kWmUser + 8;
inline constexpr unsigned kVoidProgressMessage = platform::kWmUser + 9;
inline constexpr unsigned kVoidDoneMessage = platform::kWmUser + 10;

struct CalendarRequest {
  workspace::CalendarMoment from;  // dates; the time of day is 00:00
  workspace::CalendarMoment to;
  std::string placeName;
  double latitudeDeg = 0.0;   // north positive
  double longitudeDeg = 0.0;  // east positive
  bool newMoons = true;
  bool firstQuarters = true;
  bool fullMoons = true;
  bool lastQuarters = true;
  bool lunarDays = true;
  // The void-of-course Moon's aspects, in the order of kVoidAspectAnglesDeg.
  std::array<bool, 9> voidAspects = {true, true, true, false, false, true, true, false, false};
};

inline constexpr std::array<double, 9> kVoidAspectAnglesDeg = {0, 180, 90, 135, 45, 120, 60, 150, 30};

// The aspect calendar's six fields (1 moving point, 2 aspect, 3 base point, 4 culmination,
// 5 start, 6 end) in the order its result lines hold them; sorting the view changes it.
using ColumnOrder = std::array<int, 6>;
inline constexpr ColumnOrder kInitialColumnOrder = {4, 1, 2, 3, 5, 6};

struct CalendarResult {
  std::vector<std::string> lines;
  std::string timeKind;   // "Время местное" or "Время по Гринвичу"
  std::string placeText;  // "Место: " + the place, or empty
  std::string header;     // timeKind + "|" + placeText
  // Why part of the calendar was not calculated; empty when nothing was refused.
  std::string refusal;
};

// The four results a program run keeps, and the aspect calendar's column order.
struct CalendarResults {
  CalendarResult lunar;
  CalendarResult hours;
  CalendarResult voidMoon;
  CalendarResult aspects;
  ColumnOrder columnOrder = kInitialColumnOrder;
};

// The lines of "tmp.tmp" of one day scan, none when the scan left no file: the driver's
// RunDayScan, or scripted lines in tests.
using DayScanSource =
    std::function<std::optional<std::vector<std::string>>(const workspace::EngineMoment&)>;
using ProgressCallback = std::function<void(int percent)>;
using StopTest = std::function<bool()>;

}  // namespace kelvara::calendars
