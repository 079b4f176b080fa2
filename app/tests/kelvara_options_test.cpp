#include "app/kelvara_options.h"

#include <gtest/gtest.h>

#include <map>

#include "app/display_check.h"

namespace kelvara::app {
namespace {

TEST(KelvaraOptions, AScreenshotTakesModeSizeAndDocument) {
  const ParsedOptions parsed =
      ParseKelvaraOptions({"--screenshot", "w.png", "--mode", "chains", "--size", "800x600", "Иван.kvd"});
  ASSERT_TRUE(parsed.value) << parsed.error;
  EXPECT_EQ(parsed.value->screenshotFile, "w.png");
  EXPECT_EQ(parsed.value->mode, DisplayMode::kChains);
  EXPECT_EQ(parsed.value->size, (platform::Size{800, 600}));
  EXPECT_EQ(parsed.value->documentFile, "Иван.kvd");

  Session session;
  ApplyModeOption(*parsed.value, session);
  EXPECT_EQ(session.displayMode, DisplayMode::kChains);
  EXPECT_TRUE(session.settings.viewSoul && !session.settings.viewCircle);
  EXPECT_EQ(session.chainKind, ChainKind::kRulership);
}

TEST(KelvaraOptions, BadArgumentsAreRefusedWithAReason) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--mode"}, {"--screenshot", "a.png", "--mode", "spiral"},
                                             {"--screenshot", "a.png", "--size", "800"},
                                             {"--screenshot", "a.png", "--size", "10x10"},
                                             {"--screenshot", "a.png", "--size", "800x-1"},
                                             {"--mode", "map"}, {"--frobnicate"}, {"a.kvd", "b.kvd"}}) {
    const ParsedOptions parsed = ParseKelvaraOptions(args);
    EXPECT_FALSE(parsed.value) << args.front();
    EXPECT_FALSE(parsed.error.empty());
  }
  EXPECT_TRUE(ParseKelvaraOptions({}).value);
  EXPECT_TRUE(ParseKelvaraOptions({"--help"}).value->help);
}

TEST(DisplayCheck, AnyOfTheThreeVariablesIsADisplay) {
  std::map<std::string, std::string> environment;
  const auto check = [&environment] {
    return MissingDisplayMessage([&environment](const char* name) -> const char* {
      const auto found = environment.find(name);
      return found == environment.end() ? nullptr : found->second.c_str();
    });
  };
  EXPECT_EQ(check(), std::string(kNoDisplayMessage));
  environment["DISPLAY"] = "";
  EXPECT_TRUE(check()) << "an empty variable names no display";
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    environment.clear();
    environment[name] = "x";
    EXPECT_FALSE(check()) << name;
  }
}

}  // namespace
}  // namespace kelvara::app
