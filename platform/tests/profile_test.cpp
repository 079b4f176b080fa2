#include "platform/profile.h"

#include <gtest/gtest.h>

#include "platform/tests/scratch_dir.h"

namespace kelvara::platform {
namespace {

class ProfileTest : public ::testing::Test {
 protected:
  test_support::ScratchDir dir_;
  Registry registry_{dir_ / "registry.db"};
  Profile profile_{registry_};
};

TEST_F(ProfileTest, EntriesAreKeptUnderTheApplicationKeyWithRegistryTypes) {
  ASSERT_TRUE(profile_.WriteInt("Settings", "SysHouse", -3));
  ASSERT_TRUE(profile_.WriteString("Settings", "Man.FName", "/home/астролог/\"Иван\" 100%.kvd"));
  EXPECT_EQ(profile_.GetInt("Settings", "SysHouse", 0), -3);
  EXPECT_EQ(profile_.GetString("Settings", "Man.FName", ""), "/home/астролог/\"Иван\" 100%.kvd");

  ScopedRegKey key(registry_);
  ASSERT_EQ(registry_.OpenKey(HKEY_CURRENT_USER, "Software\\Kelvara\\Kelvara\\Settings", key.Out()),
            RegStatus::Success);
  RegType type = REG_NONE;
  std::string data;
  ASSERT_EQ(registry_.QueryValue(key.Get(), "SysHouse", &type, &data), RegStatus::Success);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(data, RegDwordData(0xFFFFFFFD));
  ASSERT_EQ(registry_.QueryValue(key.Get(), "Man.FName", &type, &data), RegStatus::Success);
  EXPECT_EQ(type, REG_SZ);
}

TEST_F(ProfileTest, MissingEntriesAndThoseOfTheWrongTypeOrShapeGiveTheDefault) {
  EXPECT_EQ(profile_.GetInt("Settings", "b_ViewCircle", 1), 1);
  EXPECT_EQ(profile_.GetString("Settings", "sLastNowPlace", "Москва"), "Москва");
  ScopedRegKey key(registry_);
  ASSERT_EQ(
      registry_.CreateKey(HKEY_CURRENT_USER, "Software\\Kelvara\\Kelvara\\Settings", key.Out()),
      RegStatus::Success);
  registry_.SetValue(key.Get(), "AsString", REG_SZ, RegSzData("12"));
  registry_.SetValue(key.Get(), "ShortDword", REG_DWORD, "\x01\x02");
  registry_.SetValue(key.Get(), "OddString", REG_SZ, "abc");
  registry_.SetValue(key.Get(), "AsBinary", REG_BINARY, RegSzData("text"));
  EXPECT_EQ(profile_.GetInt("Settings", "AsString", 5), 5);
  EXPECT_EQ(profile_.GetInt("Settings", "ShortDword", 5), 5);
  EXPECT_EQ(profile_.GetString("Settings", "OddString", "d"), "d");
  EXPECT_EQ(profile_.GetString("Settings", "AsBinary", "d"), "d");
}

TEST_F(ProfileTest, AnUnavailableStoreGivesDefaultsAndRefusesWrites) {
  Registry broken(dir_ / "registry.db" / "not-a-folder" / "x.db");
  Profile profile(broken);
  EXPECT_FALSE(profile.WriteInt("Settings", "b_Now", 1));
  EXPECT_EQ(profile.GetInt("Settings", "b_Now", 0), 0);
}

TEST_F(ProfileTest, RecentFilesKeepTenMostRecentFirstWithoutDuplicates) {
  RecentFileList list;
  for (int i = 1; i <= 12; ++i) list.Add("/charts/" + std::to_string(i) + ".kvd");
  list.Add("/charts/5.kvd");
  ASSERT_EQ(list.Files().size(), kRecentFileCount);
  EXPECT_EQ(list.Files()[0], "/charts/5.kvd");
  EXPECT_EQ(list.Files()[1], "/charts/12.kvd");
  EXPECT_EQ(list.Files()[9], "/charts/3.kvd");  // 2 and 1 dropped off the end
  list.Remove(0);
  list.Remove(100);
  EXPECT_EQ(list.Files()[0], "/charts/12.kvd");
  EXPECT_EQ(list.Files().size(), 9u);
}

TEST_F(ProfileTest, RecentFilesRoundTripThroughTheProfile) {
  RecentFileList list;
  for (int i = 1; i <= 10; ++i) list.Add("/карты/" + std::to_string(i) + ".kvd");
  ASSERT_TRUE(list.Save(profile_));
  EXPECT_EQ(profile_.GetString(kRecentFileSection, "File1", ""), "/карты/10.kvd");
  EXPECT_EQ(profile_.GetString(kRecentFileSection, "File10", ""), "/карты/1.kvd");

  RecentFileList shorter;
  shorter.Add("/a.kvd");
  shorter.Add("/b.kvd");
  ASSERT_TRUE(shorter.Save(profile_));
  RecentFileList loaded;
  loaded.Load(profile_);
  EXPECT_EQ(loaded.Files(), (std::vector<std::string>{"/b.kvd", "/a.kvd"}));
  EXPECT_EQ(profile_.GetString(kRecentFileSection, "File3", "gone"), "gone");
}

}  // namespace
}  // namespace kelvara::platform
