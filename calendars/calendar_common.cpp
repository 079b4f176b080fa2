#include "calendars/calendar_common.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "calendars/calendar_texts.h"
#include "engine/angles.h"

namespace kelvara::calendars {

namespace {

constexpr int kScanHour = 12;
constexpr int kMaxPercent = 99;

std::optional<double> OffsetAt(const CalendarRequest& request, const workspace::TimeZoneSource* zones,
                               double hours) {
  if (zones == nullptr) return std::nullopt;
  return zones->OffsetHoursAt(request.placeName, request.latitudeDeg, request.longitudeDeg, hours, true);
}

std::optional<HorizonEvent> ParseHorizonLine(const std::string& line, double dayStart) {
  int hour = 0;
  double minutes = 0.0;
  HorizonEvent event;
  if (std::sscanf(line.c_str(), "%d:%lf %d %d", &hour, &minutes, &event.body, &event.event) != 4) {
    return std::nullopt;
  }
  if (hour < 0 || hour > 24 || !(minutes >= 0.0 && minutes < 60.0)) return std::nullopt;
  const double wholeMinutes = std::floor(minutes);
  const double seconds = engine::RoundHalfAway((minutes - wholeMinutes) * 60.0);
  event.hours = dayStart + hour + wholeMinutes / 60.0 + seconds / 3600.0;
  return event;
}

}  // namespace

bool IsBeyondPolarCircle(double latitudeDeg) { return std::abs(latitudeDeg) > kPolarCircleDeg; }

workspace::CalendarMoment RoundedToMinute(double hours) {
  return workspace::MomentFromHours(engine::RoundHalfAway(hours * 60.0) / 60.0);
}

std::string DateText(double hours) {
  const workspace::CalendarMoment m = RoundedToMinute(hours);
  char text[40];
  std::snprintf(text, sizeof text, "%02d.%02d.%02d %02d:%02d", m.day, m.month, m.year, m.hour, m.minute);
  return text;
}

std::string GmtOffsetText(double offsetHours) {
  const long long minutes = static_cast<long long>(engine::RoundHalfAway(std::abs(offsetHours) * 60.0));
  char text[40];
  std::snprintf(text, sizeof text, "(GMT:%c%lld:%02lld)", offsetHours < 0.0 && minutes > 0 ? '-' : '+',
                minutes / 60, minutes % 60);
  return text;
}

double DayStartHours(double hours) {
  const workspace::CalendarMoment m = workspace::MomentFromHours(hours);
  return workspace::HoursSince1860({m.year, m.month, m.day, 0, 0, 0});
}

std::optional<std::vector<HorizonEvent>> DayEvents(const DayScanSource& scan, double dayHours,
                                                   const CalendarRequest& request, int body) {
  const double dayStart = DayStartHours(dayHours);
  workspace::EngineMoment at;
  at.moment = workspace::MomentFromHours(dayStart);
  at.moment.hour = kScanHour;
  at.latitudeDeg = request.latitudeDeg;
  at.longitudeDeg = request.longitudeDeg;
  const auto lines = scan(at);
  if (!lines) return std::nullopt;
  std::vector<HorizonEvent> events;
  for (const std::string& line : *lines) {
    const auto event = ParseHorizonLine(line, dayStart);
    if (event && event->body == body) events.push_back(*event);
  }
  return events;
}

void ProgressCounter::Step() {
  steps_ += 1.0;
  if (!report_ || total_ <= 0.0) return;
  const int percent = static_cast<int>(engine::RoundHalfAway(steps_ / total_ * 100.0));
  report_(std::clamp(percent, 0, kMaxPercent));
}

double StartHours(const CalendarRequest& request) {
  return workspace::HoursSince1860({request.from.year, request.from.month, request.from.day, 0, 0, 0});
}

double EndHours(const CalendarRequest& request) {
  return workspace::HoursSince1860({request.to.year, request.to.month, request.to.day, 0, 0, 0});
}

void FillResult(const std::vector<CalendarEntry>& entries, const CalendarRequest& request,
                const workspace::TimeZoneSource* zones, CalendarResult& result) {
  const bool local = !entries.empty() && OffsetAt(request, zones, entries.front().hours) &&
                     OffsetAt(request, zones, entries.back().hours);
  result.lines.clear();
  for (const CalendarEntry& entry : entries) {
    if (!entry.dated) {
      result.lines.push_back(entry.before + entry.after);
      continue;
    }
    const double shift = local ? OffsetAt(request, zones, entry.hours).value_or(0.0) : 0.0;
    result.lines.push_back(entry.before + DateText(entry.hours + shift) + entry.after);
  }
  result.timeKind = std::string(local ? texts::kLocalTime : texts::kGreenwichTime);
  result.placeText = request.placeName.empty() ? "" : std::string(texts::kPlacePrefix) + request.placeName;
  result.header = result.timeKind + "|" + result.placeText;
}

}  // namespace kelvara::calendars
