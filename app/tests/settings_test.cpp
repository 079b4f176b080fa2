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

TEST_F(SettingsTest, EveryKeyIsReadByItsStoredNameAndAnyNonZeroFlagIsOn) {
  for (std::string_view flag : {"b_ViewTransit", "b_ViewSoul", "b_Avesta", "b_fromAri", "b_Now", "b_Duble",
                                "b_COLORED", "b_STEP", "b_GrPlShow", "b_AspPlShow", "b_Sort"}) {
    ASSERT_TRUE(profile_.WriteInt(kSettingsSection, flag, 1));
  }
  profile_.WriteInt(kSettingsSection, "b_IChing", 7);
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

TEST_F(SettingsTest, SavedSettingsComeBackFromTheStore) {
  EXPECT_EQ(LoadSettings(profile_), Settings{});
  Settings saved;
  saved.viewCircle = false;
  saved.avesta = true;
  saved.houseSystem = -1;
  saved.doubleChart = true;
  saved.lastNowPlace = "Санкт-Петербург";
  saved.clock = false;
  saved.iChingFolder = "IChing/Классика";
  ASSERT_TRUE(SaveSettings(profile_, saved));
  EXPECT_EQ(LoadSettings(platform::Profile{registry_}), saved);
  EXPECT_EQ(profile_.GetInt(kSettingsSection, "b_Duble", -5), 1);
  EXPECT_EQ(profile_.GetString(kSettingsSection, "DirIDz", ""), "IChing/Классика");
}

TEST_F(SettingsTest, ThePositionTablesSortComesBackUnderItsKey) {
  EXPECT_EQ(LoadSettings(profile_).positionSort, 0);
  Settings saved;
  saved.positionSort = -8;
  ASSERT_TRUE(SaveSettings(profile_, saved));
  EXPECT_EQ(profile_.GetInt(kSettingsSection, "m_TYPE_SORT", 0), -8);
  EXPECT_EQ(LoadSettings(platform::Profile{registry_}).positionSort, -8);
}

TEST_F(SettingsTest, AnUnknownStoredHouseSystemFallsBackToPlacidus) {
  for (const auto& [stored, loaded] : {std::pair{3, 0}, {999, 0}, {-1, -1}, {14, 14}}) {
    profile_.WriteInt(kSettingsSection, "SysHouse", stored);
    EXPECT_EQ(LoadSettings(profile_).houseSystem, loaded) << stored;
  }
}

TEST(SettingsRules, ExactlyOneTraditionWithTheAvestanOneWhenUndecided) {
  for (const auto& [avesta, west, wantAvesta] :
       {std::tuple{false, false, true}, {true, true, true}, {false, true, false}, {true, false, true}}) {
    Settings s;
    s.avesta = avesta;
    s.west = west;
    NormaliseTraditions(s);
    EXPECT_EQ(s.avesta, wantAvesta) << avesta << west;
    EXPECT_NE(s.avesta, s.west);
  }
}

TEST(SettingsRules, TheWheelWinsAndAStoredChainsModeStartsOnTheWheel) {
  for (const auto& [circle, transit, soul, mode] :
       {std::tuple{false, false, true, DisplayMode::kWheel}, {false, true, true, DisplayMode::kEventMap},
        {true, true, false, DisplayMode::kWheel}, {false, false, false, DisplayMode::kWheel}}) {
    Settings s;
    s.viewCircle = circle;
    s.viewTransit = transit;
    s.viewSoul = soul;
    EXPECT_EQ(ChooseStartDisplayMode(s), mode);
    EXPECT_EQ(s.viewCircle, mode == DisplayMode::kWheel);
    EXPECT_EQ(s.viewTransit, mode == DisplayMode::kEventMap);
    EXPECT_FALSE(s.viewSoul);
  }
}

}  // namespace
}  // namespace kelvara::app
