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

TEST(Paths, DevicePathsMapIntoTheirFoldersAndNeverLeaveThem) {
  const std::string longName(255, 'x');
  const std::pair<std::string, fs::path> cases[] = {
      // The device root is the state folder.
      {"/kelvara_tmp.txt", kFolders.state / "kelvara_tmp.txt"},
      {"\\kelvara_tmp.txt", kFolders.state / "kelvara_tmp.txt"},
      {"\\My Documents\\Карта \"1\" 50%.kvd", kFolders.state / "My Documents" / "Карта \"1\" 50%.kvd"},
      {"\\" + longName, kFolders.state / longName},
      // Font folders, whatever the case.
      {"Windows\\Fonts\\Kelvara.ttf", kFolders.systemFonts / "Kelvara.ttf"},
      {"\\windows\\FONTS\\Arial.ttf", kFolders.systemFonts / "Arial.ttf"},
      {"Storage Card\\Times.ttf", kFolders.storageCard / "Times.ttf"},
      {"\\Storage Card\\Times.ttf", kFolders.storageCard / "Times.ttf"},
      // Relative and host paths stay as they are.
      {"tmp.tmp", "tmp.tmp"},
      {"TXT_ST\\Natal\\List.fls", "TXT_ST/Natal/List.fls"},
      {"/opt/kelvara/data/asp1.", "/opt/kelvara/data/asp1."},
      // ".." never leaves a mapped folder.
      {"\\..\\..\\etc\\passwd", kFolders.state / "etc" / "passwd"},
      {"Windows\\Fonts\\..\\..\\x.ttf", kFolders.systemFonts / "x.ttf"},
      {"Storage Card\\a\\.\\..\\b.ttf", kFolders.storageCard / "b.ttf"},
  };
  for (const auto& [device, host] : cases) EXPECT_EQ(MapDevicePath(device, kFolders), host) << device;
}

}  // namespace
}  // namespace kelvara::platform
