#include "engine/writers.h"

namespace kelvara::engine {

void WriteChartFile(EngineState& /*state*/) {}
void WriteCrossingTable(EngineState& /*state*/) {}
void ScanRiseSet(EngineState& /*state*/) {}
void HorizonListing(EngineState& /*state*/) {}
void ScanEvents(EngineState& /*state*/) {}

}  // namespace kelvara::engine
