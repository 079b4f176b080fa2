// aspects: the tables in use as text and CSV, stored tables over the defaults, refusals.
#include <gtest/gtest.h>

#include <sstream>

#include "app/asp_tables.h"
#include "app/cli/tests/cli_test_support.h"
#include "platform/file_io.h"
#include "workspace/chart_record.h"

namespace kelvara::cli {
namespace {

namespace ws = workspace;
using testing::Args;
using testing::Refusal;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class AspectsTest : public testing::CliRun {};

TEST_F(AspectsTest, WithoutFilesBothTablesAreTheDefaults) {
  ASSERT_EQ(Run({"aspects"}), kExitOk) << err_.str();
  const auto lines = Lines(out_.str());
  ASSERT_EQ(lines.size(), 2u * (1 + 3 * ws::kAspectCount));
  EXPECT_EQ(lines[0], "Таблица 1 (для одной карты): по умолчанию");
  EXPECT_EQ(lines[4], "1: включен, угол 120, цвет 0x0000FF, толщина 1, стиль 0 (сплошная), второй цвет 0xFFFFFF, "
                      "текст \"\", второй текст \"\"");
  EXPECT_EQ(lines[5], "   орбис сходящегося: 5");
  EXPECT_EQ(lines[6], "   орбис расходящегося: 0");
  EXPECT_EQ(lines[1 + 3 * ws::kAspectCount], "Таблица 2 (между двумя картами): по умолчанию");
  EXPECT_EQ(lines[1 + 3 * ws::kAspectCount + 1 + 3 * 13 + 1], "   орбис сходящегося: 0.55");
}

TEST_F(AspectsTest, AStoredTableIsPrintedWithItsOrbsPerSlot) {
  ws::AspectTable table = ws::DefaultSingleChartAspects();
  table[1].firstOrbs[ws::kSlotSun] = 6.5;
  table[1].penStyle = ws::kPenDots;
  table[2].firstText = "секстиль, \"60\"";
  ASSERT_TRUE(platform::WriteFileAtomically(dir_ / "asp1.", ws::EncodeAspectTable(table)));
  ASSERT_EQ(Run({"aspects", "--table", "1", "--format", "csv"}), kExitOk) << err_.str();
  const auto lines = Lines(out_.str());
  ASSERT_EQ(lines.size(), 1u + ws::kAspectCount);
  EXPECT_EQ(lines[0].substr(0, 14), "table,aspect,e");
  EXPECT_EQ(lines[2], "1,1,1,120,0x0000FF,1,2,0xFFFFFF,,,5;6.5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;"
                      "5;5;5;5,0");
  EXPECT_EQ(lines[3], "1,2,1,60,0x0000FF,1,0,0xFFFFFF,\"секстиль, \"\"60\"\"\",,4,0");

  ASSERT_EQ(Run({"aspects", "--table", "1"}), kExitOk);
  EXPECT_EQ(Lines(out_.str())[0], "Таблица 1 (для одной карты): " + File("asp1."));
  EXPECT_EQ(Lines(out_.str())[5].rfind("   орбис сходящегося: 0=5 1=6.5 2=5 3=5", 0), 0u);
}

TEST_F(AspectsTest, RefusesBadOptionsAndDamagedFiles) {
  for (const Refusal& refusal : {Refusal{{"aspects", "--table", "3"}, kExitUsage, "1 или 2"},
                                 Refusal{{"aspects", "--format", "xml"}, kExitUsage, "text или csv"},
                                 Refusal{{"aspects", "--table"}, kExitUsage, "\"--table\""},
                                 Refusal{{"aspects", "--table", "1", "--table", "2"}, kExitUsage, "\"--table\""},
                                 Refusal{{"aspects", "extra"}, kExitUsage, "aspects [--table 1|2]"}}) {
    ExpectRefused(refusal);
  }
  ASSERT_TRUE(platform::WriteFileAtomically(dir_ / "asp2.", "short"));
  ExpectRefused({{"aspects", "--table", "1"}, kExitFailure, "Файл поврежден: " + File("asp2.")});
}

}  // namespace
}  // namespace kelvara::cli
