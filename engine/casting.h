// Casting the chart of the chart input into the object tables.
#pragma once

#include "engine/records.h"

namespace kelvara::engine {

// The chart input's moment in the working units of the time primitives.
ChartMoment MomentOf(const ChartInput& chart);

// Fills the time state, the house cusps and the angle-based objects (Vertex, East Point,
// the cusp objects) of the chart input; leaves the chart input as it found it. A moment
// whose angles cannot be computed in doubles leaves the tables as they were.
// The bodies 1-17 and Fortune keep the cleared positions: their positions come from the
// ephemeris layer, which this casting does not call yet.
void CastChart(EngineState& state);

}  // namespace kelvara::engine
