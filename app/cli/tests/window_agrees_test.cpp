// The window's commands and the command line reach the same charts by separate roads:
// the window through Dispatch and its session, the command line through its options.
#include <gtest/gtest.h>

#include <sstream>

#include "app/chart_output.h"
#include "app/cli/cli.h"
#include "app/commands.h"
#include "places/chart_zones.h"
#include "workspace/engine_driver.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;

const std::string kBinFolder = std::string(KELVARA_BIN_DIR) + "/";

// Answers nothing: these commands ask nothing.
class SilentUi : public ViewUi {
 public:
  void ShowMessage(std::string_view text) override { ADD_FAILURE() << text; }
  bool AskYesNo(std::string_view text) override {
    ADD_FAILURE() << text;
    return false;
  }
  bool EditBirthData(ws::ChartRecord&, bool) override { return false; }
  std::optional<ws::CompositeOptions> EditCompositeOptions() override { return std::nullopt; }
  std::optional<std::string> ChooseDocumentToOpen() override { return std::nullopt; }
  std::optional<std::string> ChooseDocumentToSave(const std::string&) override { return std::nullopt; }
  std::optional<std::string> ChooseWallpaperFile() override { return std::nullopt; }
};

// A clock stopped at 1 March 2024 10:00 in Moscow's zone.
class MoscowMorning : public platform::Clock {
 public:
  platform::DateTime LocalNow() const override { return platform::DateTime::FromFields(2024, 3, 1, 10, 0, 0); }
  platform::TimeZoneInfo TimeZone() const override { return {true, -180, 0, false, "MSK", "MSK"}; }
};

// The slot lines of a chart's CSV, without the header that names the chart.
std::string SlotLines(const std::string& csv) { return csv.substr(csv.find('\n', csv.find('\n') + 1) + 1); }

class WindowAgreesWithCli : public ::testing::Test {
 protected:
  WindowAgreesWithCli() {
    places::LoadCityBase(kBinFolder + "data/" + places::kCityBaseFileName, session_.cityBase);
    ws::ChartRecord& main = session_.charts.main;
    main.name = "Иван";
    main.local = {1985, 7, 12, 14, 5, 0};
    main.gmtOffsetHours = 4.0;
    main.latitudeDeg = 55.75;
    main.longitudeDeg = 37.6 + 1.0 / 60.0;
    main.placeName = "Москва";
  }
  std::string Cli(std::vector<std::string> args) {
    cli::CliContext context{kBinFolder + "data/", [] { return 0.0; }, &clock_};
    std::ostringstream out, err;
    EXPECT_EQ(cli::RunCli(args, context, out, err), 0) << err.str();
    return SlotLines(out.str());
  }
  std::string Window() {
    std::ostringstream out;
    PrintChartCsv(session_.charts.main, out);
    return SlotLines(out.str());
  }

  Session session_;
  const ws::EngineDriver engine_{kBinFolder};
  const MoscowMorning clock_;
  const places::CityBaseZones zones_{session_.cityBase};
  SilentUi ui_;
  CommandContext context_{session_, engine_, &clock_, &zones_, ui_, {}, nullptr};
};

TEST_F(WindowAgreesWithCli, CuspsAfterAHouseCommandAreTheCommandLinesForThatSystem) {
  for (const auto& [command, system] : {std::pair{CommandId::kHouseKoch, "1"}, {CommandId::kHouseBrahmagupta, "14"},
                                        {CommandId::kHouseEqualSun, "21"}, {CommandId::kHouseMorinus, "7"}}) {
    ASSERT_TRUE(Dispatch(command, 0, context_).chartsChanged);
    EXPECT_EQ(Window(), Cli({"chart", "--name", "Иван", "--date", "12.07.1985", "--time", "14:05", "--gmt", "+04:00",
                             "--lat", "55n45", "--lon", "037e37", "--house", system, "--format", "csv"}))
        << system;
  }
}

TEST_F(WindowAgreesWithCli, AFrozenNowChartIsTheChartOfItsMomentOffsetAndPlace) {
  session_.charts.main.name = "";
  session_.charts.nowPlace = "Москва";
  ComputeShownCharts(context_);
  Dispatch(CommandId::kStopNow, 0, context_);
  const ws::ChartRecord& frozen = session_.charts.main;
  ASSERT_EQ(frozen.name, "Останов");
  EXPECT_EQ(frozen.local, (ws::CalendarMoment{2024, 3, 1, 10, 0, 0}));
  EXPECT_EQ(frozen.gmtOffsetHours, 3.0);
  EXPECT_EQ(Window(), Cli({"chart", "--name", "Сравнение", "--date", "01.03.2024", "--time", "10:00", "--place",
                           "Москва", "--lat", "55n45", "--lon", "037e37", "--format", "csv"}));
}

}  // namespace
}  // namespace kelvara::app
