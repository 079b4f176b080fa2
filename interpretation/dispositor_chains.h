// Dispositor chains of a chart: every object 1-16 points to the objects that hold the
// chosen dignity in the sign it occupies, and the objects where such chains close are
// the chart's centres ("Планета в центре").
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/chart_record.h"
#include "workspace/dignity_tables.h"

namespace kelvara::interpretation {

// The dignity the chains follow; none until the user picks one. The menu names each kind
// (commands 32805-32808).
enum class ChainKind { kNone, kRulership, kExaltation, kExile, kFall };

inline constexpr std::string_view kCentreLabel = "Планета в центре";
inline constexpr int kFirstChainObject = 1;
inline constexpr int kLastChainObject = workspace::kChainObjectCount;  // objects 1-16

// Per object: object numbers (1-16) in ascending order; the mark is 0 or the object whose
// walk first reached this one.
struct ChainLinks {
  std::vector<int> dispositors;
  std::vector<int> dispositees;
  int mark = 0;
  std::string label;  // empty or kCentreLabel
  friend bool operator==(const ChainLinks&, const ChainLinks&) = default;
};

enum ChainGroupType : int {
  kClosedCycle = 1,  // two or more objects disposing each other in turn
  kOwnSign = 2,      // one object in its own sign of the dignity
};

struct ChainGroup {
  int type = kClosedCycle;
  std::vector<int> members;  // object numbers, from the member the cycle was entered at
  int flag = 1;
  friend bool operator==(const ChainGroup&, const ChainGroup&) = default;
};

struct ChartChains {
  std::array<ChainLinks, kLastChainObject + 1> objects;  // index = object number; 0 unused
  std::vector<ChainGroup> groups;
};

const workspace::DignityTable& TableOfKind(const workspace::DignityTables& tables, ChainKind kind);

// Whether an object takes part: visible and placed (an object without a longitude keeps
// a stale sign that must not be read).
bool TakesPartInChains(const workspace::ChartObject& object);

// The chains of one chart for a kind; with no kind, links and groups are empty.
ChartChains BuildChains(const workspace::ObjectTable& objects, const workspace::DignityTables& tables,
                        ChainKind kind);

}  // namespace kelvara::interpretation
