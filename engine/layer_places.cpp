#include "engine/layer_places.h"

#include <array>

#include "engine/ephemeris/delta_t.h"
#include "engine/ephemeris/ephemeris.h"

namespace kelvara::engine {
namespace {

// Slots 1..17 for the objects, slot 18 for object 16 as the mean node.
constexpr int kMeanNodeSlot = 18;
constexpr int kSlotCount = 19;
constexpr int kNodeObject = 16;

struct CachedPlace {
  bool asked = false;
  bool served = false;
  LayerPlace place;
};

// The places of the last moment asked. A chart is often cast again at the same moment
// (redraws, the chart of a vector cast once more after a scan), and the Moon and the true
// node cost a hundred microseconds and more each; the engine is not re-entrant, so one
// process-wide record serves.
struct MomentCache {
  double julian_day_ut = 0.0;
  double sample_spacing_days = 0.0;
  std::string data_prefix;
  bool valid = false;
  std::array<CachedPlace, kSlotCount> places{};
};

MomentCache& ProcessMomentCache() {
  static MomentCache cache;
  return cache;
}

bool AskLayer(int object_index, bool true_node, double julian_day_ut, double sample_spacing_days,
              const std::string& data_prefix, LayerPlace& place) {
  const std::optional<int> body = EphemerisBodyOfObject(object_index, true_node);
  EphemerisResult result;
  if (!body || !EphemerisPosition(*body, julian_day_ut, data_prefix, result, sample_spacing_days)) {
    return false;
  }
  place.longitude_deg = result.longitudeDeg;
  place.latitude_deg = result.latitudeDeg;
  place.motion_deg_per_day = result.motionDegPerDay;
  place.heliocentric_au = result.heliocentricAu;
  return true;
}

int SlotOf(int object_index, bool true_node) {
  return object_index == kNodeObject && !true_node ? kMeanNodeSlot : object_index;
}

}  // namespace

bool LayerObjectPlace(int object_index, bool true_node, double julian_day_ut,
                      const std::string& data_prefix, LayerPlace& place,
                      double sample_spacing_days) {
  if (object_index < 1 || object_index > kNodeObject + 1) return false;
  MomentCache& cache = ProcessMomentCache();
  // A scan's samples and a chart on its own keep apart: the spacing decides where the layer
  // takes its theories from.
  if (!cache.valid || cache.julian_day_ut != julian_day_ut ||
      cache.sample_spacing_days != sample_spacing_days || cache.data_prefix != data_prefix) {
    cache.places = {};
    cache.julian_day_ut = julian_day_ut;
    cache.sample_spacing_days = sample_spacing_days;
    cache.data_prefix = data_prefix;
    cache.valid = true;
  }
  CachedPlace& slot = cache.places[SlotOf(object_index, true_node)];
  if (!slot.asked) {
    slot.served = AskLayer(object_index, true_node, julian_day_ut, sample_spacing_days, data_prefix,
                           slot.place);
    slot.asked = true;
  }
  if (slot.served) place = slot.place;
  return slot.served;
}

double LayerDeltaTSeconds(double julian_day_ut) { return DeltaTSeconds(julian_day_ut); }

}  // namespace kelvara::engine
