// The event map's day scan: the transits of three days around a chosen day to the natal
// chart, each exact aspect with its orb entry and exit, and the slow aspects in force.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "eventmap/event_record.h"
#include "workspace/aspect_tables.h"
#include "workspace/chart_compute.h"
#include "workspace/chart_record.h"
#include "workspace/engine_driver.h"

namespace kelvara::eventmap {

// Transiting points are slots 1 (Sun) to 16 (Lilith).
inline constexpr int kLastTransitingPoint = workspace::kSlotLilith;
inline constexpr int kStepsChoices = 8;
// Steps per day by the setting's index 0-7.
inline constexpr std::array<int, kStepsChoices> kStepsPerDay = {1, 2, 3, 4, 6, 8, 12, 24};

// Hours the transiting point needs for one degree of mean motion; 0 for other points.
double HoursPerDegree(int point);

struct DayScanRequest {
  int year = 2000;
  int month = 1;
  int day = 1;
  int stepsIndex = 7;  // 0-7, see kStepsPerDay
  std::string placeName;
  double latitudeDeg = 0.0;   // north positive
  double longitudeDeg = 0.0;  // east positive
  // The place's offset history; null, or a place it does not know, shows fixedOffsetHours.
  const workspace::TimeZoneSource* zones = nullptr;
  double fixedOffsetHours = 0.0;  // east positive
  // Transiting points the user left on, by slot 0-16 (slot 0 unused).
  std::array<bool, kLastTransitingPoint + 1> transiting = AllTransiting();

  static std::array<bool, kLastTransitingPoint + 1> AllTransiting() {
    std::array<bool, kLastTransitingPoint + 1> all{};
    all.fill(true);
    return all;
  }
};

// Times of the records are display hours since 1860 (Greenwich plus the display offset
// valid at the record's culmination).
struct DayScanLists {
  std::vector<EventRecord> exact;    // by culmination, each paired with its entry and exit
  std::vector<EventRecord> inForce;  // one per pair and day, dated at its first step in orb
  int daysStepped = 0;
  double windowStartHours = 0.0;  // Greenwich
  double windowEndHours = 0.0;
};

// Either the lists or, when the day cannot be scanned, the Russian reason; the caller
// then keeps the lists it has.
struct DayScanOutcome {
  std::optional<DayScanLists> lists;
  std::string refusal;
};

inline constexpr const char* kDayOutOfRange = "Карта событий строится для дней с 3 января 1860 по 30 декабря 2130 года.";
inline constexpr const char* kDayInvalid = "Неверно задана дата карты событий.";
inline constexpr const char* kStepsInvalid = "Число шагов в сутки задано неверно.";
inline constexpr const char* kTransitsNotComputed = "Не удалось рассчитать транзиты для карты событий.";

// Runs the engine's chart form (no houses) under the engine lock at every step.
DayScanOutcome DayScan(const workspace::ChartRecord& natal, const workspace::AspectTable& aspects,
                       const DayScanRequest& request, const workspace::ChartEngine& engine);

}  // namespace kelvara::eventmap
