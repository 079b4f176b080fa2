#include "registry/value_format.h"

#include <gtest/gtest.h>

namespace kelvara::vornal {
namespace {

using namespace platform;

std::string Label(std::string name, RegType type, std::string data) {
  return ValueLabel({std::move(name), type, std::move(data)});
}

TEST(ValueLabel, FollowsTheFormatOfEachType) {
  EXPECT_EQ(Label("n", REG_NONE, ""), "n \\ REG_NONE");
  EXPECT_EQ(Label("Город", REG_SZ, RegSzData("Москва")), "Город \\ Москва");
  EXPECT_EQ(Label("n", REG_EXPAND_SZ, RegSzData("%x%")), "n \\ REG_EXPAND_SZ");
  EXPECT_EQ(Label("n", REG_BINARY, "\x01"), "n \\ REG_BINARY");
  EXPECT_EQ(Label("SysHouse", REG_DWORD, RegDwordData(255)), "SysHouse \\ 255 (0xFF)");
  EXPECT_EQ(Label("n", REG_DWORD, RegDwordData(0xFFFFFFFF)), "n \\ 4294967295 (0xFFFFFFFF)");
  EXPECT_EQ(Label("n", REG_LINK, ""), "n \\ REG_LINK");
  EXPECT_EQ(Label("n", REG_MULTI_SZ, ""), "n \\ REG_MULTI_SZ");
  EXPECT_EQ(Label("n", REG_RESOURCE_LIST, ""), "n \\ REG_RESOURCE_LIST");
  EXPECT_EQ(Label("n", REG_DWORD_BIG_ENDIAN, "1234"), "n \\ default");
  EXPECT_EQ(Label("", 0x7FFF, ""), " \\ default");
}

TEST(ValueLabel, DamagedDataIsShownWithoutReadingPastIt) {
  EXPECT_EQ(Label("odd", REG_SZ, std::string("a\0b\0c", 5)), "odd \\ ab");
  EXPECT_EQ(Label("unterminated", REG_SZ, std::string("a\0b\0", 4)), "unterminated \\ ab");
  EXPECT_EQ(Label("empty", REG_SZ, ""), "empty \\ ");
  EXPECT_EQ(Label("short", REG_DWORD, "\x01\x02"), "short \\ REG_DWORD (invalid data)");
  EXPECT_EQ(Label("long", REG_DWORD, "12345"), "long \\ REG_DWORD (invalid data)");
  EXPECT_EQ(Label("a\\b", REG_SZ, RegSzData("c\\d")), "a\\b \\ c\\d");
}

TEST(TypeName, NamesKnownTypesAndMarksTheRest) {
  EXPECT_EQ(TypeName(REG_SZ), "REG_SZ");
  EXPECT_EQ(TypeName(REG_DWORD), "REG_DWORD");
  EXPECT_EQ(TypeName(REG_RESOURCE_LIST), "REG_RESOURCE_LIST");
  EXPECT_EQ(TypeName(REG_DWORD_BIG_ENDIAN), "REG_???");
  EXPECT_EQ(TypeName(9), "REG_???");
}

TEST(ParseDword, AcceptsOnlyUnsigned32BitDecimals) {
  EXPECT_EQ(ParseDword("0"), 0u);
  EXPECT_EQ(ParseDword("4294967295"), 4294967295u);
  EXPECT_EQ(ParseDword("007"), 7u);
  for (const char* bad : {"", "4294967296", "-1", "+1", " 1", "1 ", "0x10", "12a", "١"}) {
    EXPECT_FALSE(ParseDword(bad).has_value()) << bad;
  }
}

TEST(NewStringData, CutsTo129CharactersInA260ByteBuffer) {
  const std::string data = NewStringData(std::string(200, 'x'));
  ASSERT_EQ(data.size(), kBufferLength);
  EXPECT_EQ(StringDataText(data), std::string(129, 'x'));
  EXPECT_EQ(data.substr(258), std::string(2, '\0'));

  std::string cyrillic;
  for (int i = 0; i < 130; ++i) cyrillic += "я";
  EXPECT_EQ(StringDataText(NewStringData(cyrillic)), cyrillic.substr(0, 129 * 2));
  EXPECT_EQ(NewStringData("ab"), RegSzData("ab") + std::string(254, '\0'));

  std::string emoji(128, 'e');
  emoji += "😀";  // a surrogate pair across the cut is dropped whole
  EXPECT_EQ(StringDataText(NewStringData(emoji)), std::string(128, 'e'));
}

}  // namespace
}  // namespace kelvara::vornal
