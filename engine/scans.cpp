#include "engine/scans.h"

#include "engine/angles.h"
#include "engine/casting.h"

namespace kelvara::engine {

bool ScannedObject(const EngineState& state, int object) {
  if (object <= kEarth || object >= kObjectCount) return false;
  if (object >= kFortune && object <= kLastCusp) return false;
  return state.ignore[object] == 0;
}

void CastAtHours(EngineState& state, const ChartInput& day, double hours) {
  state.chartInput = day;
  state.chartInput.time = DegToDec(hours);
  CastChart(state);
}

void CopyCuspsToObjects(ObjectTables& objects) {
  for (int i = 1; i <= 12; ++i) objects.longitude[kFirstCusp + i - 1] = objects.cusps[i];
}

void RecastCoreChart(EngineState& state) {
  state.chartInput = state.coreChart;
  CastChart(state);
  CopyCuspsToObjects(state.objects);
}

}  // namespace kelvara::engine
