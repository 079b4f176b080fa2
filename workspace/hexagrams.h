// The 64 I-Ching hexagrams in the King Wen order, their six-digit codes, and the
// hexagram of a zodiac longitude.
#pragma once

namespace kelvara::workspace {

inline constexpr int kHexagramCount = 64;

// Codes hold one decimal digit per line, the bottom line least significant:
// 1 a whole (yang) line, 2 a broken (yin) line; hexagram 3 is 212221.
inline constexpr int kWholeLineDigit = 1;
inline constexpr int kBrokenLineDigit = 2;

// The code of King Wen number 1-64; 0 outside that range.
int HexagramCode(int number);
// The King Wen number of a code; 0 for a code that is no hexagram.
int HexagramNumber(int code);

// The zodiac in 64 arcs of 5°37'30" from 0° Aries: arc k's lines, bottom up, are the
// binary digits of k from the lowest, 1 a whole line. 0 outside [0, 360) or not finite.
int HexagramCodeOfLongitude(double longitudeDeg);

}  // namespace kelvara::workspace
