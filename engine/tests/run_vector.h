// Runs EngineRun on a vector of texts, as the front-end and the driver do, for the tests.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "engine/engine_run.h"
#include "engine/records.h"

namespace kelvara::engine::testing {

struct RunOutput {
  std::array<double, kResultCount> longitude{}, speed{}, latitude{};
  double delta_t_s = 0.0;
  int status = -1;
  std::string argv0_after;  // EngineRun moves argv[0] past its mode characters
};

inline RunOutput RunTexts(std::vector<std::string> texts) {
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  RunOutput out;
  out.status = EngineRun(static_cast<int>(argv.size()), argv.data(), out.longitude.data(),
                         out.speed.data(), out.latitude.data());
  out.delta_t_s = ProcessEngineState().objects.deltaTSeconds;
  out.argv0_after = argv.empty() ? "" : argv[0];
  return out;
}

// Every result finite and in range: longitudes within a turn, latitudes within 90 degrees.
inline ::testing::AssertionResult FinitePositions(const RunOutput& r) {
  for (int i = 0; i < kResultCount; ++i) {
    const double lon = r.longitude[i], lat = r.latitude[i], speed = r.speed[i];
    if (!std::isfinite(lon) || std::fabs(lon) >= 360.0 || !std::isfinite(lat) ||
        std::fabs(lat) > 90.0 || !std::isfinite(speed)) {
      return ::testing::AssertionFailure() << "object " << i << ": " << lon << " " << lat << " "
                                           << speed;
    }
  }
  return ::testing::AssertionSuccess();
}

// argv[0] naming the repository as the program's folder, so data/ holds the ephemeris files.
inline std::string RepositoryArgv0() { return "---" + std::string(KELVARA_SOURCE_DIR) + "/"; }

// The front-end's vector: Moscow, 12 July 1985 14:05, Placidus, true node, files on.
inline std::vector<std::string> MoscowTexts(const std::string& argv0 = RepositoryArgv0()) {
  return {argv0, "-Yn", "-b0", "-c", "0", "qa", "7", "12", "1985", "14:05", "-3", "037e35",
          "55n45"};
}

}  // namespace kelvara::engine::testing
