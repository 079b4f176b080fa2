#include "app/cli/cli.h"

#include <algorithm>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/file_io.h"
#include "workspace/hour_scale.h"
#include "places/tests/test_support.h"

namespace kelvara::cli {
namespace {

using places::testing::Entry;
using places::testing::MakeCity;
using places::testing::ZoneOf;

class CliTest : public ::testing::Test {
 protected:
  CliTest() {
    // Moscow-like: +3, summer time +4 from 1 April 1981 01:00 local.
    const places::TimeChangeList moscow = {Entry(1860, 1, 1, 0, 0, 0, 30000),
                                           Entry(1930, 6, 21, 0, 0, ZoneOf(3), 0),
                                           Entry(1981, 4, 1, 1, 0, ZoneOf(3), 1)};
    std::string bytes;
    for (const auto& city : {MakeCity("Москва", "", 55.75222, 37.61556, moscow),
                             MakeCity("Москва", "(Idaho, US)", 46.73239, -117.00017),
                             MakeCity("Московский", "", 55.6, 37.35, moscow),
                             MakeCity("Kingston", "(Jamaica, JM)", 18.0, -76.8)}) {
      places::AppendCityRecord(city, bytes);
    }
    EXPECT_TRUE(platform::WriteFileAtomically(dir_ / places::kCityBaseFileName, bytes));
    context_.dataDir = dir_ / "";
    context_.nowGreenwichHours = [] { return workspace::HoursSince1860({1985, 7, 1, 12, 0, 0}); };
  }

  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    return RunCli(args, context_, out_, err_);
  }

  places::testing::ScratchDir dir_;
  CliContext context_;
  std::ostringstream out_, err_;
};

TEST_F(CliTest, PlaceListsExactThenPrefixMatchesWithTheOffsetAtTheMoment) {
  EXPECT_EQ(Run({"place", "москва", "--at", "01.04.1981 01:30"}), kExitOk);
  EXPECT_EQ(out_.str(),
            "Москва,55.75222,37.61556,4\n"
            "\"Москва (Idaho, US)\",46.73239,-117.00017,\n");
  EXPECT_TRUE(err_.str().empty());
  EXPECT_EQ(Run({"place", "МОСК", "--at", "01.04.1981 00:59"}), kExitOk);
  EXPECT_EQ(out_.str(),
            "Москва,55.75222,37.61556,3\n"
            "\"Москва (Idaho, US)\",46.73239,-117.00017,\n"
            "Московский,55.60000,37.35000,3\n");
}

TEST_F(CliTest, GreenwichMomentsAndThePresentMoment) {
  // 31 March 1981 21:30 Greenwich is already summer time; 20:30 is not.
  Run({"place", "Москва", "--at", "31.03.1981 21:30", "--utc"});
  EXPECT_EQ(out_.str().substr(0, out_.str().find('\n')), "Москва,55.75222,37.61556,4");
  Run({"place", "Москва", "--utc", "--at", "31.03.1981 20:30"});
  EXPECT_EQ(out_.str().substr(0, out_.str().find('\n')), "Москва,55.75222,37.61556,3");
  Run({"place", "Московский"});
  EXPECT_EQ(out_.str(), "Московский,55.60000,37.35000,4\n");
  Run({"place", "Москва", "--at", "01.01.1900 00:00"});
  EXPECT_EQ(out_.str().substr(0, out_.str().find('\n')), "Москва,55.75222,37.61556,2.507704");
}

TEST_F(CliTest, ErrorsGoToStandardErrorWithAFailingExitCode) {
  EXPECT_EQ(Run({}), kExitUsage);
  EXPECT_EQ(Run({"nosuch"}), kExitUsage);
  EXPECT_NE(err_.str().find("неизвестная команда"), std::string::npos);
  EXPECT_EQ(Run({"place"}), kExitUsage);
  EXPECT_EQ(Run({"place", "Москва", "--at", "31.02.1981 10:00"}), kExitUsage);
  EXPECT_EQ(Run({"place", "Москва", "--at", "01.01.1859 10:00"}), kExitUsage);
  EXPECT_EQ(Run({"place", "Москва", "--at", "01.01.1990 10:00x"}), kExitUsage);
  EXPECT_EQ(Run({"place", "Москва", "Лондон"}), kExitUsage);
  EXPECT_EQ(Run({"place", "Атлантида"}), kExitFailure);
  EXPECT_NE(err_.str().find("не найден"), std::string::npos);
  EXPECT_TRUE(out_.str().empty());
  context_.dataDir = dir_ / "nowhere";
  EXPECT_EQ(Run({"place", "Москва"}), kExitFailure);
  EXPECT_NE(err_.str().find("нет базы городов"), std::string::npos);
}

TEST_F(CliTest, ChartCsvHasTheHeaderLineTheColumnsAndThirtyFourSlots) {
  EXPECT_EQ(Run({"chart", "--name", "Иван", "--date", "12.07.1985", "--time", "14:05:30", "--place",
                 "Москва", "--format", "csv"}),
            kExitOk)
      << err_.str();
  std::istringstream lines(out_.str());
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line,
            "# name=Иван;title=Натальная карта;local=12.07.1985 14:05:30;gmt=12.07.1985 10:05:30;"
            "offset=4;lat=55.752220;lon=37.615560;house=0");
  std::getline(lines, line);
  EXPECT_EQ(line, "slot,name,longitude,speed,retrograde,sign,house");
  int rows = 0;
  while (std::getline(lines, line)) {
    ++rows;
    EXPECT_EQ(line.substr(0, line.find(',')), std::to_string(rows));
  }
  EXPECT_EQ(rows, 34);
}

