// The environment CTest gives every case arrives whole: the zone and locale the tests rely
// on come with the display setting that is listed first.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

namespace {

std::string_view Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

TEST(TestEnvironment, EveryVariableArrivesWithTheFirst) {
  if (Variable("QT_QPA_PLATFORM") != "offscreen") GTEST_SKIP() << "not run by CTest";
  EXPECT_EQ("UTC", Variable("TZ"));
  EXPECT_EQ("C.UTF-8", Variable("LC_ALL"));
}

}  // namespace
