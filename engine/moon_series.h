// The engine's short lunar series: the Moon and its mean node without the ephemeris files.
#pragma once

namespace kelvara::engine {

struct MoonSeriesPlace {
  double longitude_deg = 0.0;  // geocentric, mean equinox of date, [0, 360)
  double latitude_deg = 0.0;
  double node_deg = 0.0;  // mean ascending node, [0, 360)
};

// T in Julian centuries from JD 2415020.0 (the chart's T, Universal Time).
MoonSeriesPlace MoonSeries(double t_centuries);

}  // namespace kelvara::engine
