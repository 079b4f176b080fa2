// kelvara-cli: the program's command-line face. Each subcommand is one entry of the
// dispatch table; a subcommand gets the arguments after its name.
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "places/city_base.h"
#include "platform/clock.h"

namespace kelvara::cli {

struct CliContext {
  std::filesystem::path dataDir;             // the data/ folder beside the program
  std::function<double()> nowGreenwichHours;  // present moment, hours since 1860
  const platform::Clock* clock = nullptr;     // the device clock of "now" charts
};

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// What is wrong with a city base read for a place lookup, empty when it is whole: a command
// shows this first and then fails, rather than answering from part of a base or none.
std::string CityBaseFailure(const places::CityBaseLoad& load, const std::filesystem::path& file);

using Subcommand = std::function<int(const std::vector<std::string>& args, const CliContext&,
                                     std::ostream& out, std::ostream& err)>;

// Runs "kelvara-cli SUBCOMMAND ARGS..." (args without the program name);
// "kelvara-cli --help" (or -h) prints the usage on standard output.
int RunCli(const std::vector<std::string>& args, const CliContext& context, std::ostream& out,
           std::ostream& err);

// place NAME [--at "DD.MM.YYYY HH:MM"] [--utc]
int RunPlaceCommand(const std::vector<std::string>& args, const CliContext& context,
                    std::ostream& out, std::ostream& err);

// chart --name NAME --date DD.MM.YYYY --time HH:MM[:SS] (--gmt +HH:MM | --place NAME)
//       [--lat 55n45 --lon 037e37] [--house N] [--kind ID --target DD.MM.YYYY
//       [--target-time HH:MM]] [--composite|--midpoint --name2 ... --lon2] [--format text|csv]
//       [--save FILE.kvd]
// chart --open FILE.kvd [--kind ...] [--save FILE.kvd] [--format text|csv]
int RunChartCommand(const std::vector<std::string>& args, const CliContext& context,
                    std::ostream& out, std::ostream& err);

// events (CHART OPTIONS | --open FILE.kvd) (--day DD.MM.YYYY [--steps 0-7] |
//        --from DD.MM.YYYY --to DD.MM.YYYY [--method tr|pr|dr|bg]) [--place NAME] [--format text|csv]
// The day scan's lists of one day, or the scanner's events over whole days by culmination;
// times in UTC, or on the clock of the place (with birth data also the birth place).
int RunEventsCommand(const std::vector<std::string>& args, const CliContext& context,
                     std::ostream& out, std::ostream& err);

// chains (CHART OPTIONS | --open FILE.kvd) [--by rulership|exaltation|exile|fall|all]
//        [--tradition west|avesta] [--tables FILE] [--format text|csv] [--picture FILE [--size N]]
// The dispositor chains of the main chart, printed, or one kind drawn into a picture.
int RunChainsCommand(const std::vector<std::string>& args, const CliContext& context,
                     std::ostream& out, std::ostream& err);
// Its lines of the usage, which it also shows when it refuses its options.
std::string_view ChainsUsage();

// aspects [--table 1|2] [--format text|csv]
// The aspect tables in use: "asp1." and "asp2." under the data-file prefix, else the defaults.
int RunAspectsCommand(const std::vector<std::string>& args, const CliContext& context,
                      std::ostream& out, std::ostream& err);
std::string_view AspectsUsage();

// text (CHART OPTIONS | --open FILE.kvd) [--double|--alone]
//      (--section NAME | --request TEXT [--short] [--section NAME] | --list-sections) [--output FILE]
// The interpretation texts of the chart or of one point, from the text library.
int RunTextCommand(const std::vector<std::string>& args, const CliContext& context,
                   std::ostream& out, std::ostream& err);
std::string_view TextUsage();

// calendar lunar|hours|void|aspects --from DD.MM.YYYY --to DD.MM.YYYY (--place NAME | --lat --lon)
//          [--phases ...] [--aspects ...] [CHART OPTIONS [--second 51|52] [--background]]
//          [--table] [--save FILE] [--format text|csv|ics]
// calendar read FILE [--table] [--format text|csv|ics]
// The four calendars over whole days, or a calendar file read back.
int RunCalendarCommand(const std::vector<std::string>& args, const CliContext& context,
                       std::ostream& out, std::ostream& err);
std::string_view CalendarUsage();

#ifdef KELVARA_CLI_RENDER
// render CHART OPTIONS [--avesta] [--from-aries] [--sort] [--degrees] [--iching]
//        [--format png|svg|pdf] [--size N] --out FILE
// The wheel of the chart (with --kind or a second person's data, the second chart around
// it) drawn headless into a square picture; built with Qt only.
int RunRenderCommand(const std::vector<std::string>& args, const CliContext& context,
                     std::ostream& out, std::ostream& err);
#endif

}  // namespace kelvara::cli
