// A sky whose points follow scripted paths in time, for the scanner's tests: with
// straight stretches between whole days every crossing has an answer worked by hand.
#pragma once

#include <atomic>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "eventmap/event_scanner.h"
#include "platform/message_sink.h"
#include "workspace/chart_compute.h"
#include "workspace/driver_points.h"

namespace kelvara::eventmap::testing {

using workspace::ChartRecord;
using workspace::kNotAvailable;

// Longitude (unwrapped degrees) at a number of days after the sky's origin.
using Path = std::function<double(double days)>;

// Straight lines between (day, longitude) knots, standing still outside them.
inline Path Knots(std::vector<std::pair<double, double>> knots) {
  return [knots = std::move(knots)](double days) {
    if (days <= knots.front().first) return knots.front().second;
    for (std::size_t i = 1; i < knots.size(); ++i) {
      const auto [d0, l0] = knots[i - 1];
      const auto [d1, l1] = knots[i];
      if (days <= d1) return l0 + (l1 - l0) * (days - d0) / (d1 - d0);
    }
    return knots.back().second;
  };
}

inline Path Line(double atOrigin, double perDay) {
  return [=](double days) { return atOrigin + perDay * days; };
}

// 1 January 2000 00:00: day 0 of every scripted sky.
inline double OriginHours() { return workspace::HoursSince1860({2000, 1, 1, 0, 0, 0}); }
inline double AtDay(double days) { return OriginHours() + days * 24.0; }

class ScriptedSky : public workspace::ChartEngine {
 public:
  void Script(int slot, Path path) { paths_[slot] = std::move(path); }

  bool RunChart(const workspace::ChartRequest& request, workspace::ObjectTable& objects, bool) const override {
    const int run = ++runs;
    if (onRun) onRun(run);
    const double hours = workspace::GreenwichHoursOf(request.at);
    if (!workspace::IsComputable(request) || hours >= refuseFromHours) return false;
    const double days = (hours - OriginHours()) / 24.0;
    const bool houses = request.houseSystem != workspace::kNoHouses;
    for (int slot = workspace::kFirstSlot; slot <= workspace::kLastSlot; ++slot) {
      // Without houses the cusps keep what they held, as the engine driver does.
      if (workspace::IsCuspSlot(slot) && !houses) continue;
      Place(objects[slot], PathOf(slot), days);
    }
    return true;
  }

  // Called first in every run, on the caller's thread.
  std::function<void(int run)> onRun;
  double refuseFromHours = std::numeric_limits<double>::infinity();
  mutable std::atomic<int> runs = 0;

 private:
  static constexpr double kSiderealDegPerDay = 360.985647;

  Path PathOf(int slot) const {
    if (const auto it = paths_.find(slot); it != paths_.end()) return it->second;
    if (!workspace::IsCuspSlot(slot)) return {};
    const double house = slot - workspace::kSlotFirstCusp;
    return Line(house * workspace::kDegreesPerSign, kSiderealDegPerDay);
  }

  static void Place(workspace::ChartObject& object, const Path& path, double days) {
    if (!path) {
      object.longitude = kNotAvailable;
      object.speed = kNotAvailable;
      return;
    }
    constexpr double kDay = 1e-3;
    object.SetLongitude(workspace::Normalise360(path(days)));
    object.speed = (path(days) - path(days - kDay)) / kDay;  // the motion just made
    object.retrograde = object.speed < 0.0 ? 1 : 0;
  }

  std::map<int, Path> paths_;
};

// A chart of a person whose points stand where they are put and nowhere else.
inline ChartRecord NatalWith(const std::map<int, double>& points, int houseSystem = workspace::kNoHouses) {
  ChartRecord chart;
  chart.name = "Иван";
  chart.title = std::string(workspace::kTitleNatal);
  chart.local = chart.greenwich = {1980, 1, 1, 0, 0, 0};
  chart.latitudeDeg = 55.75;
  chart.longitudeDeg = 37.6;
  chart.houseSystem = houseSystem;
  for (auto& object : chart.objects) object.longitude = kNotAvailable;
  for (const auto& [slot, longitude] : points) {
    chart.objects[slot].SetLongitude(longitude);
    chart.objects[slot].speed = 0.0;
  }
  return chart;
}

inline ChartRecord TransitChart(int houseSystem = workspace::kNoHouses) {
  ChartRecord chart = NatalWith({}, houseSystem);
  chart.name.clear();
  chart.title = std::string(workspace::kTitleTransit);
  return chart;
}

// Every aspect off but the given ones (angle, orb), from record 0 on, in both tables.
inline workspace::AspectTables Aspects(const std::vector<std::pair<double, double>>& aspects) {
  workspace::AspectTable table{};
  for (std::size_t i = 0; i < aspects.size(); ++i) {
    table[i].enabled = true;
    table[i].angle = aspects[i].first;
    table[i].firstOrbs.fill(aspects[i].second);
    table[i].firstColor = 0x000100u * std::uint32_t(i + 1);
  }
  return {table, table};
}

inline ScanCharts Pair(const ChartRecord* moving, const ChartRecord* base, std::string_view method) {
  ScanCharts charts;
  charts.moving = moving;
  charts.base = base;
  charts.method = std::string(method);
  return charts;
}

class RecordingSink : public platform::MessageSink {
 public:
  void Post(const platform::PostedMessage& message) override {
    std::lock_guard lock(mutex_);
    messages_.push_back(message);
  }
  std::vector<platform::PostedMessage> Messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<platform::PostedMessage> messages_;
};

}  // namespace kelvara::eventmap::testing
