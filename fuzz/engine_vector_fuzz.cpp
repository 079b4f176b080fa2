// The engine's switch vector: one word per line of the input, behind an argv[0] that names
// the repository as the program's folder (so data/ holds the ephemeris files). The results
// must stay finite and in range, and every object keep a name.
//
// Two kinds of word are left out. A word with '/' could name a file anywhere once it follows
// "-o" or ">", and the fuzzer must not write outside its scratch folder. The year count of
// "-dY" and "-dpY" has no bound of its own (1985 years take hours, as asked), which would
// turn one input into a hang.
//
// A scan's cost is its step count (divisions of the day times the days scanned), each step a
// cast and an aspect test of every pair of objects: some 15 ms under the sanitizers, so a
// year's scan takes seconds and libFuzzer, drawn to the new paths of long scans, slows to a
// dozen inputs a second. An input whose scans take more steps than the default day (12
// divisions) is only parsed: more steps run the same code again. Month and year scans are
// the engine tests' to check.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/records.h"
#include "engine/switches.h"
#include "engine/tests/run_vector.h"
#include "fuzz/fuzz_support.h"

namespace {

namespace engine = kelvara::engine;

constexpr std::string_view kSwitchPrefixes = "-/_=:";

bool CountsYears(std::string_view word) {
  if (!word.empty() && kSwitchPrefixes.find(word[0]) != std::string_view::npos) word.remove_prefix(1);
  return word.starts_with("dY") || word.starts_with("dpY") || word.starts_with("dp0Y");
}

bool Admitted(std::string_view word) { return word.find('/') == std::string_view::npos && !CountsYears(word); }

std::vector<std::string> Vector(std::string_view input) {
  std::vector<std::string> words = {"---" + std::string(KELVARA_SOURCE_DIR) + "/"};
  for (std::size_t start = 0; start <= input.size();) {
    const std::size_t end = std::min(input.find('\n', start), input.size());
    const std::string_view word = input.substr(start, end - start);
    if (Admitted(word)) words.emplace_back(word);
    start = end + 1;
  }
  return words;
}

constexpr long long kMaxScanSteps = 12;
constexpr long long kDaysOfYearScan = 366;
constexpr long long kDaysOfMonthScan = 31;

// The steps of the longer of the two scans a vector can ask for.
long long ScanSteps(const engine::EngineSettings& settings, const engine::ProgressionInput& target) {
  const long long divisions = std::max(1, settings.scanDivisions);
  long long eventSteps = 0;
  if (settings.eventScan) {
    if (!settings.scanMonthYear) {
      eventSteps = divisions;
    } else if (target.month == engine::kYearScanMarker) {
      eventSteps = kDaysOfYearScan * std::max(1, settings.scanYears);
    } else {
      eventSteps = divisions * kDaysOfMonthScan;
    }
  }
  const long long riseSetSteps = settings.horizonScan && settings.riseSetScan ? divisions : 0;
  return std::max(eventSteps, riseSetSteps);
}

// Parses the vector as EngineRun will, into a state of its own, to count the scans' steps.
bool WithinScanBudget(std::vector<std::string> words) {
  std::vector<const char*> argv;
  for (const std::string& word : words) argv.push_back(word.c_str());
  engine::EngineState trial;
  engine::ResetEngineState(trial);
  trial.initialParse = true;
  engine::ParseSwitches(trial, static_cast<int>(argv.size()), argv.data());
  return ScanSteps(trial.settings, trial.progressionInput) <= kMaxScanSteps;
}

// The engine writes its files ("-o", ">", the scan files) into the current directory: the
// scratch folder for the run, and the fuzzer's own again after it, emptied so the next input
// starts afresh.
class InScratchFolder {
 public:
  InScratchFolder() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(kelvara::fuzz::ScratchPath());
  }
  ~InScratchFolder() {
    std::filesystem::current_path(previous_);
    for (const auto& entry : std::filesystem::directory_iterator(kelvara::fuzz::ScratchPath())) {
      std::filesystem::remove_all(entry.path());
    }
  }
  InScratchFolder(const InScratchFolder&) = delete;
  InScratchFolder& operator=(const InScratchFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvara;
  const InScratchFolder scratch;
  const std::vector<std::string> words = Vector(fuzz::Bytes(data, size));
  if (!WithinScanBudget(words)) return 0;
  const engine::testing::RunOutput run = engine::testing::RunTexts(words);
  fuzz::Require(run.status == 0 && engine::testing::FinitePositions(run), "a result out of range");
  for (const char* name : engine::ProcessEngineState().objectNames) fuzz::Require(name != nullptr, "a nameless object");
  return 0;
}
