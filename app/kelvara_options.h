// The command line of the window program:
//   kelvara [FILE.kvd]
//   kelvara --screenshot FILE.png [--mode wheel|map|chains] [--size WxH] [FILE.kvd]
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/session.h"
#include "platform/geometry.h"

namespace kelvara::app {

inline constexpr const char* kKelvaraUsage =
    "Использование: kelvara [ФАЙЛ.kvd]\n"
    "       kelvara --screenshot ФАЙЛ.png [--mode wheel|map|chains] [--size ШxВ] [ФАЙЛ.kvd]\n";

struct KelvaraOptions {
  std::string screenshotFile;  // paint the window once into this file and end
  std::optional<DisplayMode> mode;
  std::optional<platform::Size> size;
  std::string documentFile;
  bool help = false;
};

struct ParsedOptions {
  std::optional<KelvaraOptions> value;
  std::string error;  // Russian, for standard error
};

// The arguments after the program's name.
ParsedOptions ParseKelvaraOptions(const std::vector<std::string>& args);

// A mode asked for on the command line replaces the stored one for this run; the chains
// start with rulership.
void ApplyModeOption(const KelvaraOptions& options, Session& session);

}  // namespace kelvara::app
