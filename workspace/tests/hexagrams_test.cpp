#include "workspace/hexagrams.h"

#include <cmath>
#include <set>

#include "workspace/chart_record.h"

#include <gtest/gtest.h>

namespace kelvara::workspace {
namespace {

TEST(Hexagrams, KnownFiguresHaveTheirCodes) {
  for (const auto& [number, code] : {std::pair{1, 111111}, {2, 222222}, {3, 212221}, {11, 222111},
                                     {12, 111222}, {63, 212121}, {64, 121212}}) {
    EXPECT_EQ(HexagramCode(number), code) << number;
  }
}

TEST(Hexagrams, EveryNumberHasItsOwnCodeAndComesBackFromIt) {
  std::set<int> codes;
  for (int number = 1; number <= kHexagramCount; ++number) {
    const int code = HexagramCode(number);
    codes.insert(code);
    EXPECT_EQ(HexagramNumber(code), number) << code;
  }
  EXPECT_EQ(codes.size(), std::size_t(kHexagramCount));
  EXPECT_FALSE(codes.count(0));
}

// Six lines as digits, bottom line first, so that figures can be turned and inverted.
std::string LinesOf(int code) {
  std::string lines;
  for (; code > 0; code /= 10) lines += char('0' + code % 10);
  return lines;
}

TEST(Hexagrams, EachEvenFigureIsTheOddOneTurnedOverOrInvertedWhereTurningKeepsIt) {
  for (int odd = 1; odd < kHexagramCount; odd += 2) {
    const std::string first = LinesOf(HexagramCode(odd));
    std::string turned(first.rbegin(), first.rend());
    if (turned == first) {
      for (char& line : turned) line = line == '1' ? '2' : '1';
    }
    EXPECT_EQ(LinesOf(HexagramCode(odd + 1)), turned) << odd;
  }
}

TEST(Hexagrams, WhatIsNoHexagramGivesNothing) {
  for (int number : {0, 65, -1}) EXPECT_EQ(HexagramCode(number), 0) << number;
  for (int code : {0, 123456, 11111, 1111111, 2111111, 111110, -111111}) EXPECT_EQ(HexagramNumber(code), 0) << code;
}

TEST(Hexagrams, ALongitudesArcGivesItsLinesBottomUp) {
  for (const auto& [longitude, code] : {std::pair{0.0, 222222}, {5.624, 222222}, {5.625, 222221},
                                        {11.25, 222212}, {180.0, 122222}, {359.999, 111111}}) {
    EXPECT_EQ(HexagramCodeOfLongitude(longitude), code) << longitude;
  }
  for (double outside : {-0.001, 360.0, std::nan(""), HUGE_VAL}) EXPECT_EQ(HexagramCodeOfLongitude(outside), 0);
}

TEST(Hexagrams, AnObjectKeepsTheCodeOfItsLongitude) {
  ChartObject object;
  object.SetLongitude(95.0);  // arc 16: the fifth line from the bottom whole, water over earth
  EXPECT_EQ(object.hexagramCode, 212222);
  EXPECT_EQ(HexagramNumber(object.hexagramCode), 8);
  object.SetLongitude(kNotAvailable);
  EXPECT_EQ(object.hexagramCode, 0);
  EXPECT_EQ(HexagramNumber(object.hexagramCode), 0);
}

}  // namespace
}  // namespace kelvara::workspace
