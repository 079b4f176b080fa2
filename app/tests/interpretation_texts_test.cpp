#include "app/interpretation_texts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "platform/codepage.h"
#include "platform/file_io.h"
#include "platform/tests/scratch_dir.h"

namespace kelvara::app {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, std::string_view utf8) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << platform::Utf8ToCp1251(utf8);
}

// A natal chart over a scratch program library; the user's library lies in the scratch too.
TEST(InterpretationTexts, SectionsAreOfferedWhereALibraryLiesAndTheChosenOneIsWritten) {
  platform::test_support::ScratchDir dir;
  setenv("XDG_DATA_HOME", (dir / "user").c_str(), 1);
  Session session;
  session.textFolder = (dir / "TXT_ST/").string();
  session.charts.main.name = "Иван";
  EXPECT_FALSE(InterpretationListsTexts(session));
  Write(dir / "user/kelvara/TXT_ST/NT/s/Name.thm", " Основы \r\n");
  Write(dir / "user/kelvara/TXT_ST/NT/s/List.fls", "PL_ZS.TXT; ON\r\n");
  Write(dir / "user/kelvara/TXT_ST/NT/s/PL_ZS.TXT", "");
  EXPECT_TRUE(InterpretationListsTexts(session));

  const fs::path temporary = dir / "kelvara_tmp.txt";
  const auto pickSecond = [](const interpretation::SectionChoice&) -> std::optional<std::size_t> { return 1; };
  const TextRun run = RunTextRequest(session, "", pickSecond, temporary);
  EXPECT_EQ(run.sectionName, "Основы");
  ASSERT_EQ(run.result.writtenFile, temporary) << ::testing::PrintToString(run.result.messages);
  const std::string text = platform::Cp1251ToUtf8(platform::ReadFileBytes(temporary).value_or(""));
  EXPECT_EQ(text.rfind("Тематический раздел: \"Основы\" (Натал)\r\n\r\n", 0), 0u) << text;

  session.charts.main.name = "Сейчас";  // the transit folder has no section
  EXPECT_FALSE(InterpretationListsTexts(session));
  unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace kelvara::app
