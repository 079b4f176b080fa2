// The engine's switch vector: one word per line of the input, behind an argv[0] that names
// the repository as the program's folder (so data/ holds the ephemeris files). The results
// must stay finite and in range, and every object keep a name.
//
// Two kinds of word are left out. A word with '/' could name a file anywhere once it follows
// "-o" or ">", and the fuzzer must not write outside its scratch folder. The year count of
// "-dY" and "-dpY" has no bound of its own (1985 years take hours, as asked), which would
// turn one input into a hang; every other scan runs.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/records.h"
#include "engine/tests/run_vector.h"
#include "fuzz/fuzz_support.h"

namespace {

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
  const engine::testing::RunOutput run = engine::testing::RunTexts(Vector(fuzz::Bytes(data, size)));
  fuzz::Require(run.status == 0 && engine::testing::FinitePositions(run), "a result out of range");
  for (const char* name : engine::ProcessEngineState().objectNames) fuzz::Require(name != nullptr, "a nameless object");
  return 0;
}
