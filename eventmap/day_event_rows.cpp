#include "eventmap/day_event_rows.h"

#include <cmath>
#include <cstdio>

#include "platform/csv.h"
#include "workspace/chart_record.h"
#include "workspace/hour_scale.h"

namespace kelvara::eventmap {
namespace {

constexpr double kDayHours = 24.0;
constexpr double kMinutesPerHour = 60.0;
constexpr int kNoon = 12;

const std::vector<std::string> kCsvHeader = {"kind", "moving", "aspect", "base", "entry", "exact", "exit"};
const std::vector<std::string> kGridHeaders = {"Вид", "Транзит", "Аспект", "К точке", "Вход", "Точный", "Выход"};

std::optional<double> HoursIf(bool found, double hours) { return found ? std::optional(hours) : std::nullopt; }

AspectListRow RowOf(const EventRecord& record, TimeFormat format) {
  char angle[32];
  std::snprintf(angle, sizeof angle, "%g°", record.aspectAngleDeg);
  const auto timeIf = [&](bool found, double hours) { return found ? EventTimeText(hours, format) : kNotFoundText; };
  return {record.exactFound ? kKindExact : kKindInForce,
          std::string(workspace::SlotName(record.movingPoint)),
          angle,
          std::string(workspace::SlotName(record.basePoint)),
          timeIf(record.startFound, record.startHours),
          timeIf(record.exactFound, record.culminationHours),
          timeIf(record.endFound, record.endHours),
          record.aspectAngleDeg,
          HoursIf(record.startFound, record.startHours),
          HoursIf(record.exactFound, record.culminationHours),
          HoursIf(record.endFound, record.endHours),
          platform::Color::FromColorRef(record.colour)};
}

platform::GridRow GridRowOf(const AspectListRow& row) {
  const auto cell = [&row](const std::string& text, std::optional<double> key = std::nullopt) {
    return platform::GridCell{text, key, std::nullopt, row.colour};
  };
  return {{cell(row.kind), cell(row.moving), cell(row.aspect, row.angleDeg), cell(row.base),
           cell(row.entry, row.entryHours), cell(row.exact, row.exactHours), cell(row.exit, row.exitHours)}};
}

}  // namespace

bool OnTheDay(const EventRecord& record, double dayStartHours) {
  const double hour = record.culminationHours - dayStartHours;
  const bool inDay = record.exactFound ? hour >= 0.0 && hour < kDayHours : hour > 0.0 && hour <= kDayHours;
  return inDay && !record.IsHidden();
}

std::string EventTimeText(double hours, TimeFormat format) {
  // Whole minutes first, so 14:59:40 reads 15:00 and never 14:60.
  const double minutes = std::round(hours * kMinutesPerHour);
  const workspace::CalendarMoment m = workspace::MomentFromHours(minutes / kMinutesPerHour);
  char text[32];
  if (format == TimeFormat::kMilitary) {
    std::snprintf(text, sizeof text, "%02d.%02d %02d:%02d", m.day, m.month, m.hour, m.minute);
  } else {
    const int hour12 = m.hour % kNoon == 0 ? kNoon : m.hour % kNoon;
    std::snprintf(text, sizeof text, "%02d.%02d %d:%02d%s", m.day, m.month, hour12, m.minute, m.hour < kNoon ? "am" : "pm");
  }
  return text;
}

std::vector<AspectListRow> AspectListRows(const std::vector<EventRecord>& exact, const std::vector<EventRecord>& inForce,
                                          const workspace::CalendarMoment& day, TimeFormat format) {
  const double dayStart = workspace::HoursSince1860({day.year, day.month, day.day, 0, 0, 0});
  std::vector<AspectListRow> rows;
  for (const auto* list : {&exact, &inForce}) {
    for (const EventRecord& record : *list) {
      if (OnTheDay(record, dayStart)) rows.push_back(RowOf(record, format));
    }
  }
  return rows;
}

std::string AspectListCsv(const std::vector<AspectListRow>& rows) {
  std::string csv = platform::CsvLine(kCsvHeader);
  for (const AspectListRow& row : rows) {
    csv += platform::CsvLine({row.kind, row.moving, row.aspect, row.base, row.entry, row.exact, row.exit});
  }
  return csv;
}

AspectListGridTable::AspectListGridTable() : GridTable(kGridHeaders) {}

void AspectListGridTable::Show(const std::vector<AspectListRow>& rows) {
  std::vector<platform::GridRow> shown;
  for (const AspectListRow& row : rows) shown.push_back(GridRowOf(row));
  SetRows(std::move(shown));
}

}  // namespace kelvara::eventmap
