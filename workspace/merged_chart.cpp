#include "workspace/merged_chart.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "workspace/angle_search.h"

namespace kelvara::workspace {
namespace {

constexpr double kHalfCircle = 180.0;
constexpr int kFirstHouseFromMidheaven = 10;
constexpr const char* kNameJoint = " + ";

std::string Caption(std::string_view prefix, const std::string& first, const std::string& second) {
  return std::string(prefix) + first + kNameJoint + second + ")";
}

double Middle(double a, double b) { return std::max(a, b) - std::fabs(a - b) / 2.0; }

void SaveCharts(WorkspaceState& state) {
  state.merged = MergedSaves{state.main, state.second};
}

// The merged chart takes the main chart's place in the view; the second chart is off.
void RenameAndHideSecond(WorkspaceState& state, std::string caption) {
  state.main.name = std::move(caption);
  state.main.filePath.clear();
  state.second.name.clear();
  state.second.filePath.clear();
}

int CuspSlotOfHouse(int house) { return kSlotFirstCusp + (house - 1 + kCuspCount) % kCuspCount; }

int AngleSlot(ChartAngle angle) { return angle == ChartAngle::kMidheaven ? kSlotMidheaven : kSlotFirstCusp; }

void KeepBySun(int slot, ObjectTable& objects) {
  ChartObject& planet = objects[slot];
  if (!planet.HasLongitude()) return;
  planet.SetLongitude(NearerTheSun(planet.longitude, objects[kSlotSun].longitude));
}

void CastCuspsForPlace(const CompositeOptions& options, const ChartEngine& engine,
                       ChartRecord& chart) {
  chart.latitudeDeg = options.latitude.Degrees();
  chart.longitudeDeg = options.longitude.Degrees();
  chart.placeName = options.placeName;
  const int angleSlot = AngleSlot(options.fitAngle);
  const double target = chart.objects[angleSlot].longitude;
  const auto castAt = [&](double hours, ObjectTable& table) {
    return engine.RunChart(RequestAt(hours, chart.latitudeDeg, chart.longitudeDeg, chart.houseSystem),
                           table, false);
  };
  ObjectTable trial;
  bool computable = true;
  const double found = SearchAngleMoment(HoursSince1860(chart.greenwich), target, [&](double hours) {
    computable = castAt(hours, trial) && computable;
    return trial[angleSlot].longitude;
  });
  if (computable && castAt(found, trial)) CopyCusps(trial, chart.objects);
}

}  // namespace

BirthDataCheck CheckCompositeOptions(const CompositeOptions& options) {
  if (options.houses != CompositeHouses::kForPlace) return {};
  return CheckCoordinates(options.latitude, options.longitude);
}

std::string MidpointName(const std::string& first, const std::string& second) {
  return Caption(kMidpointPrefix, first, second);
}

std::string CompositeName(const std::string& first, const std::string& second) {
  return Caption(kCompositePrefix, first, second);
}

ChartObject CompositePoint(const ChartObject& first, const ChartObject& second) {
  ChartObject point = first;
  if (!first.HasLongitude() || !second.HasLongitude()) {
    point.longitude = kNotAvailable;
    point.speed = kNotAvailable;
    return point;
  }
  double arc = Normalise360(second.longitude - first.longitude);
  double start = first.longitude;
  if (arc >= kHalfCircle) {
    arc = kFullCircle - arc;
    start = second.longitude;
  }
  point.SetLongitude(Normalise360(start + arc / 2.0));
  const bool speedKnown = first.speed != kNotAvailable && second.speed != kNotAvailable;
  point.speed = speedKnown ? (first.speed + second.speed) / 2.0 : kNotAvailable;
  point.retrograde = speedKnown && point.speed < 0.0 ? 1 : 0;
  return point;
}

double NearerTheSun(double longitudeDeg, double sunDeg) {
  const double opposite = Normalise360(longitudeDeg + kHalfCircle);
  return std::fabs(SignedDifference(longitudeDeg, sunDeg)) <= std::fabs(SignedDifference(opposite, sunDeg))
             ? longitudeDeg
             : opposite;
}

void RestoreCuspOrder(ChartAngle from, ObjectTable& objects) {
  const int firstHouse = from == ChartAngle::kMidheaven ? kFirstHouseFromMidheaven : 1;
  const double start = objects[AngleSlot(from)].longitude;
  std::vector<ChartObject> cusps(objects.begin() + kSlotFirstCusp, objects.begin() + kSlotLastCusp + 1);
  std::stable_sort(cusps.begin(), cusps.end(), [start](const ChartObject& a, const ChartObject& b) {
    return Normalise360(a.longitude - start) < Normalise360(b.longitude - start);
  });
  for (int i = 0; i < kCuspCount; ++i) {
    const int slot = CuspSlotOfHouse(firstHouse + i);
    const int house = objects[slot].house;
    objects[slot] = cusps[i];
    objects[slot].house = house;
  }
}

ComputeResult BuildMidpointChart(WorkspaceState& state, const ComputeContext& context) {
  SaveCharts(state);
  ChartRecord& main = state.main;
  const ChartRecord& second = state.second;
  const double t1 = HoursSince1860(main.greenwich);
  const double t2 = HoursSince1860(second.greenwich);
  main.local = MomentFromHours(std::min(t1, t2) + std::fabs(t1 - t2) / 2.0);
  main.gmtOffsetHours = 0.0;
  main.latitudeDeg = Middle(main.latitudeDeg, second.latitudeDeg);
  main.longitudeDeg = Middle(main.longitudeDeg, second.longitudeDeg);
  const bool samePlace = !main.placeName.empty() && main.placeName == second.placeName;
  if (!samePlace) main.placeName = " ";
  const std::string caption = MidpointName(main.name, second.name);
  RenameAndHideSecond(state, caption);
  ComputeContext own = context;
  own.natal = &state.main;
  return ComputeChart(state.main, own);
}

ComputeResult BuildCompositeChart(WorkspaceState& state, const CompositeOptions& options,
                                  const ChartEngine& engine) {
  SaveCharts(state);
  ChartRecord& main = state.main;
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    main.objects[slot] = CompositePoint(main.objects[slot], state.second.objects[slot]);
  }
  if (options.mercuryBySun) KeepBySun(kSlotMercury, main.objects);
  if (options.venusBySun) KeepBySun(kSlotVenus, main.objects);
  if (options.houses == CompositeHouses::kForPlace) {
    CastCuspsForPlace(options, engine, main);
  } else if (options.fixCuspOrder) {
    RestoreCuspOrder(options.orderFrom, main.objects);
  }
  const std::string caption = CompositeName(main.name, state.second.name);
  RenameAndHideSecond(state, caption);
  main.title = TitleForName(main.name);
  return ComputeResult::kComputed;
}

bool RestoreSavedCharts(WorkspaceState& state) {
  if (!state.merged) return false;
  MergedSaves saves = std::move(*state.merged);
  state.merged.reset();
  state.main = std::move(saves.main);
  state.second = std::move(saves.second);
  return true;
}

void LeaveMergedChart(WorkspaceState& state, const ComputeContext& context) {
  if (!RestoreSavedCharts(state)) return;
  ComputeContext own = context;
  own.natal = &state.main;
  ComputeChart(state.main, own);
  if (state.doubleChart && !state.second.name.empty()) ComputeChart(state.second, own);
}

}  // namespace kelvara::workspace
