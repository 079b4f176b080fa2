// The engine's result files and day scans, called by the run sequence.
// They are joined with the ephemeris-based casting: until then each of them writes
// nothing and leaves "tmp.tmp", "G_tmp.tmp" and the chart file untouched, so a reader
// finds the previous contents or no file, as after a file that could not be opened.
#pragma once

#include "engine/records.h"

namespace kelvara::engine {

void WriteChartFile(EngineState& state);
void WriteCrossingTable(EngineState& state);
void ScanRiseSet(EngineState& state);
// Horizon coordinates of every kept object; writes nothing by design.
void HorizonListing(EngineState& state);
void ScanEvents(EngineState& state);

}  // namespace kelvara::engine
