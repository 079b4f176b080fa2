#include "interpretation/text_request.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace kelvara::interpretation {
namespace {

TEST(TextRequest, ADegreeIsAskedByItsOrdinalAndTheSignInTheGenitive) {
  EXPECT_EQ(DegreeRequest(30, 1), "30-й градус Овна");
  EXPECT_EQ(DegreeRequest(1, 1), "1-й градус Овна");
  EXPECT_EQ(DegreeRequest(12, 12), "12-й градус Рыб");
  EXPECT_EQ(DegreeRequest(7, 0), "7-й градус ") << "a point without a sign";
  EXPECT_EQ(DegreeRequest(0, 3), "") << "degree 0 asks nothing";
  const char* genitives[] = {"Овна", "Тельца", "Близнецов", "Рака", "Льва", "Девы",
                             "Весов", "Скорпиона", "Стрельца", "Козерога", "Водолея", "Рыб"};
  for (int sign = 1; sign <= 12; ++sign) EXPECT_EQ(SignGenitive(sign), genitives[sign - 1]);
  EXPECT_EQ(SignGenitive(13), "");
}

TEST(TextRequest, AHexagramCellIsAskedByItsTextUnlessItNamesNone) {
  EXPECT_EQ(IChingCellRequest("17"), "17 И-Цзин");
  for (const char* none : {"", "0", "—"}) EXPECT_EQ(IChingCellRequest(none), "") << none;
  EXPECT_EQ(HexagramRequest(5, false), "5 И-Цзин");
  EXPECT_EQ(HexagramRequest(64, true), "64 И-Цзин short");
}

TEST(TextRequest, ALunarDayIsAskedByTheDayBeforeTheRowsFirstBlank) {
  EXPECT_EQ(LunarDayRequest("12-й день луны|10.01.2024 05:12"), "12-й лунный день");
  EXPECT_EQ(LunarDayRequest("05-й день луны|…"), "5-й лунный день");
  EXPECT_EQ(LunarDayRequest("30-й день луны"), "30-й лунный день");
  EXPECT_EQ(LunarDayRequest("Новолуние 10.01.2024"), "") << "no lunar day in the row";
  EXPECT_EQ(LunarDayRequest("й день луны"), "") << "the marker must not open the row";
  EXPECT_EQ(LunarDayRequest(" 1-й день луны"), "") << "a blank first";
  EXPECT_EQ(LunarDayRequest("0123456789abcdef день луны й день луны"), "") << "the blank past 14";
}

TEST(TextRequest, TheFirstMarkerFoundNamesTheKindAndIChingKeysLoseTheirs) {
  const auto expect = [](std::string_view request, RequestKind kind, std::string_view key) {
    const RecognisedRequest got = RecogniseRequest(request);
    EXPECT_EQ(got.kind, kind) << request;
    EXPECT_EQ(got.key, key) << request;
  };
  expect("", RequestKind::kChart, "");
  expect("12-й лунный день", RequestKind::kLunarDay, "12-й лунный день");
  expect("30-й градус Овна", RequestKind::kDegree, "30-й градус Овна");
  expect("17 И-Цзин short", RequestKind::kIChingShort, "17");
  expect("17 И-Цзин", RequestKind::kIChing, "17");
  expect("1-й градус лунный день", RequestKind::kLunarDay, "1-й градус лунный день");
}

TEST(TextRequest, TheShortTextIsTheEqualKeysEntryLessItsFirstLine) {
  const auto cp = [](std::string_view utf8) { return platform::Utf8ToCp1251(utf8); };
  const std::vector<TextEntry> entries = {
      {"10", cp("Десятый\r\nтекст десятого\r\n")},
      {"1", cp("Первый\r\nтекст первого\r\nдальше\r\n")},
      {"2", cp("<вставьте текст интерпретации вместо данной строки>\r\nзаглушка\r\n")},
  };
  EXPECT_EQ(ShortHexagramText(entries, "1"), cp("текст первого\r\nдальше\r\n")) << "not the 10th, though it holds a 1";
  EXPECT_EQ(ShortHexagramText(entries, "2"), "") << "a placeholder";
  EXPECT_EQ(ShortHexagramText(entries, "3"), "");
}

}  // namespace
}  // namespace kelvara::interpretation
