// The event map in the main view: the day scan of the day shown against the main chart,
// drawn as the 24-hour dial under a caption that names the day and the place. The scan
// runs again only when what it depends on changed; a day that cannot be scanned keeps the
// previous day's dial and says why in the caption.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/view_picture.h"
#include "eventmap/day_event_rows.h"
#include "eventmap/day_scan.h"
#include "eventmap/event_map_drawing.h"
#include "platform/clock.h"
#include "workspace/chart_compute.h"
#include "workspace/engine_driver.h"

namespace kelvara::app {

inline constexpr int kDefaultMapSteps = 7;  // "MapSteps": index of 24 steps a day

// The day and the place the map is drawn for.
struct EventMapDay {
  workspace::CalendarMoment day;  // only the date counts
  std::string placeName;
  double latitudeDeg = 0.0;
  double longitudeDeg = 0.0;
  double fixedOffsetHours = 0.0;  // shown where the place's zone history is not known
  friend bool operator==(const EventMapDay&, const EventMapDay&) = default;
};

// In double-chart mode the second chart's day and place; else today at the "now" place,
// or at the main chart's place when the "now" place is not in the city base. Without a
// clock "today" is the main chart's day.
EventMapDay ChooseEventMapDay(const Session& session, const platform::Clock* clock);

// The date `days` after the given one (before it when negative).
workspace::CalendarMoment ShiftedDay(const workspace::CalendarMoment& day, int days);

// "Карта событий 09.12.2026, Москва".
std::string EventMapCaption(const EventMapDay& day);

class EventMapPicture : public ViewPicture {
 public:
  // The clock may be null (no "today", no clock hands); so may the zones.
  EventMapPicture(const workspace::ChartEngine& engine, const workspace::TimeZoneSource* zones,
                  const platform::Clock* clock);

  void Draw(platform::Canvas& canvas, const ViewMetrics& metrics, Session& session) override;
  bool ClockShown() const override { return clockShown_; }

  // The day shown moves by whole days from the chosen one, or from a day the user picked;
  // Home goes back to the chosen one.
  void ShiftDay(int days) { dayShift_ += days; }
  void ShowDay(const workspace::CalendarMoment& day) {
    pickedDay_ = day;
    dayShift_ = 0;
  }
  void ResetDay() {
    pickedDay_.reset();
    dayShift_ = 0;
  }
  workspace::CalendarMoment ShownDay(const Session& session) const;
  // Scans again at the next draw even if nothing it depends on changed.
  void Invalidate() { scanned_.reset(); }

  // What a tap at a point shows: one line per event under it; none between the rings.
  std::vector<std::string> EventLinesAt(platform::Point pixel) const;
  // "Список аспектов" of the day shown.
  std::vector<eventmap::AspectListRow> AspectRows(const Session& session) const;
  // The caption of the last draw, with the reason when the day could not be scanned.
  const std::string& Caption() const { return caption_; }
  const std::optional<eventmap::DayScanLists>& Lists() const { return lists_; }
  const eventmap::EventMapPicture& Drawn() const { return drawn_; }

 private:
  struct ScanKey {
    workspace::ObjectTable natal;
    workspace::AspectTable aspects;
    EventMapDay day;
    int stepsIndex = kDefaultMapSteps;
    std::array<bool, eventmap::kLastTransitingPoint + 1> transiting{};
    friend bool operator==(const ScanKey&, const ScanKey&) = default;
  };

  EventMapDay DayShown(const Session& session) const;
  ScanKey KeyOf(const Session& session, const EventMapDay& day) const;
  void ScanIfChanged(const Session& session, const EventMapDay& day);
  void DrawClockOverToday(platform::Canvas& canvas, const Session& session);

  const workspace::ChartEngine& engine_;
  const workspace::TimeZoneSource* zones_;
  const platform::Clock* clock_;
  int dayShift_ = 0;
  std::optional<workspace::CalendarMoment> pickedDay_;
  std::optional<ScanKey> scanned_;
  std::optional<eventmap::DayScanLists> lists_;
  workspace::CalendarMoment listsDay_;
  std::string refusal_;
  std::string caption_;
  eventmap::EventMapPicture drawn_;
  eventmap::TimeFormat timeFormat_ = eventmap::TimeFormat::kMilitary;
  bool clockShown_ = false;
};

}  // namespace kelvara::app
