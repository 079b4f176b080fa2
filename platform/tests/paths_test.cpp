#include "platform/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "platform/tests/environment_guard.h"

namespace kelvara::platform {
namespace {

namespace fs = std::filesystem;

const DeviceFolders kFolders{"/home/u/.local/state/kelvara", "/opt/kelvara/data/fonts",
                             "/home/u/.local/share/fonts"};

using testing::EnvironmentGuard;

TEST(Paths, ProgramFolderHoldsTheExecutable) {
  EXPECT_TRUE(fs::is_regular_file(ProgramFolder() / "platform_tests")) << ProgramFolder();
  EXPECT_EQ(DataPrefix(), (ProgramFolder() / "data").string() + "/");
}

TEST(Paths, StateAndFontFoldersFollowXdgThenHome) {
  EnvironmentGuard state("XDG_STATE_HOME"), data("XDG_DATA_HOME"), home("HOME");
  setenv("HOME", "/home/тест", 1);
  unsetenv("XDG_STATE_HOME");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(StateFolder(), fs::path("/home/тест/.local/state/kelvara"));
  EXPECT_EQ(UserFontsFolder(), fs::path("/home/тест/.local/share/fonts"));
  setenv("XDG_STATE_HOME", "/var/st", 1);
  setenv("XDG_DATA_HOME", "relative/is/ignored", 1);
  EXPECT_EQ(StateFolder(), fs::path("/var/st/kelvara"));
  EXPECT_EQ(UserFontsFolder(), fs::path("/home/тест/.local/share/fonts"));
}

TEST(Paths, EnterStateFolderCreatesItAndMakesItCurrent) {
  EnvironmentGuard state("XDG_STATE_HOME");
  const fs::path saved = fs::current_path();
  const fs::path base = fs::temp_directory_path() / ("kelvara state \"100%\" " + std::to_string(getpid()));
  setenv("XDG_STATE_HOME", base.c_str(), 1);
  std::error_code error;
  ASSERT_TRUE(EnterStateFolder(error)) << error.message();
  EXPECT_EQ(fs::current_path(), base / "kelvara");
  std::ofstream("tmp.tmp") << "scratch";
  EXPECT_TRUE(fs::exists(base / "kelvara" / "tmp.tmp"));
  fs::current_path(saved);
  fs::remove_all(base);
}

TEST(Paths, DeviceRootMapsToTheStateFolder) {
  EXPECT_EQ(MapDevicePath("/kelvara_tmp.txt", kFolders), kFolders.state / "kelvara_tmp.txt");
  EXPECT_EQ(MapDevicePath("\\kelvara_tmp.txt", kFolders), kFolders.state / "kelvara_tmp.txt");
  EXPECT_EQ(MapDevicePath("\\My Documents\\Карта \"1\" 50%.kvd", kFolders),
            kFolders.state / "My Documents" / "Карта \"1\" 50%.kvd");
}

TEST(Paths, FontFoldersMapWhateverTheCase) {
  EXPECT_EQ(MapDevicePath("Windows\\Fonts\\Kelvara.ttf", kFolders), kFolders.systemFonts / "Kelvara.ttf");
  EXPECT_EQ(MapDevicePath("\\windows\\FONTS\\Arial.ttf", kFolders), kFolders.systemFonts / "Arial.ttf");
  EXPECT_EQ(MapDevicePath("Storage Card\\Times.ttf", kFolders), kFolders.storageCard / "Times.ttf");
  EXPECT_EQ(MapDevicePath("\\Storage Card\\Times.ttf", kFolders), kFolders.storageCard / "Times.ttf");
}

TEST(Paths, RelativeAndHostPathsStayAsTheyAre) {
  EXPECT_EQ(MapDevicePath("tmp.tmp", kFolders), fs::path("tmp.tmp"));
  EXPECT_EQ(MapDevicePath("TXT_ST\\Natal\\List.fls", kFolders), fs::path("TXT_ST/Natal/List.fls"));
  EXPECT_EQ(MapDevicePath("/opt/kelvara/data/asp1.", kFolders), fs::path("/opt/kelvara/data/asp1."));
  const std::string longName(255, 'x');
  EXPECT_EQ(MapDevicePath("\\" + longName, kFolders), kFolders.state / longName);
}

TEST(Paths, DotDotNeverLeavesAMappedFolder) {
  EXPECT_EQ(MapDevicePath("\\..\\..\\etc\\passwd", kFolders), kFolders.state / "etc" / "passwd");
  EXPECT_EQ(MapDevicePath("Windows\\Fonts\\..\\..\\x.ttf", kFolders), kFolders.systemFonts / "x.ttf");
  EXPECT_EQ(MapDevicePath("Storage Card\\a\\.\\..\\b.ttf", kFolders), kFolders.storageCard / "b.ttf");
}

}  // namespace
}  // namespace kelvara::platform
