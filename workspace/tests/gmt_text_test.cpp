#include "workspace/gmt_text.h"

#include <gtest/gtest.h>

namespace kelvara::workspace {
namespace {

TEST(GmtText, HoursAndMinutesBothWays) {
  const std::pair<const char*, double> pairs[] = {
      {"+05:30", 5.5}, {"+05:45", 5.75}, {"-03:30", -3.5}, {"+00:00", 0.0}, {"+13:00", 13.0}, {"-09:30", -9.5}};
  for (const auto& [text, hours] : pairs) {
    EXPECT_EQ(FormatGmtOffset(hours), text);
    EXPECT_EQ(ParseGmtOffset(text), hours) << text;
  }
  EXPECT_EQ(FormatGmtOffset(-0.0001), "+00:00");
  EXPECT_EQ(FormatGmtOffset(2.507704), "+02:30");
}

TEST(GmtText, ReadsLooseFormsAndRefusesOthers) {
  EXPECT_EQ(ParseGmtOffset(" 3 "), 3.0);
  EXPECT_EQ(ParseGmtOffset("-4"), -4.0);
  EXPECT_EQ(ParseGmtOffset("5:5"), 5.0 + 5.0 / 60);
  for (const char* bad : {"", "+", "5.5", "+05:60", "05:", ":30", "abc", "+5:30x", "+123:00", "--5"}) {
    EXPECT_FALSE(ParseGmtOffset(bad)) << bad;
  }
}

}  // namespace
}  // namespace kelvara::workspace
