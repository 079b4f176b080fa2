// The ephemeris layer as the casting sees it: places of engine objects at a moment in UT.
#pragma once

#include <string>

#include "engine/ephemeris/geometry.h"  // Vec3

namespace kelvara::engine {

struct LayerPlace {
  double longitude_deg = 0.0;  // apparent, true equinox of date
  double latitude_deg = 0.0;
  double motion_deg_per_day = 0.0;
  Vec3 heliocentric_au;  // the Earth's for the Sun
};

// Place of engine object 1..17 (Sun ... Lilith; 16 is the true node when asked, else the mean
// node) at a Julian day in UT. False when the layer has no place: another object, a day
// beyond its range, or a missing or damaged file. The places of the last moment asked are
// kept (a NaN day is never kept: it compares unequal to itself). sample_spacing_days: the step
// of the scan the moment is a sample of, or 0 for a chart on its own (EphemerisLayer).
bool LayerObjectPlace(int object_index, bool true_node, double julian_day_ut,
                      const std::string& data_prefix, LayerPlace& place,
                      double sample_spacing_days = 0.0);

// TT - UT in seconds that the layer applies at a Julian day in UT.
double LayerDeltaTSeconds(double julian_day_ut);

}  // namespace kelvara::engine
