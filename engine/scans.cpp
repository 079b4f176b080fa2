#include "engine/scans.h"

#include "engine/angles.h"
#include "engine/casting.h"

namespace kelvara::engine {

bool ScannedObject(const EngineState& state, int object) {
  if (object <= kEarth || object >= kObjectCount) return false;
  if (object >= kFortune && object <= kLastCusp) return false;
  return state.ignore[object] == 0;
}

void CastAtHours(EngineState& state, const ChartInput& day, double hours, double step_hours) {
  state.chartInput = day;
  state.chartInput.time = DegToDec(hours);
  CastChart(state, false, step_hours / kHoursPerDay);
}

}  // namespace kelvara::engine
