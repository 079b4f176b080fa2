#include "engine/value_syntax.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace kelvara::engine {
namespace {

TEST(ValueSyntax, IntegersAreTrimmedAndSaturated) {
  EXPECT_EQ(12, ReadInteger(" \t12\n"));
  EXPECT_EQ(-7, ReadInteger("-7abc"));
  EXPECT_EQ(5, ReadInteger("+5"));
  EXPECT_EQ(0, ReadInteger("abc"));
  EXPECT_EQ(0, ReadInteger(""));
  EXPECT_EQ(0, ReadInteger("+-5"));
  EXPECT_EQ(2147483647, ReadInteger("99999999999999999999999"));
  EXPECT_LT(ReadInteger("-99999999999999999999999"), -2000000000);
}

TEST(ValueSyntax, NumberStarts) {
  EXPECT_DOUBLE_EQ(0.5, ReadNumber(".5"));
  EXPECT_DOUBLE_EQ(-0.5, ReadNumber("-.5"));
  EXPECT_DOUBLE_EQ(0.0, ReadNumber("qa"));
  EXPECT_DOUBLE_EQ(0.0, ReadNumber("."));
  EXPECT_TRUE(std::isinf(ReadNumber("1e999")));
  EXPECT_TRUE(std::isinf(ReadNumber("-1e999")));
  EXPECT_DOUBLE_EQ(0.0, ReadNumber("1e-999"));
  EXPECT_TRUE(BeginsWithDigit(" 0"));
  EXPECT_FALSE(BeginsWithDigit("-1"));
}

TEST(ValueSyntax, MonthAndHouseSystemWords) {
  EXPECT_EQ(1, ReadMonth("jan"));
  EXPECT_EQ(12, ReadMonth("DECEMBER"));
  EXPECT_EQ(7, ReadMonth("7"));
  EXPECT_EQ(0, ReadMonth("xyz"));
  EXPECT_EQ(0, ReadMonth("ja"));  // two letters are too short to be a word
  EXPECT_EQ(1, ReadHouseSystem("Koch"));
  EXPECT_EQ(1, ReadHouseSystem("kOCH"));
  EXPECT_EQ(2, ReadHouseSystem("Equal (MC)"));  // the first name with "Equ" wins
  EXPECT_EQ(6, ReadHouseSystem("porphyry"));
  EXPECT_EQ(11, ReadHouseSystem("Neo-Porphyry"));
  EXPECT_EQ(14, ReadHouseSystem("Null"));
  EXPECT_EQ(0, ReadHouseSystem("Placidus"));  // no word entry, reads as the number 0
  EXPECT_EQ(15, ReadHouseSystem("15"));
}

TEST(ValueSyntax, YearsBeforeChrist) {
  EXPECT_EQ(-43, ReadYear("44BC"));
  EXPECT_EQ(-43, ReadYear("44 b.c."));
  EXPECT_EQ(-43, ReadYear("44bc."));
  EXPECT_EQ(0, ReadYear("1BC"));
  EXPECT_EQ(1985, ReadYear("1985"));
  EXPECT_EQ(44, ReadYear("44CB"));
  EXPECT_EQ(2147483647, ReadYear("-99999999999999BC"));
}

TEST(ValueSyntax, TimesWithWordsAndHalfDays) {
  EXPECT_DOUBLE_EQ(14.05, ReadTime("14:05"));
  EXPECT_DOUBLE_EQ(12.0, ReadTime("noon"));
  EXPECT_DOUBLE_EQ(0.0, ReadTime("Midnight"));
  EXPECT_DOUBLE_EQ(14.30, ReadTime("2:30pm"));
  EXPECT_NEAR(0.15, ReadTime("12:15AM"), 1e-12);
  EXPECT_DOUBLE_EQ(12.0, ReadTime("12PM"));
  EXPECT_DOUBLE_EQ(kNotANumberValue, ReadTime("xyz"));
  EXPECT_DOUBLE_EQ(kNotANumberValue, ReadTime("1e999"));
}

TEST(ValueSyntax, DaylightWords) {
  EXPECT_DOUBLE_EQ(1.0, ReadDst("Yes"));
  EXPECT_DOUBLE_EQ(1.0, ReadDst("dt"));
  EXPECT_DOUBLE_EQ(0.0, ReadDst("ST"));
  EXPECT_DOUBLE_EQ(0.0, ReadDst("no"));
  EXPECT_DOUBLE_EQ(0.30, ReadDst("0:30"));
}

TEST(ValueSyntax, ZoneAbbreviations) {
  EXPECT_DOUBLE_EQ(5.0, ReadZone("EST"));
  EXPECT_DOUBLE_EQ(5.0, ReadZone("est"));
  EXPECT_DOUBLE_EQ(24.0, ReadZone("LMT"));
  EXPECT_DOUBLE_EQ(-5.30, ReadZone("IST"));
  EXPECT_DOUBLE_EQ(-11.30, ReadZone("NZT"));
  EXPECT_DOUBLE_EQ(10.30, ReadZone("HST"));
  EXPECT_DOUBLE_EQ(-3.0, ReadZone("-3"));
  EXPECT_DOUBLE_EQ(kNotANumberValue, ReadZone("MSK"));
}

TEST(ValueSyntax, LongitudesAndLatitudesWithDirectionLetters) {
  EXPECT_DOUBLE_EQ(-37.36, ReadLongitude("037E36"));
  EXPECT_DOUBLE_EQ(-37.35, ReadLongitude("037e35"));
  EXPECT_DOUBLE_EQ(122.20, ReadLongitude("122W20"));
  EXPECT_DOUBLE_EQ(122.20, ReadLongitude("122:20"));
  EXPECT_DOUBLE_EQ(55.45, ReadLatitude("55N45"));
  EXPECT_DOUBLE_EQ(-33.52, ReadLatitude("33S52"));
  EXPECT_DOUBLE_EQ(-37.0, ReadLongitude(" 37e "));
  EXPECT_DOUBLE_EQ(0.37, ReadLongitude("x37"));  // the first letter is the point
  EXPECT_DOUBLE_EQ(kNotANumberValue, ReadLongitude("?37"));
  EXPECT_DOUBLE_EQ(kNotANumberValue, ReadLatitude(""));
}

}  // namespace
}  // namespace kelvara::engine
