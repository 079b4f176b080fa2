// The engine's result files, called by the run sequence: the chart-positions file ("-o"),
// the crossing table ("G_tmp.tmp"), the horizon listing and the two day scans ("tmp.tmp").
// A file that cannot be opened is skipped silently and the run goes on.
#pragma once

#include "engine/event_scan.h"
#include "engine/records.h"
#include "engine/rise_set_scan.h"

namespace kelvara::engine {

// "-o": the chart-info form; "-o0": the positions form. Both end with the recorded switches.
void WriteChartFile(EngineState& state);
// Longitudes where each object culminates, rises and sets, latitude by latitude.
void WriteCrossingTable(EngineState& state);
// Horizon coordinates of every kept object into state.horizon; writes no file.
void HorizonListing(EngineState& state);

}  // namespace kelvara::engine
