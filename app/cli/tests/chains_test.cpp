// chains: the dispositor chains of a fixed chart as text and CSV, edited tables, refusals,
// and the chains picture.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "app/cli/tests/cli_test_support.h"
#include "platform/file_io.h"
#include "workspace/dignity_tables.h"

#ifdef KELVARA_CLI_RENDER
#include <QImage>
#endif

namespace kelvara::cli {
namespace {

namespace fs = std::filesystem;
namespace ws = workspace;
using testing::Args;
using testing::Refusal;
using testing::With;

// Every object of this chart stands more than a degree inside its sign.
const Args kChains = {"chains", "--name", "Иван",  "--date", "12.07.1985", "--time", "14:05",
                      "--gmt",  "+04:00", "--lat", "55n45",  "--lon",      "037e35"};
const fs::path kExpected = fs::path(KELVARA_SOURCE_DIR) / "app/cli/tests/data";

std::string Committed(const std::string& name) {
  std::ifstream in(kExpected / name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ChainsTest : public testing::CliRun {
 protected:
  // The program's own data: the chart is cast from the shipped ephemeris files.
  ChainsTest() { context_.dataDir = fs::path(KELVARA_BIN_DIR) / "data" / ""; }

  std::string Tables(const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(platform::WriteFileAtomically(dir_ / name, bytes));
    return File(name);
  }
};

TEST_F(ChainsTest, TextAndCsvOfAFixedChartAreTheCommittedOnes) {
  ASSERT_EQ(Run(kChains), kExitOk) << err_.str();
  EXPECT_EQ(out_.str(), Committed("chains_chart1.txt"));
  // The Avestan tradition brings in Хирон, Прозерпина, Н.Узел, Селена and Лилит.
  ASSERT_EQ(Run(With(kChains, {"--format", "csv", "--tradition", "avesta"})), kExitOk) << err_.str();
  EXPECT_EQ(out_.str(), Committed("chains_chart1.csv"));
}

TEST_F(ChainsTest, ATablesFileReplacesTheTraditionsTables) {
  // Cancer ruled by the Moon and by Saturn: the Sun (in Cancer) gets both, still first
  // following the Moon into its cycle.
  ws::DignityTables tables = ws::DefaultDignityTables(ws::Tradition::kWestern);
  constexpr int kCancer = 3;
  tables.rulership[kCancer][ws::kSaturn] = 1;
  const std::string file = Tables("upr.", ws::EncodeDignityTables(tables));
  ASSERT_EQ(Run(With(kChains, {"--by", "rulership", "--format", "csv", "--tables", file})), kExitOk) << err_.str();
  EXPECT_NE(out_.str().find("\nrulership,Солнце,Рак,Луна;Сатурн,1\n"), std::string::npos) << out_.str();
  EXPECT_EQ(out_.str().find("exile"), std::string::npos);
}

TEST_F(ChainsTest, BadOptionsShowTheUsageAndBadFilesTheirReason) {
  const std::string damaged = Tables("damaged.upr", "not tables");
  const std::string proc = "/proc/kelvara-chains.png";
  const Refusal refusals[] = {
      {With(kChains, {"--by", "houses"}), kExitUsage, "вид цепочек --by должен быть"},
      {With(kChains, {"--tradition", "east"}), kExitUsage, "традиция --tradition должна быть west или avesta"},
      {With(kChains, {"--format", "xml"}), kExitUsage, "формат должен быть text или csv"},
      {With(kChains, {"--by", "all", "--picture", File("a.png")}), kExitUsage, "рисунок - цепочки одного вида"},
      {With(kChains, {"--format", "csv", "--picture", File("a.png")}), kExitUsage,
       "нужно одно из --format и --picture"},
      {With(kChains, {"--size", "300"}), kExitUsage, "--size задается вместе с --picture"},
      {With(kChains, {"--save", File("a.kvd")}), kExitUsage, "лишний или неверный параметр \"--save\""},
      {{"chains", "--name", "Иван"}, kExitUsage, "нужен параметр --date"},
      {With(kChains, {"--tables", damaged}), kExitFailure, "Файл поврежден: " + damaged},
      {With(kChains, {"--tables", File("нет.upr")}), kExitFailure, "Не удается открыть файл " + File("нет.upr")},
      {{"chains", "--open", File("нет.kvd")}, kExitFailure, File("нет.kvd")},
#ifdef KELVARA_CLI_RENDER
      {With(kChains, {"--picture", File("a.png"), "--size", "99"}), kExitUsage, "неверный параметр --size \"99\""},
      {With(kChains, {"--picture", File("нет/a.png")}), kExitFailure, "Не удается записать файл " + File("нет/a.png")},
      {With(kChains, {"--picture", proc}), kExitFailure, "Не удается записать файл " + proc},
#endif
  };
  for (const Refusal& refusal : refusals) {
    ExpectRefused(refusal);
    const bool usageShown = err_.str().find("Использование: kelvara-cli\n  chains ") != std::string::npos;
    EXPECT_EQ(usageShown, refusal.exitCode == kExitUsage) << err_.str();
  }
  EXPECT_FALSE(fs::exists(dir_ / "a.png"));
  EXPECT_FALSE(fs::exists(dir_ / "нет"));
  EXPECT_FALSE(fs::exists(proc));
}

#ifdef KELVARA_CLI_RENDER
bool HasInk(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != qRgb(255, 255, 255)) return true;
    }
  }
  return false;
}

TEST_F(ChainsTest, APictureOfOneKindIsWrittenInTheSizeAsked) {
  ASSERT_EQ(Run(With(kChains, {"--by", "exaltation", "--picture", File("цепочки.png"), "--size", "240"})), kExitOk)
      << err_.str();
  EXPECT_TRUE(out_.str().empty());
  const QImage image(QString::fromStdString(File("цепочки.png")), "PNG");
  ASSERT_EQ(image.size(), QSize(240, 240));
  EXPECT_TRUE(HasInk(image)) << "a white picture only";
}
#endif

}  // namespace
}  // namespace kelvara::cli
