#include "engine/ephemeris/tests/reference_positions.h"

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
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::stringstream fields(line);
    std::string jd, deltaT, body, lon, lat, speed;
    std::getline(fields, jd, ',');
    std::getline(fields, deltaT, ',');
    std::getline(fields, body, ',');
    std::getline(fields, lon, ',');
    std::getline(fields, lat, ',');
    std::getline(fields, speed, ',');
    rows.push_back({std::stod(jd), std::stod(deltaT), body, std::stod(lon), std::stod(lat), std::stod(speed)});
  }
  return rows;
}

}  // namespace kelvara::engine::testing
