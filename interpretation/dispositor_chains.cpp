#include "interpretation/dispositor_chains.h"

#include <algorithm>
#include <cmath>

namespace kelvara::interpretation {
namespace {

namespace ws = workspace;

constexpr double kDegreesPerSign = 30.0;

// Sign 0-11 of a placed object, from its longitude rather than the stored sign number.
int SignIndex(const ws::ChartObject& object) {
  return std::clamp(static_cast<int>(std::floor(object.longitude / kDegreesPerSign)), 0, ws::kSignCount - 1);
}

bool IsCentre(const ChainLinks& links) { return links.label.find("в центре") != std::string::npos; }

void LinkDispositors(const ws::ObjectTable& objects, const ws::DignityTable& table, ChartChains& chains) {
  for (int j = kFirstChainObject; j <= kLastChainObject; ++j) {
    if (!TakesPartInChains(objects[j])) continue;
    const auto& row = table[SignIndex(objects[j])];
    for (int k = kFirstChainObject; k <= kLastChainObject; ++k) {
      if (!TakesPartInChains(objects[k]) || row[k - 1] != 1) continue;
      chains.objects[j].dispositors.push_back(k);
      chains.objects[k].dispositees.push_back(j);
    }
  }
}

// Labels the cycle through first dispositors that the walk of `start` closed at `entry`.
// A cycle of one object is an object in its own sign, whichever walk reached it.
void RecordCycle(int entry, ChartChains& chains) {
  ChainGroup group;
  int object = entry;
  do {
    group.members.push_back(object);
    chains.objects[object].label = kCentreLabel;
    const std::vector<int>& next = chains.objects[object].dispositors;
    if (next.empty()) break;
    object = next.front();
  } while (object != entry && group.members.size() < static_cast<std::size_t>(kLastChainObject));
  group.type = group.members.size() == 1 ? kOwnSign : kClosedCycle;
  chains.groups.push_back(std::move(group));
}

void WalkFrom(int start, ChartChains& chains) {
  ChainLinks& links = chains.objects[start];
  // An object in its own sign for the dignity, when nothing else points to it first.
  if (!links.dispositors.empty() && !links.dispositees.empty() && links.dispositors.front() == start &&
      links.dispositees.front() == start) {
    if (!IsCentre(links)) {
      links.label = kCentreLabel;
      chains.groups.push_back({kOwnSign, {start}, 1});
    }
    links.mark = start;
  }
  int reached = start;
  if (links.mark == 0) {
    while (!chains.objects[reached].dispositors.empty()) {
      chains.objects[reached].mark = start;
      reached = chains.objects[reached].dispositors.front();
      if (chains.objects[reached].mark != 0) break;
    }
  }
  if (chains.objects[reached].mark == start && !IsCentre(chains.objects[reached])) RecordCycle(reached, chains);
}

}  // namespace

const ws::DignityTable& TableOfKind(const ws::DignityTables& tables, ChainKind kind) {
  switch (kind) {
    case ChainKind::kExaltation: return tables.exaltation;
    case ChainKind::kExile: return tables.exile;
    case ChainKind::kFall: return tables.fall;
    default: return tables.rulership;
  }
}

bool TakesPartInChains(const ws::ChartObject& object) { return object.visible != 0 && object.HasLongitude(); }

ChartChains BuildChains(const ws::ObjectTable& objects, const ws::DignityTables& tables, ChainKind kind) {
  ChartChains chains;
  if (kind == ChainKind::kNone) return chains;
  LinkDispositors(objects, TableOfKind(tables, kind), chains);
  for (int k = kFirstChainObject; k <= kLastChainObject; ++k) {
    if (TakesPartInChains(objects[k]) && chains.objects[k].mark == 0) WalkFrom(k, chains);
  }
  return chains;
}

}  // namespace kelvara::interpretation
