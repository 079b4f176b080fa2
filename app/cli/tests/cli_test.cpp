#include "app/cli/cli.h"

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
  EXPECT_EQ(Run({"chart"}), kExitUsage);
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

}  // namespace
}  // namespace kelvara::cli
