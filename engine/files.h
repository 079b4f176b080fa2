// Where the engine finds its data files and where its text output goes.
#pragma once

#include <cstdio>
#include <string>

#include "engine/records.h"

namespace kelvara::engine {

// The program's folder (as argv[0] gave it) followed by "data/".
std::string DataDirectoryPrefix(const EngineState& state);

// Opens a file as OpenDataFile does, under the data-directory prefix: the engine's own names
// there first, a path written out as given first; nullptr when neither is a regular file.
std::FILE* OpenEngineFile(const EngineState& state, const std::string& path, const char* mode);

// The run's text output: the -os file when it can be created, else standard output.
std::FILE* OpenTextOutput(const EngineSettings& settings);
void CloseTextOutput(std::FILE* output);

}  // namespace kelvara::engine
