#include <sstream>

#include <gtest/gtest.h>

#include "app/cli/cli.h"
#include "platform/file_io.h"
#include "platform/tests/scratch_dir.h"

namespace kelvara::cli {
namespace {

const std::vector<std::string> kPerson = {"chart", "--name", "Иван", "--date", "12.07.1985", "--time",
                                          "14:05:30", "--gmt", "+05:30", "--lat", "55n45", "--lon",
                                          "037e35", "--house", "21"};
const std::vector<std::string> kSecondPerson = {"--name2", "Анна", "--date2", "01.01.1990", "--time2", "00:00",
                                                "--gmt2", "-03:30", "--lat2", "47.5", "--lon2", "-52.7"};

class ChartDocumentsTest : public ::testing::Test {
 protected:
  ChartDocumentsTest() { context_.dataDir = dir_ / "data"; }

  int Run(std::vector<std::string> args, std::vector<std::string> extra = {}) {
    args.insert(args.end(), extra.begin(), extra.end());
    out_.str("");
    err_.str("");
    return RunCli(args, context_, out_, err_);
  }
  std::string File(const std::string& name) const { return (dir_ / name).string(); }

  platform::test_support::ScratchDir dir_;
  CliContext context_;
  std::ostringstream out_, err_;
};

TEST_F(ChartDocumentsTest, ASavedChartOpensAgainAsTheSameChart) {
  for (const char* format : {"csv", "text"}) {
    ASSERT_EQ(Run(kPerson, {"--format", format, "--save", File("Иван.kvd")}), kExitOk) << err_.str();
    const std::string computed = out_.str();
    ASSERT_EQ(Run({"chart", "--open", File("Иван.kvd"), "--format", format}), kExitOk) << err_.str();
    EXPECT_EQ(out_.str(), computed);
  }
  ASSERT_EQ(Run(kPerson, {"--kind", "53", "--target", "12.07.1995", "--format", "csv"}), kExitOk);
  const std::string profection = out_.str();
  ASSERT_EQ(Run({"chart", "--open", File("Иван.kvd"), "--kind", "53", "--target", "12.07.1995", "--format", "csv"}),
            kExitOk);
  EXPECT_EQ(out_.str(), profection);
}

TEST_F(ChartDocumentsTest, BadDocumentsAndRefusedSavesAreReported) {
  ASSERT_EQ(Run(kPerson, {"--save", File("a.kvd")}), kExitOk);
  const std::string bytes = *platform::ReadFileBytes(File("a.kvd"));
  ASSERT_TRUE(platform::WriteFileAtomically(File("cut.kvd"), bytes.substr(0, bytes.size() / 2)));
  EXPECT_EQ(Run({"chart", "--open", File("cut.kvd")}), kExitFailure);
  EXPECT_NE(err_.str().find("Файл поврежден: "), std::string::npos);
  EXPECT_TRUE(out_.str().empty());
  EXPECT_EQ(Run({"chart", "--open", File("нет.kvd")}), kExitFailure);
  EXPECT_NE(err_.str().find("Не удается открыть файл "), std::string::npos);
  EXPECT_EQ(Run({"chart", "--open", File("a.kvd"), "--name", "Пётр"}), kExitUsage);

  std::vector<std::string> midpoint = {"--midpoint", "--save", File("m.kvd")};
  midpoint.insert(midpoint.end(), kSecondPerson.begin(), kSecondPerson.end());
  EXPECT_EQ(Run(kPerson, midpoint), kExitFailure);
  EXPECT_NE(err_.str().find("C\xD1\x80едние карты не сохраняются."), std::string::npos);
  EXPECT_EQ(Run(kPerson, {"--kind", "53", "--target", "12.07.1995", "--save", File("k.kvd")}), kExitFailure);
  EXPECT_NE(err_.str().find("Двойные карты не сохраняются."), std::string::npos);
  EXPECT_EQ(Run(kPerson, {"--save", File("нет/a.kvd")}), kExitFailure);
  EXPECT_NE(err_.str().find("Не удается записать файл "), std::string::npos);
  for (const char* name : {"m.kvd", "k.kvd"}) EXPECT_FALSE(std::filesystem::exists(dir_ / name));
}

}  // namespace
}  // namespace kelvara::cli
