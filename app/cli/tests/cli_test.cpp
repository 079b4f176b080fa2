#include "app/cli/cli.h"

#include <algorithm>
#include <filesystem>
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
using Args = std::vector<std::string>;

const Args kPerson = {"chart", "--name", "Иван",   "--date", "12.07.1985", "--time", "14:05:30", "--gmt",
                      "+05:30", "--lat", "55n45", "--lon",  "037e35",     "--house", "21"};
const Args kSecondPerson = {"--name2", "Анна", "--date2", "01.01.1990", "--time2", "00:00",
                            "--gmt2", "-03:30", "--lat2", "47.5", "--lon2", "-52.7"};
const Args kProfection = {"--kind", "53", "--target", "12.07.1995"};

Args With(Args args, const Args& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

// A command that fails, with its exit code and a piece of the message on standard error.
struct Refusal {
  Args args;
  int exitCode;
  std::string message;
};

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
  std::string FirstLine() const { return out_.str().substr(0, out_.str().find('\n')); }
  std::string File(const std::string& name) const { return (dir_ / name).string(); }
  void ExpectRefused(const Refusal& refusal) {
    const std::string command = ::testing::PrintToString(refusal.args);
    EXPECT_EQ(Run(refusal.args), refusal.exitCode) << command;
    EXPECT_NE(err_.str().find(refusal.message), std::string::npos) << command << ": " << err_.str();
    EXPECT_TRUE(out_.str().empty()) << command;
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
  EXPECT_EQ(FirstLine(), "Москва,55.75222,37.61556,4");
  Run({"place", "Москва", "--utc", "--at", "31.03.1981 20:30"});
  EXPECT_EQ(FirstLine(), "Москва,55.75222,37.61556,3");
  Run({"place", "Московский"});
  EXPECT_EQ(out_.str(), "Московский,55.60000,37.35000,4\n");
  Run({"place", "Москва", "--at", "01.01.1900 00:00"});
  EXPECT_EQ(FirstLine(), "Москва,55.75222,37.61556,2.507704");
}

TEST_F(CliTest, ErrorsGoToStandardErrorWithAFailingExitCode) {
  const Args good = {"chart", "--name", "Иван", "--date", "12.07.1985", "--time", "14:05",
                     "--gmt", "+04:00", "--lat", "55n45", "--lon", "037e35"};
  auto spoiled = [&](const std::string& option, const std::string& value) {
    Args args = good;
    *(std::find(args.begin(), args.end(), option) + 1) = value;
    return args;
  };
  ASSERT_EQ(Run(good), kExitOk);
  const Refusal refusals[] = {
      {{}, kExitUsage, ""},
      {{"nosuch"}, kExitUsage, "неизвестная команда"},
      {{"place"}, kExitUsage, ""},
      {{"place", "Москва", "--at", "31.02.1981 10:00"}, kExitUsage, ""},
      {{"place", "Москва", "--at", "01.01.1859 10:00"}, kExitUsage, ""},
      {{"place", "Москва", "--at", "01.01.1990 10:00x"}, kExitUsage, ""},
      {{"place", "Москва", "Лондон"}, kExitUsage, ""},
      {{"place", "Атлантида"}, kExitFailure, "не найден"},
      // Charts carry the messages of the program's dialogs.
      {spoiled("--gmt", "+13:30"), kExitFailure, "Неправильные данные!"},
      {spoiled("--name", " "), kExitFailure, "Введите имя"},
      {spoiled("--lat", "95n00"), kExitFailure, ""},
      {spoiled("--lon", "nan"), kExitFailure, ""},
      {spoiled("--date", "01.01.1859"), kExitFailure, ""},
      {spoiled("--date", "31.02.1985"), kExitFailure, ""},
      {spoiled("--time", "25:00"), kExitFailure, ""},
      {spoiled("--date", "1985-07-12"), kExitUsage, ""},
      {{"chart", "--name", "Иван", "--date", "12.07.1985", "--time", "14:05", "--place", "Атлантида"},
       kExitFailure, "не найден"},
      {With(good, {"--kind", "60", "--target", "01.01.2000"}), kExitUsage, ""},
      {With(good, {"--house", "3"}), kExitUsage, ""},
      {With(good, {"--format", "xml"}), kExitUsage, ""},
      {With(good, {"--composite"}), kExitUsage, ""},  // the second person is missing
  };
  for (const Refusal& refusal : refusals) ExpectRefused(refusal);
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
  const std::pair<Args, std::string> cases[] = {
      {kProfection,
       "# name=Профекция (30°= 1ГодТроп);title=Директная карта;local=12.07.1995 12:00:00;"
       "gmt=12.07.1995 06:30:00;offset=5.5;lat=55.750000;lon=37.583333"},
      {With({"--midpoint"}, kSecondPerson), "# name=Ср.карта (Иван + Анна);"},
      {With({"--composite"}, kSecondPerson), "# name=Комп.карта (Иван + Анна);"},
  };
  for (const auto& [kind, header] : cases) {
    ASSERT_EQ(Run(With(With(kPerson, kind), {"--format", "csv"})), kExitOk) << err_.str();
    EXPECT_EQ(out_.str().rfind(header, 0), 0u) << out_.str();
  }
}

TEST_F(CliTest, ChartTextIsARussianTable) {
  ASSERT_EQ(Run({"chart", "--name", "Иван", "--date", "12.07.1985", "--time", "14:05", "--gmt", "+04:00",
                 "--lat", "55.75", "--lon", "37.6", "--house", "21"}),
            kExitOk);
  for (const char* piece : {"Иван — Натальная карта", "GMT +04:00, по Гринвичу: 12.07.1985 10:05:00",
                            "дома: Equal(Sun)", "Прозерпина"}) {
    EXPECT_NE(out_.str().find(piece), std::string::npos) << piece;
  }
}

TEST_F(CliTest, ASavedChartOpensAgainAsTheSameChart) {
  ASSERT_EQ(Run(With(kPerson, {"--save", File("Иван.kvd")})), kExitOk) << err_.str();
  const Args outputs[] = {{"--format", "csv"}, {"--format", "text"}, With(kProfection, {"--format", "csv"})};
  for (const Args& output : outputs) {
    ASSERT_EQ(Run(With(kPerson, output)), kExitOk) << err_.str();
    const std::string computed = out_.str();
    ASSERT_EQ(Run(With({"chart", "--open", File("Иван.kvd")}, output)), kExitOk) << err_.str();
    EXPECT_EQ(out_.str(), computed) << output[1];
  }
}

TEST_F(CliTest, BadDocumentsAndRefusedSavesAreReported) {
  ASSERT_EQ(Run(With(kPerson, {"--save", File("a.kvd")})), kExitOk);
  const std::string bytes = *platform::ReadFileBytes(File("a.kvd"));
  ASSERT_TRUE(platform::WriteFileAtomically(File("cut.kvd"), bytes.substr(0, bytes.size() / 2)));
  const Refusal refusals[] = {
      {{"chart", "--open", File("cut.kvd")}, kExitFailure, "Файл поврежден: "},
      {{"chart", "--open", File("нет.kvd")}, kExitFailure, "Не удается открыть файл "},
      {{"chart", "--open", File("a.kvd"), "--name", "Пётр"}, kExitUsage, ""},
      {With(kPerson, With({"--midpoint", "--save", File("m.kvd")}, kSecondPerson)), kExitFailure,
       "C\xD1\x80едние карты не сохраняются."},
      {With(kPerson, With(kProfection, {"--save", File("k.kvd")})), kExitFailure, "Двойные карты не сохраняются."},
      {With(kPerson, {"--save", File("нет/a.kvd")}), kExitFailure, "Не удается записать файл "},
  };
  for (const Refusal& refusal : refusals) ExpectRefused(refusal);
  for (const char* name : {"m.kvd", "k.kvd"}) EXPECT_FALSE(std::filesystem::exists(dir_ / name));
}

}  // namespace
}  // namespace kelvara::cli
