#include "engine/layer_places.h"

#include "engine/ephemeris/delta_t.h"
#include "engine/ephemeris/ephemeris.h"

namespace kelvara::engine {

bool LayerObjectPlace(int object_index, bool true_node, double julian_day_ut,
                      const std::string& data_prefix, LayerPlace& place) {
  const std::optional<int> body = EphemerisBodyOfObject(object_index, true_node);
  EphemerisResult result;
  if (!body || !EphemerisPosition(*body, julian_day_ut, data_prefix, result)) return false;
  place.longitude_deg = result.longitudeDeg;
  place.latitude_deg = result.latitudeDeg;
  place.motion_deg_per_day = result.motionDegPerDay;
  place.heliocentric_au = {result.heliocentricAu.x, result.heliocentricAu.y,
                           result.heliocentricAu.z};
  return true;
}

double LayerDeltaTSeconds(double julian_day_ut) { return DeltaTSeconds(julian_day_ut); }

}  // namespace kelvara::engine