TEST_F(CliTest, ChartKindsAndMergedChartsAreNamedByTheirKind) {
  const std::vector<std::string> person = {"--name", "Иван", "--date", "12.07.1985", "--time", "14:05",
                                           "--gmt", "+05:30", "--lat", "55n45", "--lon", "037e35"};
  auto with = [&](std::vector<std::string> extra) {
    std::vector<std::string> args = {"chart"};
    args.insert(args.end(), person.begin(), person.end());
    args.insert(args.end(), extra.begin(), extra.end());
    args.insert(args.end(), {"--format", "csv"});
    return args;
  };
  ASSERT_EQ(Run(with({"--kind", "53", "--target", "12.07.1995"})), kExitOk) << err_.str();
  EXPECT_EQ(out_.str().rfind("# name=Профекция (30°= 1ГодТроп);title=Директная карта;local=12.07.1995 12:00:00;"
                             "gmt=12.07.1995 06:30:00;offset=5.5;lat=55.750000;lon=37.583333", 0), 0u)
      << out_.str();
  const std::vector<std::string> second = {"--name2", "Анна", "--date2", "01.01.1990", "--time2", "00:00",
                                           "--gmt2", "-03:30", "--lat2", "47.5", "--lon2", "-52.7"};
  auto merged = with({"--midpoint"});
  merged.insert(merged.end(), second.begin(), second.end());
  ASSERT_EQ(Run(merged), kExitOk) << err_.str();
  EXPECT_EQ(out_.str().rfind("# name=Ср.карта (Иван + Анна);", 0), 0u);
  *std::find(merged.begin(), merged.end(), "--midpoint") = "--composite";
  ASSERT_EQ(Run(merged), kExitOk) << err_.str();
  EXPECT_EQ(out_.str().rfind("# name=Комп.карта (Иван + Анна);", 0), 0u);
}

TEST_F(CliTest, ChartTextIsARussianTable) {
  ASSERT_EQ(Run({"chart", "--name", "Иван", "--date", "12.07.1985", "--time", "14:05", "--gmt", "+04:00",
                 "--lat", "55.75", "--lon", "37.6", "--house", "21"}),
            kExitOk);
  EXPECT_NE(out_.str().find("Иван — Натальная карта"), std::string::npos);
  EXPECT_NE(out_.str().find("GMT +04:00, по Гринвичу: 12.07.1985 10:05:00"), std::string::npos);
  EXPECT_NE(out_.str().find("дома: Equal(Sun)"), std::string::npos);
  EXPECT_NE(out_.str().find("Прозерпина"), std::string::npos);
}

TEST_F(CliTest, ChartErrorsCarryTheDialogsMessages) {
  const std::vector<std::string> good = {"chart", "--name", "Иван", "--date", "12.07.1985", "--time", "14:05",
                                         "--gmt", "+04:00", "--lat", "55n45", "--lon", "037e35"};
  auto spoiled = [&](const std::string& option, const std::string& value) {
    std::vector<std::string> args = good;
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
      if (args[i] == option) args[i + 1] = value;
    }
    return args;
  };
  EXPECT_EQ(Run(good), kExitOk);
  EXPECT_EQ(Run(spoiled("--gmt", "+13:30")), kExitFailure);
  EXPECT_NE(err_.str().find("Неправильные данные!"), std::string::npos);
  EXPECT_EQ(Run(spoiled("--name", " ")), kExitFailure);
  EXPECT_NE(err_.str().find("Введите имя"), std::string::npos);
  EXPECT_EQ(Run(spoiled("--lat", "95n00")), kExitFailure);
  EXPECT_EQ(Run(spoiled("--lon", "nan")), kExitFailure);
  EXPECT_EQ(Run(spoiled("--date", "01.01.1859")), kExitFailure);
  EXPECT_EQ(Run(spoiled("--date", "31.02.1985")), kExitFailure);
  EXPECT_EQ(Run(spoiled("--time", "25:00")), kExitFailure);
  EXPECT_EQ(Run(spoiled("--date", "1985-07-12")), kExitUsage);
  EXPECT_EQ(Run({"chart", "--name", "Иван", "--date", "12.07.1985", "--time", "14:05", "--place", "Атлантида"}),
            kExitFailure);
  EXPECT_NE(err_.str().find("не найден"), std::string::npos);
  std::vector<std::string> args = good;
  args.insert(args.end(), {"--kind", "60", "--target", "01.01.2000"});
  EXPECT_EQ(Run(args), kExitUsage);
  args = good;
  args.insert(args.end(), {"--house", "3"});
  EXPECT_EQ(Run(args), kExitUsage);
  args = good;
  args.insert(args.end(), {"--format", "xml"});
  EXPECT_EQ(Run(args), kExitUsage);
  args = good;
  args.push_back("--composite");
  EXPECT_EQ(Run(args), kExitUsage);  // the second person is missing
  EXPECT_TRUE(out_.str().empty());
}

}  // namespace
}  // namespace kelvara::cli
