#include "calendars/ics_export.h"

#include <charconv>
#include <cstdio>
#include <vector>

#include "calendars/calendar_texts.h"
#include "platform/file_io.h"
#include "workspace/chart_record.h"
#include "workspace/text_trim.h"

namespace kelvara::calendars {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::size_t kFoldOctets = 75;
constexpr std::string_view kGmtMark = "(GMT:";  // as GmtOffsetText writes the offset
constexpr std::string_view kPlaceMark = ": ";    // "|ме.время: Москва", "|Tr: Москва"
constexpr std::string_view kUidDomain = "@kelvara";
constexpr std::string_view kProductId = "-//Kelvara//Kelvara//RU";

// One event before its times go back to UTC.
struct ShownEvent {
  int line = 0;  // the result line it starts at, for its UID
  double start = 0.0;
  std::optional<double> end;
  std::string summary;
  std::string description;
};

struct Events {
  std::vector<ShownEvent> events;
  int skipped = 0;
};

// "(GMT:+3:00)", "(GMT:-0:30)".
std::optional<double> GmtOffsetOfHeader(std::string_view header) {
  const std::size_t mark = header.find(kGmtMark);
  if (mark == std::string_view::npos) return std::nullopt;
  std::string_view text = header.substr(mark + kGmtMark.size());
  if (text.empty() || (text.front() != '+' && text.front() != '-')) return std::nullopt;
  const double sign = text.front() == '-' ? -1.0 : 1.0;
  text.remove_prefix(1);
  int hours = 0, minutes = 0;
  const auto [colon, hoursError] = std::from_chars(text.data(), text.data() + text.size(), hours);
  if (hoursError != std::errc() || colon == text.data() + text.size() || *colon != ':') return std::nullopt;
  const auto [end, minutesError] = std::from_chars(colon + 1, text.data() + text.size(), minutes);
  if (minutesError != std::errc() || end == colon + 1) return std::nullopt;
  return sign * (hours + minutes / 60.0);
}

// The place after the last ": " of the header's last part.
std::string PlaceOfScanHeader(std::string_view header) {
  const std::string_view last = header.substr(header.rfind('|') == std::string_view::npos ? 0 : header.rfind('|') + 1);
  const std::size_t mark = last.rfind(kPlaceMark);
  if (mark == std::string_view::npos) return {};
  return std::string(last.substr(mark + kPlaceMark.size()));
}

ShownClock ClockOfDayScans(const CalendarResult& result) {
  ShownClock clock;
  if (result.timeKind == texts::kGreenwichTime) clock.kind = ShownClock::Kind::kUtc;
  if (result.timeKind == texts::kLocalTime && result.placeText.starts_with(texts::kPlacePrefix)) {
    clock.kind = ShownClock::Kind::kPlace;
    clock.placeName = result.placeText.substr(texts::kPlacePrefix.size());
  }
  return clock;
}

ShownClock ClockOfScans(const CalendarResult& result) {
  ShownClock clock;
  if (const auto offset = GmtOffsetOfHeader(result.header)) {
    clock.kind = ShownClock::Kind::kFixedOffset;
    clock.offsetHours = *offset;
  } else if (std::string place = PlaceOfScanHeader(result.header); !place.empty()) {
    clock.kind = ShownClock::Kind::kPlace;
    clock.placeName = std::move(place);
  }
  return clock;
}

Events DatedEvents(const CalendarResult& result, CalendarViewMode mode) {
  Events found;
  std::vector<std::pair<int, DatedLine>> dated;
  for (int i = 0; i < int(result.lines.size()); ++i) {
    if (auto line = ParseDatedLine(mode, result.lines[i])) {
      dated.emplace_back(i, std::move(*line));
    } else if (!result.lines[i].empty()) {
      ++found.skipped;  // the blank lines between days are no events
    }
  }
  const bool hours = mode == CalendarViewMode::kPlanetaryHours;
  const auto isLunarDay = [](const DatedLine& line) { return line.label.find(texts::kLunarDayRowMark) != std::string::npos; };
  for (std::size_t i = 0; i < dated.size(); ++i) {
    const auto& [index, line] = dated[i];
    ShownEvent event{index, line.hours, std::nullopt, line.label, {}};
    // An hour lasts until the next hour, a lunar day until the next lunar day; a phase is a moment.
    for (std::size_t next = i + 1; next < dated.size() && (hours || isLunarDay(line)); ++next) {
      if (hours || isLunarDay(dated[next].second)) {
        event.end = dated[next].second.hours;
        break;
      }
    }
    found.events.push_back(std::move(event));
  }
  return found;
}

// The cells of a grid row as the window shows them, the empty ones left out.
std::string RowText(const platform::GridRow& row) {
  std::string text;
  for (const platform::GridCell& cell : row.cells) {
    const std::string_view shown = workspace::TrimBlanks(cell.text);
    if (!shown.empty()) (text += text.empty() ? "" : " ") += shown;
  }
  return text;
}

Events VoidEvents(const CalendarResult& result) {
  Events found;
  const std::vector<platform::GridRow> rows = RowsOf(CalendarViewMode::kVoidMoon, result, kInitialColumnOrder, nullptr);
  for (int i = 0; i < int(result.lines.size()); ++i) {
    const auto aspect = ParseVoidLine(result.lines[i]);
    const auto ingress = i + 1 < int(result.lines.size()) ? ParseVoidLine(result.lines[i + 1]) : std::nullopt;
    if (!aspect || aspect->IsIngress() || !ingress || !ingress->IsIngress()) {
      ++found.skipped;
      continue;
    }
    found.events.push_back({i, aspect->hours, ingress->hours, std::string(texts::kVoidFileTitle),
                            RowText(rows[i]) + "\n" + RowText(rows[i + 1])});
    ++i;
  }
  return found;
}

Events AspectEvents(const CalendarResult& result, const ColumnOrder& order) {
  Events found;
  for (int i = 0; i < int(result.lines.size()); ++i) {
    const auto aspect = ParseAspectLine(result.lines[i], order);
    if (!aspect) {
      ++found.skipped;
      continue;
    }
    const auto timeOrNone = [](const std::optional<double>& hours) {
      return hours ? ShortTimeText(*hours) : " " + std::string(texts::kOutOfRange);
    };
    const std::string summary = PointPositionText(aspect->movingPoint, aspect->movingLongitudeDeg) + " " +
                                AngleText(aspect->angleDeg) + std::string(texts::kDegreeSign) + " " +
                                PointPositionText(aspect->basePoint, aspect->baseLongitudeDeg);
    const std::string description = std::string(texts::kCulminationColumn) + ":" + ShortTimeText(aspect->culminationHours) +
                                    "\n" + std::string(texts::kStartColumn) + ":" + timeOrNone(aspect->startHours) +
                                    "\n" + std::string(texts::kEndColumn) + ":" + timeOrNone(aspect->endHours);
    found.events.push_back({i, aspect->culminationHours, std::nullopt, summary, description});
  }
  return found;
}

Events EventsOf(const CalendarResult& result, const IcsRequest& request) {
  switch (request.mode) {
    case CalendarViewMode::kLunar:
    case CalendarViewMode::kPlanetaryHours: return DatedEvents(result, request.mode);
    case CalendarViewMode::kVoidMoon: return VoidEvents(result);
    case CalendarViewMode::kAspects: break;
  }
  return AspectEvents(result, request.columnOrder);
}

std::string Property(std::string_view name, std::string_view value) {
  return IcsFolded(std::string(name) + ":" + std::string(value));
}

std::string EventText(const ShownEvent& event, double startUtc, std::optional<double> endUtc, const IcsRequest& request) {
  const std::string start = IcsUtcTime(startUtc);
  std::string text = Property("BEGIN", "VEVENT");
  text += Property("UID", std::to_string(int(request.mode)) + "-" + std::to_string(event.line) + "-" + start +
                              std::string(kUidDomain));
  text += Property("DTSTAMP", IcsUtcTime(request.stampUtcHours));
  text += Property("DTSTART", start);
  // An event ends after it starts or is a moment.
  if (endUtc && IcsUtcTime(*endUtc) > start) text += Property("DTEND", IcsUtcTime(*endUtc));
  text += Property("SUMMARY", IcsEscaped(event.summary));
  if (!event.description.empty()) text += Property("DESCRIPTION", IcsEscaped(event.description));
  return text + Property("END", "VEVENT");
}

}  // namespace

