// "Список аспектов": the day's exact events and the aspects in force as rows of text, and
// the same rows as CSV for copying and saving and as a table for the grid.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "eventmap/event_map_drawing.h"
#include "eventmap/event_record.h"
#include "platform/geometry.h"
#include "platform/grid_model.h"

namespace kelvara::eventmap {

inline constexpr const char* kNotFoundText = "-";
inline constexpr const char* kKindExact = "точный";
inline constexpr const char* kKindInForce = "в силе";

struct AspectListRow {
  std::string kind;  // kKindExact or kKindInForce
  std::string moving;
  std::string aspect;  // "90°"
  std::string base;
  std::string entry;  // times in the user's format, kNotFoundText when not found
  std::string exact;
  std::string exit;
  // What a grid sorts and colours the row by; the CSV has the texts only.
  double angleDeg = 0.0;
  std::optional<double> entryHours = std::nullopt;  // none when not found
  std::optional<double> exactHours = std::nullopt;
  std::optional<double> exitHours = std::nullopt;
  std::optional<platform::Color> colour = std::nullopt;  // the aspect's; none: the grid's own
};

// Whether a shown record belongs to the day starting at dayStartHours (display hours since
// 1860). An exact event culminates in [midnight, next midnight); an aspect in force is dated
// at the end of a step, so the day's are those in (midnight, next midnight]: the step ending
// at midnight belongs to the day before. Hidden records belong to no day.
bool OnTheDay(const EventRecord& record, double dayStartHours);

// "07.07 14:05" or "07.07 2:05pm", to the nearest minute, for display hours since 1860.
std::string EventTimeText(double hours, TimeFormat format);

// The exact events culminating in the day, then the aspects in force on it, each by
// culmination; hidden records are left out.
std::vector<AspectListRow> AspectListRows(const std::vector<EventRecord>& exact, const std::vector<EventRecord>& inForce,
                                          const workspace::CalendarMoment& day, TimeFormat format);

// A header line and one line per row, CRLF, fields quoted where they must be.
std::string AspectListCsv(const std::vector<AspectListRow>& rows);

// The rows as a grid shows them: the same texts under Russian headers, angles and times
// sorting by value, each row in its aspect's colour.
class AspectListGridTable : public platform::GridTable {
 public:
  AspectListGridTable();
  void Show(const std::vector<AspectListRow>& rows);
};

}  // namespace kelvara::eventmap
