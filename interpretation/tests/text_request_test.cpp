#include "interpretation/text_request.h"

#include <gtest/gtest.h>

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
}

}  // namespace
}  // namespace kelvara::interpretation
