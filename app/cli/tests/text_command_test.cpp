// text: sections of the shipped and the user's library, the texts printed or written,
// and refusals.
#include <algorithm>
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

// The README's chart with every point of the Avestan tradition shown. Regenerate both
// committed texts after a deliberate change of the sample library or the report with
//   O="--name Иван --date 12.07.1985 --time 14:05 --place Москва --tradition avesta"; build/bin/kelvara-cli text $O --report > app/cli/tests/data/text_report.txt; build/bin/kelvara-cli text $O --section "Основы натальной карты" > app/cli/tests/data/text_section.txt
// and check the positions against "kelvara-cli chart" for the same options.
const Args kReadmeChart = {"text",       "--name", "Иван",   "--date",      "12.07.1985", "--time",
                           "14:05",      "--place", "Москва", "--tradition", "avesta"};
const fs::path kCommitted = fs::path(KELVARA_SOURCE_DIR) / "app/cli/tests/data";

// Empty when equal, else the committed file's name and the lines where the texts part.
std::string DifferenceFromCommitted(const std::string& text, const std::string& name) {
  const std::string committed = platform::ReadFileBytes(kCommitted / name).value_or("");
  if (text == committed) return {};
  const auto [here, there] = std::mismatch(text.begin(), text.end(), committed.begin(), committed.end());
  const auto around = [](const std::string& of, std::string::const_iterator at) {
    return platform::Cp1251ToUtf8(platform::Utf8ToCp1251(of.substr(std::max<long>(0, at - of.begin() - 30), 90)));
  };
  return name + " differs at byte " + std::to_string(here - text.begin()) + ":\n  got:      " +
         around(text, here) + "\n  expected: " + around(committed, there);
}

TEST_F(TextCommandTest, ReportAndNatalSectionAreTheCommittedTexts) {
  ASSERT_EQ(Run(With(kReadmeChart, {"--report"})), kExitOk) << err_.str();
  EXPECT_EQ(DifferenceFromCommitted(out_.str(), "text_report.txt"), "");
  ASSERT_EQ(Run(With(kReadmeChart, {"--section", "Основы натальной карты"})), kExitOk) << err_.str();
  EXPECT_EQ(DifferenceFromCommitted(out_.str(), "text_section.txt"), "");
}

TEST_F(TextCommandTest, TheWesternTraditionLeavesOutTheAvestanPoints) {
  ASSERT_EQ(Run(With(kText, {"--report", "--tradition", "avesta"})), kExitOk) << err_.str();
  EXPECT_NE(out_.str().find(" Хирон ... "), std::string::npos);
  ASSERT_EQ(Run(With(kText, {"--report"})), kExitOk) << err_.str();
  EXPECT_EQ(out_.str().find(" Хирон ... "), std::string::npos);
  EXPECT_NE(out_.str().find(" Плутон ... "), std::string::npos);
}

TEST_F(TextCommandTest, CompositeTellsBothPartnersInItsHouses) {
  ASSERT_EQ(Run(With(kText, {"--composite", "--name2", "Мария", "--date2", "03.03.1988", "--time2", "08:30",
                             "--gmt2", "+03:00", "--lat2", "59n56", "--lon2", "030e19", "--section",
                             "Планеты партнёров в домах композита"})),
            kExitOk)
      << err_.str();
  EXPECT_NE(out_.str().find("первого партнёра"), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("второго партнёра"), std::string::npos) << out_.str();
}

TEST_F(TextCommandTest, CheckLibraryPassesTheSampleAndListsFaults) {
  EXPECT_EQ(Run({"text", "--check-library", (context_.dataDir / "TXT_ST").string()}), kExitOk) << out_.str();
  EXPECT_TRUE(out_.str().empty()) << out_.str();
  // The user's section of the fixture: a key for a sign that does not exist, no name.
  const fs::path section = File("kelvara/TXT_ST/NT/mine");
  fs::remove(section / "Name.thm");
  Write(section / "PL_ZS.TXT", "#Солнце -> Рыба\r\nне то\r\n");
  Write(section / "List.fls", "PL_ZS.TXT; ON\r\nHS_ZS.TXT; ON\r\n");
  EXPECT_EQ(Run({"text", "--check-library", File("kelvara/TXT_ST")}), kExitFailure);
  EXPECT_EQ(out_.str(), "нет файла: NT/mine/HS_ZS.TXT\nнет Name.thm: NT/mine\n"
                        "ключ не строится: NT/mine/PL_ZS.TXT: Солнце -> Рыба\n");
}

TEST_F(TextCommandTest, Refusals) {
  for (const Refusal& refusal : {
           Refusal{kText, kExitUsage, "нужно одно из --section, --request, --list-sections и --report"},
           Refusal{With(kText, {"--report", "--tradition", "east"}), kExitUsage, "--tradition должна быть west или avesta"},
           Refusal{{"text", "--check-library", "/no/such/folder"}, kExitFailure, "нет папки /no/such/folder"},
           Refusal{With(kText, {"--section", "Мой", "--list-sections"}), kExitUsage, "нужно одно из"},
           Refusal{With(kText, {"--section", "Мой", "--short"}), kExitUsage, "--short задается вместе с --request"},
           Refusal{With(kText, {"--section", "Мой", "--alone"}), kExitUsage, "требуют второй карты"},
           Refusal{With(kText, {"--section", "Чужой"}), kExitFailure, "нет раздела \"Чужой\"; разделы:\n  Кельвара"},
       })
    ExpectRefused(refusal);
}

}  // namespace
}  // namespace kelvara::cli
