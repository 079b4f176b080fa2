#include "engine/value_syntax.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace kelvara::engine {
namespace {

// Each text read by one reader against its expected value; doubles within four ULPs.
template <typename T>
void ExpectReads(T (*read)(std::string_view), const std::vector<std::pair<std::string, T>>& cases) {
  for (const auto& [text, expected] : cases) {
    if constexpr (std::is_floating_point_v<T>) {
      EXPECT_DOUBLE_EQ(expected, read(text)) << '"' << text << '"';
    } else {
      EXPECT_EQ(expected, read(text)) << '"' << text << '"';
    }
  }
}

TEST(ValueSyntax, IntegersAreTrimmedAndSaturated) {
  ExpectReads<int>(ReadInteger, {{" \t12\n", 12}, {"-7abc", -7}, {"+5", 5}, {"abc", 0}, {"", 0},
                                 {"+-5", 0}, {"99999999999999999999999", 2147483647}});
  EXPECT_LT(ReadInteger("-99999999999999999999999"), -2000000000);
}

TEST(ValueSyntax, NumberStarts) {
  ExpectReads<double>(ReadNumber, {{".5", 0.5}, {"-.5", -0.5}, {"qa", 0.0}, {".", 0.0},
                                   {"1e-999", 0.0}});
  EXPECT_TRUE(std::isinf(ReadNumber("1e999")));
  EXPECT_TRUE(std::isinf(ReadNumber("-1e999")));
  EXPECT_TRUE(BeginsWithDigit(" 0"));
  EXPECT_FALSE(BeginsWithDigit("-1"));
}

TEST(ValueSyntax, MonthAndHouseSystemWords) {
  // Two letters are too short to be a month.
  ExpectReads<int>(ReadMonth, {{"jan", 1}, {"DECEMBER", 12}, {"7", 7}, {"xyz", 0}, {"ja", 0}});
  // "Equal (MC)": the first name with "Equ" wins; "Placidus" has no word entry and reads as 0.
  ExpectReads<int>(ReadHouseSystem, {{"Koch", 1}, {"kOCH", 1}, {"Equal (MC)", 2}, {"porphyry", 6},
                                     {"Neo-Porphyry", 11}, {"Null", 14}, {"Placidus", 0},
                                     {"15", 15}});
}

TEST(ValueSyntax, YearsBeforeChrist) {
  ExpectReads<int>(ReadYear, {{"44BC", -43}, {"44 b.c.", -43}, {"44bc.", -43}, {"1BC", 0},
                              {"1985", 1985}, {"44CB", 44}, {"-99999999999999BC", 2147483647}});
}

TEST(ValueSyntax, TimesDaylightAndZoneWords) {
  ExpectReads<double>(ReadTime, {{"14:05", 14.05}, {"noon", 12.0}, {"Midnight", 0.0},
                                 {"2:30pm", 14.30}, {"12PM", 12.0}, {"xyz", kNotANumberValue},
                                 {"1e999", kNotANumberValue}});
  EXPECT_NEAR(0.15, ReadTime("12:15AM"), 1e-12);
  ExpectReads<double>(ReadDst, {{"Yes", 1.0}, {"dt", 1.0}, {"ST", 0.0}, {"no", 0.0}, {"0:30", 0.30}});
  ExpectReads<double>(ReadZone, {{"EST", 5.0}, {"est", 5.0}, {"LMT", 24.0}, {"IST", -5.30},
                                 {"NZT", -11.30}, {"HST", 10.30}, {"-3", -3.0},
                                 {"MSK", kNotANumberValue}});
}

TEST(ValueSyntax, LongitudesAndLatitudesWithDirectionLetters) {
  // The first letter is the point, whatever it is, and a letter alone gives whole degrees.
  ExpectReads<double>(ReadLongitude, {{"037E36", -37.36}, {"037e35", -37.35}, {"122W20", 122.20},
                                      {"122:20", 122.20}, {" 37e ", -37.0}, {"x37", 0.37},
                                      {"?37", kNotANumberValue}});
  ExpectReads<double>(ReadLatitude, {{"55N45", 55.45}, {"33S52", -33.52}, {"", kNotANumberValue}});
}

}  // namespace
}  // namespace kelvara::engine
