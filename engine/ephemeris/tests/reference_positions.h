// Rows of the independent reference table of apparent places (data/positions.csv).
#pragma once

#include <string>
#include <vector>

namespace kelvara::engine::testing {

struct ReferenceRow {
  double julianDayUt;
  double deltaTSeconds;
  std::string body;
  double longitudeDeg;
  double latitudeDeg;
  double speedDegPerDay;
};

std::vector<ReferenceRow> LoadReferencePositions();

}  // namespace kelvara::engine::testing
