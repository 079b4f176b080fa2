// PLUTO95 (Chapront & Francou 1995): Pluto's heliocentric rectangular coordinates, mean
// equator and equinox J2000 (DE200), TDB, valid 1700-01-01 to 2100-01-24.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/ephemeris/geometry.h"

namespace kelvara::tools {

inline constexpr std::size_t kPlutoTermCount = 106;

struct Pluto95Tables {
  std::array<double, kPlutoTermCount> frequencyRadPerDay{};
  // Per coordinate X, Y, Z: secular A0..A3 and cosine/sine coefficients, units of 1e-10 au.
  std::array<std::array<double, 4>, 3> secular{};
  std::array<std::array<double, kPlutoTermCount>, 3> cosine{};
  std::array<std::array<double, kPlutoTermCount>, 3> sine{};
};

// Reads the tables of the authors' notice ("pluto.txt") row by row, in order.
// Throws std::runtime_error when a table is short.
Pluto95Tables ReadPluto95(const std::string& path);

// Heliocentric position, au, equatorial J2000.
engine::Vec3 Pluto95Position(const Pluto95Tables& tables, double julianDayTdb);

}  // namespace kelvara::tools
