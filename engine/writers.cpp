#include "engine/writers.h"

#include "engine/angles.h"

namespace kelvara::engine {

void WriteChartFile(EngineState& /*state*/) {}
void WriteCrossingTable(EngineState& /*state*/) {}
void ScanRiseSet(EngineState& /*state*/) {}
void ScanEvents(EngineState& /*state*/) {}

void HorizonListing(EngineState& state) {
  const TimeState& time = state.time;
  for (int i = 0; i < kObjectCount; ++i) {
    if (state.ignore[i]) continue;
    state.horizon[i] =
        HorizonCoords(state.objects.longitude[i], state.objects.latitude[i],
                      time.ramc_rad * kRadToDeg, time.longitude_deg, time.latitude_rad);
  }
}

}  // namespace kelvara::engine
