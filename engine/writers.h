// The engine's result files and day scans, called by the run sequence.
// The chart file, the crossing table and the two scans are joined with the
// ephemeris-based casting: until then they write nothing and leave "tmp.tmp", "G_tmp.tmp"
// and the chart file untouched, so a reader finds the previous contents or no file, as
// after a file that could not be opened.
#pragma once

#include "engine/records.h"

namespace kelvara::engine {

void WriteChartFile(EngineState& state);
void WriteCrossingTable(EngineState& state);
void ScanRiseSet(EngineState& state);
// Horizon coordinates of every kept object into state.horizon; writes no file.
void HorizonListing(EngineState& state);
void ScanEvents(EngineState& state);

}  // namespace kelvara::engine
