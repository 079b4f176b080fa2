// The switch grammar of the engine's entry: a vector of text switches as on a command line.
#pragma once

#include "engine/records.h"

namespace kelvara::engine {

// The on/off rule of a prefix: '=' sets, '_' clears, ':' keeps, '-', '/' or none toggles.
std::uint8_t ApplyPrefix(char prefix, std::uint8_t old_value);

// Parses args[1..argc-1] into the state's records. False when a switch lacks an argument
// or an argument is out of range; parsing stops there and what came before stays set.
// Null elements read as empty texts.
bool ParseSwitches(EngineState& state, int argc, const char* const* args);

}  // namespace kelvara::engine
