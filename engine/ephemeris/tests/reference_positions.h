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

// From this folder's data/positions.csv.
std::vector<ReferenceRow> LoadReferencePositions();
// From a positions.csv elsewhere (tests of other folders reuse the one copy).
std::vector<ReferenceRow> LoadReferencePositions(const std::string& csvPath);

}  // namespace kelvara::engine::testing