ShownClock ClockOfResult(CalendarViewMode mode, const CalendarResult& result) {
  const bool dayScans = mode == CalendarViewMode::kLunar || mode == CalendarViewMode::kPlanetaryHours;
  return dayScans ? ClockOfDayScans(result) : ClockOfScans(result);
}

ToUtc ShownToUtc(const ShownClock& clock, const workspace::TimeZoneSource* zones) {
  switch (clock.kind) {
    case ShownClock::Kind::kUtc: return [](double hours) { return std::optional(hours); };
    case ShownClock::Kind::kFixedOffset:
      return [offset = clock.offsetHours](double hours) { return std::optional(hours - offset); };
    case ShownClock::Kind::kPlace:
      if (zones == nullptr) break;
      return [clock, zones](double hours) -> std::optional<double> {
        const auto offset = zones->OffsetHoursAt(clock.placeName, clock.latitudeDeg, clock.longitudeDeg, hours, false);
        if (!offset) return std::nullopt;
        return hours - *offset;
      };
    case ShownClock::Kind::kUnknown: break;
  }
  return [](double) { return std::optional<double>(); };
}

IcsCalendar CalendarToIcs(const CalendarResult& result, const IcsRequest& request) {
  IcsCalendar calendar;
  calendar.text = Property("BEGIN", "VCALENDAR") + Property("VERSION", "2.0") + Property("PRODID", kProductId) +
                  Property("CALSCALE", "GREGORIAN") + Property("X-WR-CALNAME", IcsEscaped(ViewTitle(request.mode)));
  const Events found = EventsOf(result, request);
  calendar.skipped = found.skipped;
  for (const ShownEvent& event : found.events) {
    const auto start = request.toUtc ? request.toUtc(event.start) : std::nullopt;
    const auto end = event.end && request.toUtc ? request.toUtc(*event.end) : std::nullopt;
    if (!start || (event.end && !end)) {
      ++calendar.skipped;
      continue;
    }
    calendar.text += EventText(event, *start, end, request);
    ++calendar.events;
  }
  calendar.text += Property("END", "VCALENDAR");
  return calendar;
}

