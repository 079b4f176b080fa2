#include "engine/ephemeris/tests/reference_positions.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kelvara::engine::testing {

std::vector<ReferenceRow> LoadReferencePositions() {
  return LoadReferencePositions(std::string(KELVARA_TEST_DATA_DIR) + "/positions.csv");
}

std::vector<ReferenceRow> LoadReferencePositions(const std::string& csvPath) {
  std::ifstream in(csvPath);
  if (!in) throw std::runtime_error("positions.csv missing");
  std::vector<ReferenceRow> rows;
  std::string line;
  std::getline(in, line);  // the header
  while (std::getline(in, line)) {
    std::replace(line.begin(), line.end(), ',', ' ');
    std::istringstream fields(line);
    ReferenceRow r;
    if (!(fields >> r.julianDayUt >> r.deltaTSeconds >> r.body >> r.longitudeDeg >> r.latitudeDeg >> r.speedDegPerDay)) {
      throw std::runtime_error("positions.csv: unreadable row " + line);
    }
    rows.push_back(r);
  }
  return rows;
}

}  // namespace kelvara::engine::testing
