#include "engine/files.h"

#include <algorithm>

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
  const std::string local = LocalPath(path);
  if (std::FILE* file = std::fopen(local.c_str(), mode)) return file;
  const std::string in_data = LocalPath(DataDirectoryPrefix(state)) + local;
  return std::fopen(in_data.c_str(), mode);
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
