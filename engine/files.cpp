#include "engine/files.h"

#include <algorithm>

#include "engine/ephemeris/ephemeris_files.h"

namespace kelvara::engine {
namespace {

constexpr const char* kDataFolder = "data/";

std::string LocalPath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace

std::string DataDirectoryPrefix(const EngineState& state) {
  return state.programFolder + kDataFolder;
}

std::FILE* OpenEngineFile(const EngineState& state, const std::string& path, const char* mode) {
  return OpenDataFile(path, LocalPath(DataDirectoryPrefix(state)), mode);
}

std::FILE* OpenTextOutput(const EngineSettings& settings) {
  if (settings.outputFileName.empty()) return stdout;
  // "File %s can not be created." would go to a console nobody sees; stdout stands in.
  std::FILE* file = std::fopen(settings.outputFileName.c_str(), "w");
  return file ? file : stdout;
}

void CloseTextOutput(std::FILE* output) {
  if (output != nullptr && output != stdout) std::fclose(output);
}

}  // namespace kelvara::engine
