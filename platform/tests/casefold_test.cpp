#include "platform/casefold.h"

#include <gtest/gtest.h>

namespace kelvara::platform {
namespace {

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
