// text: sections of the shipped and the user's library, the texts printed or written,
// and refusals.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/cli/tests/cli_test_support.h"
#include "platform/codepage.h"
#include "platform/file_io.h"

namespace kelvara::cli {
namespace {

namespace fs = std::filesystem;
using testing::Args;
using testing::Refusal;
using testing::With;

// The Sun of this chart stands in Cancer.
const Args kText = {"text",  "--name", "Иван",  "--date", "12.07.1985", "--time", "14:05",
                    "--gmt", "+04:00", "--lat", "55n45",  "--lon",      "037e35"};

class TextCommandTest : public testing::CliRun {
 protected:
  TextCommandTest() {
    context_.dataDir = fs::path(KELVARA_BIN_DIR) / "data" / "";
    if (const char* old = std::getenv("XDG_DATA_HOME")) oldDataHome_ = old;
    setenv("XDG_DATA_HOME", File("").c_str(), 1);
    const fs::path section = dir_ / "kelvara/TXT_ST/NT/mine";
    fs::create_directories(section);
    Write(section / "Name.thm", "Мой");
    Write(section / "List.fls", "PL_ZS.TXT; ON\r\n");
    Write(section / "PL_ZS.TXT", "#Солнце -> Рак\r\nСолнце в Раке.\r\n#Солнце -> Лев\r\nне то\r\n");
  }
  ~TextCommandTest() override {
    if (oldDataHome_.empty()) unsetenv("XDG_DATA_HOME");
    else setenv("XDG_DATA_HOME", oldDataHome_.c_str(), 1);
  }
  static void Write(const fs::path& path, std::string_view utf8) {
    std::ofstream(path, std::ios::binary) << platform::Utf8ToCp1251(utf8);
  }

  std::string oldDataHome_;
};

const std::string kMine = "Тематический раздел: \"Мой\" (Натал)\r\n\r\nСолнце в Раке.\r\n";

TEST_F(TextCommandTest, UsersSectionPrintedOrWritten) {
  ASSERT_EQ(Run(With(kText, {"--list-sections"})), kExitOk) << err_.str();
  EXPECT_EQ(out_.str().rfind("Кельвара\n", 0), 0u);
  EXPECT_NE(out_.str().find("\nМой\n"), std::string::npos);

  ASSERT_EQ(Run(With(kText, {"--section", "Мой"})), kExitOk) << err_.str();
  EXPECT_EQ(out_.str(), kMine);

  ASSERT_EQ(Run(With(kText, {"--section", "Мой", "--output", File("out.txt")})), kExitOk) << err_.str();
  EXPECT_TRUE(out_.str().empty());
  EXPECT_EQ(platform::ReadFileBytes(File("out.txt")), platform::Utf8ToCp1251(kMine));
}

TEST_F(TextCommandTest, Refusals) {
  for (const Refusal& refusal : {
           Refusal{kText, kExitUsage, "нужно одно из --section, --request и --list-sections"},
           Refusal{With(kText, {"--section", "Мой", "--list-sections"}), kExitUsage, "нужно одно из"},
           Refusal{With(kText, {"--section", "Мой", "--short"}), kExitUsage, "--short задается вместе с --request"},
           Refusal{With(kText, {"--section", "Мой", "--alone"}), kExitUsage, "требуют второй карты"},
           Refusal{With(kText, {"--section", "Чужой"}), kExitFailure, "нет раздела \"Чужой\"; разделы:\n  Кельвара"},
       })
    ExpectRefused(refusal);
}

}  // namespace
}  // namespace kelvara::cli
