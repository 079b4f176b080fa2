// The chart options every chart-taking command reads (chart, render): the person's birth
// data or a document, the house system, a derived kind or a second person, and how the
// charts they ask for are computed.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/cli.h"
#include "places/chart_zones.h"
#include "places/city_base.h"
#include "workspace/coordinate_fields.h"
#include "workspace/chart_record.h"
#include "workspace/workspace_state.h"

namespace kelvara::cli {

struct PersonOptions {
  std::optional<std::string> name, date, time, gmt, place, lat, lon;
};

struct ChartOptions {
  PersonOptions first;
  PersonOptions second;
  std::optional<std::string> house, kind, target, targetTime, open;
  bool composite = false;
  bool midpoint = false;
};

// A usage or data error: the text for standard error and the exit code.
struct Failure {
  std::string message;
  int exitCode = kExitUsage;
};

template <typename T>
struct Result {
  std::optional<T> value;
  Failure failure;
  static Result Fail(std::string message, int exitCode = kExitUsage) {
    return {std::nullopt, {std::move(message), exitCode}};
  }
};

// The command's own options beside the chart's: those taking a value, and switches.
struct CommandOptions {
  std::map<std::string, std::optional<std::string>*> values;
  std::map<std::string, bool*> switches;
};

// Fills the chart's and the command's options; an unknown option or one without its
// value fails.
std::optional<Failure> ParseChartOptions(const std::vector<std::string>& args, ChartOptions& chart,
                                         const CommandOptions& own);

std::optional<int> WholeNumber(std::string_view text);

// "55n45" / "037e35" (degrees, the hemisphere letter, minutes) or decimal degrees, as the
// dialogs' fields hold them, so that their checks judge them.
std::optional<workspace::AngleFields> CoordinateFields(const std::string& text, char positive, char negative);

// The city base beside the program, read on first use: the places of --place and the
// zones of local times.
class PlaceBase {
 public:
  explicit PlaceBase(const std::filesystem::path& dataDir) : file_(dataDir / places::kCityBaseFileName) {}
  // The zones point into the base.
  PlaceBase(const PlaceBase&) = delete;
  PlaceBase& operator=(const PlaceBase&) = delete;

  // Whether the base has cities to offer; the zones of "now" charts take what there is.
  bool Load();
  Result<const places::CityRecord*> Find(const std::string& name);
  const places::CityBase& Base() const { return base_; }
  // None without a base: times then stay where they are shown.
  const workspace::TimeZoneSource* Zones();

 private:
  std::filesystem::path file_;
  places::CityBase base_;
  std::optional<places::CityBaseLoad> load_;
  std::optional<places::CityBaseZones> zones_;
};

// The program's folder (with its separator), the one that holds data/: the engine's.
std::string ProgramFolder(std::filesystem::path dataDir);

// What a second person's data alone makes: nothing but a merged chart (--composite,
// --midpoint), or also a second chart of its own shown around the first.
enum class SecondPerson { kMergedOnly, kOwnChart };

struct RequestedCharts {
  workspace::ChartRecord main;                   // the person's, the document's or the merged chart
  std::optional<workspace::ChartRecord> second;  // the --kind chart or the second person's
  std::optional<workspace::MergedSaves> merged;  // both persons' charts behind a merged chart
};

Result<RequestedCharts> ComputeRequestedCharts(const ChartOptions& options, const CliContext& context,
                                               SecondPerson secondPerson);

// Prints the failure after the command's prefix ("kelvara-cli chart: "); its exit code.
int Report(std::string_view command, const Failure& failure, std::ostream& err);

}  // namespace kelvara::cli
