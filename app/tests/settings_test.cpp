#include "app/settings.h"

#include <gtest/gtest.h>

#include "platform/tests/scratch_dir.h"

namespace kelvara::app {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  platform::test_support::ScratchDir dir_;
  platform::Registry registry_{dir_ / "registry.db"};
  platform::Profile profile_{registry_};
};

TEST_F(SettingsTest, AnEmptyStoreGivesTheDefaults) {
  const Settings settings = LoadSettings(profile_);
  EXPECT_EQ(settings, Settings{});
  EXPECT_TRUE(settings.viewCircle && settings.west && settings.clock && settings.applyingShown &&
              settings.separatingShown);
  EXPECT_FALSE(settings.avesta || settings.now || settings.doubleChart || settings.iChing);
}

TEST_F(SettingsTest, EveryKeyIsReadByItsStoredName) {
  const std::string_view flags[] = {"b_ViewTransit", "b_ViewSoul", "b_Avesta",  "b_fromAri",
                                    "b_Now",         "b_Duble",    "b_COLORED", "b_STEP",
                                    "b_GrPlShow",    "b_AspPlShow", "b_Sort",   "b_IChing"};
  for (std::string_view flag : flags) ASSERT_TRUE(profile_.WriteInt(kSettingsSection, flag, 1));
  for (std::string_view flag : {"b_ViewCircle", "b_West", "b_Clock", "b_SHOD", "b_NSHOD"}) {
    ASSERT_TRUE(profile_.WriteInt(kSettingsSection, flag, 0));
  }
  profile_.WriteInt(kSettingsSection, "SysHouse", 21);
  profile_.WriteString(kSettingsSection, "sLastNowPlace", "Москва");
  profile_.WriteString(kSettingsSection, "Man.FName", "/home/астролог/Иван.kvd");
  profile_.WriteString(kSettingsSection, "Man2.FName", "/home/астролог/Мария.kvd");

  const Settings s = LoadSettings(profile_);
  EXPECT_TRUE(s.viewTransit && s.viewSoul && s.avesta && s.fromAries && s.now && s.doubleChart &&
              s.coloredEventMap && s.stepShift && s.degreesShown && s.tapShowsAspects &&
              s.sortAlongZodiac && s.iChing);
  EXPECT_FALSE(s.viewCircle || s.west || s.clock || s.applyingShown || s.separatingShown);
  EXPECT_EQ(s.houseSystem, 21);
  EXPECT_EQ(s.lastNowPlace, "Москва");
  EXPECT_EQ(s.mainDocument, "/home/астролог/Иван.kvd");
  EXPECT_EQ(s.secondDocument, "/home/астролог/Мария.kvd");
}

TEST_F(SettingsTest, SavedSettingsComeBackFromTheStoreAsBooleanIntegers) {
  Settings saved;
  saved.viewCircle = false;
  saved.viewTransit = true;
  saved.avesta = true;
  saved.west = false;
  saved.houseSystem = -1;
  saved.doubleChart = true;
  saved.lastNowPlace = "Санкт-Петербург";
  saved.mainDocument = "/tmp/a.kvd";
  saved.clock = false;
  saved.iChing = true;
  ASSERT_TRUE(SaveSettings(profile_, saved));

  platform::Profile reopened{registry_};
  EXPECT_EQ(LoadSettings(reopened), saved);
  EXPECT_EQ(reopened.GetInt(kSettingsSection, "b_Duble", -5), 1);
  EXPECT_EQ(reopened.GetInt(kSettingsSection, "b_Clock", -5), 0);
  EXPECT_EQ(reopened.GetString(kSettingsSection, "Man2.FName", "x"), "");
}

TEST_F(SettingsTest, AnyNonZeroStoredFlagCountsAsOn) {
  profile_.WriteInt(kSettingsSection, "b_IChing", 7);
  profile_.WriteInt(kSettingsSection, "b_SHOD", 0);
  const Settings s = LoadSettings(profile_);
  EXPECT_TRUE(s.iChing);
  EXPECT_FALSE(s.applyingShown);
}

TEST_F(SettingsTest, AnUnknownStoredHouseSystemFallsBackToPlacidus) {
  for (const auto& [stored, loaded] : {std::pair{3, 0}, {999, 0}, {-1, -1}, {14, 14}}) {
    profile_.WriteInt(kSettingsSection, "SysHouse", stored);
    EXPECT_EQ(LoadSettings(profile_).houseSystem, loaded) << stored;
  }
}

TEST(SettingsRules, ExactlyOneTraditionWithTheAvestanOneWhenUndecided) {
  const struct {
    bool avesta, west, wantAvesta;
  } cases[] = {{false, false, true}, {true, true, true}, {false, true, false}, {true, false, true}};
  for (const auto& c : cases) {
    Settings s;
    s.avesta = c.avesta;
    s.west = c.west;
    NormaliseTraditions(s);
    EXPECT_EQ(s.avesta, c.wantAvesta) << c.avesta << c.west;
    EXPECT_NE(s.avesta, s.west);
  }
}

TEST(SettingsRules, StartDisplayModeAndTheViewFlagsThatGoWithIt) {
  const struct {
    bool circle, transit, soul;
    DisplayMode mode;
  } cases[] = {{false, false, true, DisplayMode::kWheel},
               {false, true, false, DisplayMode::kEventMap},
               {true, true, true, DisplayMode::kWheel},
               {false, true, true, DisplayMode::kEventMap},
               {false, false, false, DisplayMode::kWheel}};
  for (const auto& c : cases) {
    Settings s;
    s.viewCircle = c.circle;
    s.viewTransit = c.transit;
    s.viewSoul = c.soul;
    EXPECT_EQ(ChooseStartDisplayMode(s), c.mode);
    EXPECT_EQ(s.viewCircle, c.mode == DisplayMode::kWheel);
    EXPECT_EQ(s.viewTransit, c.mode == DisplayMode::kEventMap);
    EXPECT_FALSE(s.viewSoul);
  }
}

}  // namespace
}  // namespace kelvara::app
