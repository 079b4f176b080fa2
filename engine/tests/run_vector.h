// Runs EngineRun on a vector of texts, as the front-end and the driver do, for the tests.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/engine_run.h"
#include "engine/records.h"

namespace kelvara::engine::testing {

struct RunOutput {
  std::array<double, kResultCount> longitude{}, speed{}, latitude{};
  double delta_t_s = 0.0;
};

inline RunOutput RunTexts(std::vector<std::string> texts) {
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  RunOutput out;
  EngineRun(static_cast<int>(argv.size()), argv.data(), out.longitude.data(), out.speed.data(),
            out.latitude.data());
  out.delta_t_s = ProcessEngineState().objects.deltaTSeconds;
  return out;
}

// argv[0] naming the repository as the program's folder, so data/ holds the ephemeris files.
inline std::string RepositoryArgv0() { return "---" + std::string(KELVARA_SOURCE_DIR) + "/"; }

}  // namespace kelvara::engine::testing
