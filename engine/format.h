// Short texts for clock times, zones and places, as the engine writes them (8-bit text).
#pragma once

#include <string>

namespace kelvara::engine {

struct FormatOptions {
  bool clock_24h = false;
  // 0 ':', 1 byte 0xF8, 2 byte 0x80, 3 the direction letter in place of the separator.
  int place_separator = 0;
};

std::string FormatTime(int hours, int minutes, const FormatOptions& options = {});
// An H.MM clock value.
std::string FormatClock(double hmm, const FormatOptions& options = {});
// An H.MM zone, positive west: "-5:00" for 5.0, "+3:00" for -3.0.
std::string FormatZone(double hmm);
// D.MM longitude (positive west) and latitude (positive north).
std::string FormatPlace(double longitude_dmm, double latitude_dmm,
                        const FormatOptions& options = {});

}  // namespace kelvara::engine
