// Where the engine finds its data files and where its text output goes.
#pragma once

#include <cstdio>
#include <string>

#include "engine/records.h"

namespace kelvara::engine {

// The program's folder (as argv[0] gave it) followed by "data/".
std::string DataDirectoryPrefix(const EngineState& state);

// Opens a path as given, then under the data-directory prefix; nullptr when neither opens.
// Backslashes of the handheld's paths are read as directory separators.
std::FILE* OpenEngineFile(const EngineState& state, const std::string& path, const char* mode);

// The run's text output: the -os file when it can be created, else standard output.
std::FILE* OpenTextOutput(const EngineSettings& settings);
void CloseTextOutput(std::FILE* output);

}  // namespace kelvara::engine
