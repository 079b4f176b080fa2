#include "platform/codepage.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "platform/casefold.h"

namespace kelvara::platform {
namespace {

// The C library's own converter, used only as an independent reference.
std::string IconvToUtf8(const std::string& cp1251) {
  iconv_t cd = iconv_open("UTF-8", "CP1251");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string in = cp1251;
  std::string out(in.size() * 4, '\0');
  char* in_ptr = in.data();
  char* out_ptr = out.data();
  std::size_t in_left = in.size();
  std::size_t out_left = out.size();
  const std::size_t rc = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) return {};
  out.resize(out.size() - out_left);
  return out;
}

TEST(Codepage, EveryAssignedByteMatchesTheSystemConverter) {
  for (int byte = 1; byte < 256; ++byte) {
    if (byte == 0x98) continue;  // unassigned in Windows-1251
    const std::string one(1, char(byte));
    const std::string expected = IconvToUtf8(one);
    ASSERT_FALSE(expected.empty()) << "byte " << byte;
    EXPECT_EQ(Cp1251ToUtf8(one), expected) << "byte " << byte;
    EXPECT_EQ(Utf8ToCp1251(expected), one) << "byte " << byte;
  }
}

TEST(Codepage, RussianTextAndDegreeSignRoundTrip) {
  const std::string utf8 = "Ёлка ёж 30° Овен — «Ов»";
  const std::string cp = Utf8ToCp1251(utf8);
  EXPECT_EQ(cp.size(), 23u);
  EXPECT_EQ(static_cast<unsigned char>(cp[0]), 0xA8);   // Ё
  EXPECT_EQ(static_cast<unsigned char>(cp[10]), 0xB0);  // °
  EXPECT_EQ(Cp1251ToUtf8(cp), utf8);
  EXPECT_EQ(Utf16ToUtf8(Cp1251ToUtf16(cp)), utf8);
  EXPECT_EQ(Utf16ToCp1251(Utf8ToUtf16(utf8)), cp);
}

TEST(Codepage, UnmappableCharactersBecomeReplacements) {
  EXPECT_EQ(Utf8ToCp1251("a\xE2\x82\xB9z"), "a?z");  // rupee sign
  EXPECT_EQ(Utf8ToCp1251("\xF0\x9F\x98\x80"), "?");   // outside the BMP
}

TEST(Codepage, MalformedInputDecodesWithoutFailing) {
  EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD");               // truncated sequence
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");     // overlong form
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(Codepage, LittleEndianBytes) {
  const std::u16string text = u"Я1";
  const std::string bytes = Utf16ToLeBytes(text);
  ASSERT_EQ(bytes, std::string("\x2F\x04\x31\x00", 4));
  EXPECT_EQ(LeBytesToUtf16(bytes), text);
  EXPECT_EQ(LeBytesToUtf16(bytes + "\x41"), text);  // odd trailing byte dropped
}

TEST(CaseFold, LatinLettersFoldToUpperCase) {
  EXPECT_EQ(FoldToUpper(u"Software\\kelvara_1"), u"SOFTWARE\\KELVARA_1");
  EXPECT_EQ(FoldToUpper(u"éàÿ"), u"ÉÀŸ");
  EXPECT_EQ(FoldToUpper(u"āĺžŋ"), u"ĀĹŽŊ");
}

TEST(CaseFold, CyrillicLettersFoldToUpperCase) {
  EXPECT_EQ(FoldToUpper(u"настройки ёжик"), u"НАСТРОЙКИ ЁЖИК");
  EXPECT_EQ(FoldToUpper(u"ђїў"), u"ЂЇЎ");
  EXPECT_EQ(FoldToUpper(u"ѣґӂӏ"), u"ѢҐӁӀ");
}

TEST(CaseFold, OtherCharactersStayAsTheyAre) {
  EXPECT_EQ(FoldToUpper(u"ß÷µ0-9 %\"'"), u"ß÷µ0-9 %\"'");
  EXPECT_EQ(FoldToUpper(u"αω€"), u"αω€");
  EXPECT_EQ(FoldUnitToUpper(0x0131), 0x0131);  // dotless i has no plain upper case
}

}  // namespace
}  // namespace kelvara::platform