std::optional<std::string> SaveIcs(const std::filesystem::path& path, std::string_view text) {
  if (platform::WriteFileAtomically(path, text)) return std::nullopt;
  return std::string(texts::kCannotWrite) + path.filename().string();
}

std::string IcsEscaped(std::string_view text) {
  std::string escaped;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\' || c == ';' || c == ',') {
      (escaped += '\\') += c;
    } else if (c == '\n' || c == '\r') {
      escaped += "\\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::string IcsFolded(std::string_view line) {
  std::string folded;
  std::size_t room = kFoldOctets;
  while (line.size() > room) {
    std::size_t cut = room;
    // Never inside a UTF-8 sequence: back to the byte that starts the character.
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    if (cut == 0) cut = room;  // not UTF-8 at all: cut where the octets end
    (folded += line.substr(0, cut)) += kCrLf;
    folded += ' ';
    line.remove_prefix(cut);
    room = kFoldOctets - 1;  // the continuation's leading blank counts
  }
  return (folded += line) += kCrLf;
}

std::string IcsUtcTime(double utcHours) {
  const workspace::CalendarMoment m = workspace::MomentFromHours(utcHours);
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02dZ", m.year, m.month, m.day, m.hour, m.minute, m.second);
  return text;
}

}  // namespace kelvara::calendars
