#include "workspace/hexagrams.h"

#include <algorithm>
#include <array>

#include "workspace/chart_record.h"

namespace kelvara::workspace {
namespace {

constexpr int kLinesPerHexagram = 6;
constexpr int kLinesPerTrigram = 3;
constexpr int kTrigramCount = 8;
constexpr double kArcDeg = kFullCircle / kHexagramCount;  // 5°37'30"

// A trigram as three line bits, the bottom line lowest, 1 a whole line.
enum Trigram : int {
  kKun = 0b000,   // ☷
  kZhen = 0b001,  // ☳
  kKan = 0b010,   // ☵
  kDui = 0b011,   // ☱
  kGen = 0b100,   // ☶
  kLi = 0b101,    // ☲
  kXun = 0b110,   // ☴
  kQian = 0b111,  // ☰
};

// King Wen numbers by [upper][lower] trigram, both indexed by their line bits.
constexpr std::array<std::array<int, kTrigramCount>, kTrigramCount> kKingWen = [] {
  // Rows and columns in the order Qian, Zhen, Kan, Gen, Kun, Xun, Li, Dui.
  constexpr std::array<Trigram, kTrigramCount> order = {kQian, kZhen, kKan, kGen, kKun, kXun, kLi, kDui};
  constexpr int byOrder[kTrigramCount][kTrigramCount] = {
      {1, 25, 6, 33, 12, 44, 13, 10},   // upper Qian
      {34, 51, 40, 62, 16, 32, 55, 54}, // upper Zhen
      {5, 3, 29, 39, 8, 48, 63, 60},    // upper Kan
      {26, 27, 4, 52, 23, 18, 22, 41},  // upper Gen
      {11, 24, 7, 15, 2, 46, 36, 19},   // upper Kun
      {9, 42, 59, 53, 20, 57, 37, 61},  // upper Xun
      {14, 21, 64, 56, 35, 50, 30, 38}, // upper Li
      {43, 17, 47, 31, 45, 28, 49, 58}, // upper Dui
  };
  std::array<std::array<int, kTrigramCount>, kTrigramCount> table{};
  for (int upper = 0; upper < kTrigramCount; ++upper) {
    for (int lower = 0; lower < kTrigramCount; ++lower) table[order[upper]][order[lower]] = byOrder[upper][lower];
  }
  return table;
}();

// Six line bits, the bottom line lowest, written as a code.
int CodeOfLines(int lines) {
  int code = 0;
  for (int line = kLinesPerHexagram - 1; line >= 0; --line) {
    code = code * 10 + ((lines >> line) & 1 ? kWholeLineDigit : kBrokenLineDigit);
  }
  return code;
}

// The line bits of a code; none (-1) when a digit is neither 1 nor 2 or the code is
// not six digits long.
int LinesOfCode(int code) {
  int lines = 0;
  for (int line = 0; line < kLinesPerHexagram; ++line, code /= 10) {
    const int digit = code % 10;
    if (digit != kWholeLineDigit && digit != kBrokenLineDigit) return -1;
    if (digit == kWholeLineDigit) lines |= 1 << line;
  }
  return code == 0 ? lines : -1;
}

}  // namespace

int HexagramCode(int number) {
  for (int upper = 0; upper < kTrigramCount; ++upper) {
    for (int lower = 0; lower < kTrigramCount; ++lower) {
      if (kKingWen[upper][lower] == number) return CodeOfLines(upper << kLinesPerTrigram | lower);
    }
  }
  return 0;
}

int HexagramNumber(int code) {
  const int lines = LinesOfCode(code);
  if (lines < 0) return 0;
  constexpr int kTrigramMask = kTrigramCount - 1;
  return kKingWen[lines >> kLinesPerTrigram][lines & kTrigramMask];
}

int HexagramCodeOfLongitude(double longitudeDeg) {
  // Written this way round so that NaN is refused too.
  if (!(longitudeDeg >= 0.0 && longitudeDeg < kFullCircle)) return 0;
  const int arc = std::min(static_cast<int>(longitudeDeg / kArcDeg), kHexagramCount - 1);
  return CodeOfLines(arc);
}

}  // namespace kelvara::workspace
