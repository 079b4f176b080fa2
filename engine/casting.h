// Casting the chart of the chart input into the object tables.
#pragma once

#include "engine/records.h"

namespace kelvara::engine {

// The chart input's moment in the working units of the time primitives.
ChartMoment MomentOf(const ChartInput& chart);

// Fills the object tables (positions, motions, cusps, houses, heliocentric coordinates),
// the time state and the Delta T of the chart input's moment; leaves the chart input as it
// found it. Bodies come from the ephemeris layer when the settings ask for the files and it
// serves them, else from the elements model and the lunar series.
// A progressed cast counts the chart's time from the natal day by the days from the natal to
// the progression day divided by the progression rate; with progressedZero it also turns
// every longitude by that many degrees.
// A moment whose angles cannot be computed in doubles leaves the tables as they were.
// sample_spacing_days: the step of the scan this cast is a sample of (the layer takes its
// theories from fitted segments when that pays), or 0 for a chart on its own.
void CastChart(EngineState& state, bool progressed = false, double sample_spacing_days = 0.0);

}  // namespace kelvara::engine
