// The charts the user works with and what is kept aside while a merged chart is shown
// or double-chart mode is off.
#pragma once

#include <optional>
#include <string>

#include "workspace/chart_record.h"

namespace kelvara::workspace {

struct NameAndPath {
  std::string name;
  std::string filePath;
  friend bool operator==(const NameAndPath&, const NameAndPath&) = default;
};

// Full copies of both charts (names and paths included), taken when a midpoint or
// composite chart replaces the main chart.
struct MergedSaves {
  ChartRecord main;
  ChartRecord second;
};

struct WorkspaceState {
  ChartRecord main;
  ChartRecord second;
  bool doubleChart = false;      // setting "b_Duble"
  bool secondAlone = false;      // the second chart shown by itself
  std::string nowPlace;          // setting "sLastNowPlace"
  std::optional<MergedSaves> merged;
  NameAndPath keptSecond;        // the second chart's name and path while double-chart mode is off
};

}  // namespace kelvara::workspace
