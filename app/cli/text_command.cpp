// text: the interpretation texts of a chart, or of one point, from the text library
// beside the program and the user's own, printed in UTF-8.
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/asp_tables.h"
#include "app/cli/chart_request.h"
#include "app/cli/cli.h"
#include "display/chart_wheel.h"
#include "interpretation/interpret.h"
#include "interpretation/report.h"
#include "platform/codepage.h"
#include "platform/file_io.h"
#include "workspace/aspect_finder.h"

namespace kelvara::cli {
namespace {

namespace in = interpretation;
namespace ws = workspace;

constexpr const char* kCommand = "kelvara-cli text: ";
constexpr std::string_view kShortSuffix = " short";

constexpr const char* kUsage =
    "  text ПАРАМЕТРЫ_КАРТЫ | --open ФАЙЛ.kvd [--double | --alone]\n"
    "       (--section НАЗВАНИЕ | --request ТЕКСТ [--short] [--section НАЗВАНИЕ] | --list-sections)\n"
    "       [--output ФАЙЛ]\n"
    "      тексты интерпретации из библиотеки TXT_ST рядом с программой и из\n"
    "      $XDG_DATA_HOME/kelvara/TXT_ST; ПАРАМЕТРЫ_КАРТЫ - те же, что у chart, кроме --format\n"
    "      и --save; со второй картой (--kind или --name2 ...) - обе карты (--double, по\n"
    "      умолчанию) или вторая отдельно (--alone); --section - тематический раздел по\n"
    "      названию; --request - текст точки (\"11-й градус Овна\", \"17 И-Цзин\",\n"
    "      \"12-й лунный день\"), --short - краткий текст гексаграммы; --list-sections -\n"
    "      разделы папки карты или запроса; --output - файл (Windows-1251) вместо вывода\n";

struct TextOptions {
  ChartOptions chart;
  std::optional<std::string> section, request, output;
  bool shortText = false, listSections = false, doubleChart = false, alone = false;
};

int Refuse(const Failure& failure, std::ostream& err) {
  const int status = Report(kCommand, failure, err);
  if (status == kExitUsage) err << "Использование: kelvara-cli\n" << kUsage;
  return status;
}

std::optional<Failure> CheckOptions(const TextOptions& options) {
  const int modes = int(options.request.has_value()) + int(options.listSections) +
                    int(options.section.has_value() && !options.request);
  if (modes != 1) return Failure{"нужно одно из --section, --request и --list-sections"};
  if (options.shortText && !options.request) return Failure{"--short задается вместе с --request"};
  if (options.doubleChart && options.alone) return Failure{"нужно одно из --double и --alone"};
  return std::nullopt;
}

std::filesystem::path UserLibraryRoot() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  const std::filesystem::path base = dataHome && *dataHome ? std::filesystem::path(dataHome)
                                                           : std::filesystem::path(home ? home : ".") / ".local/share";
  return base / "kelvara" / in::kLibraryFolderName;
}

std::vector<std::string> WheelAspectDescriptions(ws::WorkspaceState& state, const ws::AspectTables& tables) {
  display::WheelInput wheel;
  const bool both = state.doubleChart && !state.secondAlone;
  wheel.inner = state.secondAlone ? &state.second.objects : &state.main.objects;
  wheel.outer = both ? &state.second.objects : nullptr;
  wheel.outerName = both ? state.second.name : std::string();
  wheel.aspects = both ? &tables.between : &tables.single;
  const ws::AspectFinderInput finder = display::WheelAspectFinder(wheel);
  std::vector<std::string> descriptions;
  for (const ws::FoundAspect& found : ws::FindAspects(finder))
    descriptions.push_back(display::WheelAspectEntry(finder, found).text);
  return descriptions;
}

std::string RequestText(const TextOptions& options) {
  if (!options.request) return {};
  return options.shortText ? *options.request + std::string(kShortSuffix) : *options.request;
}

// The section the options name, by index; the first when none is named.
in::PickSection PickByName(const std::optional<std::string>& wanted, std::string& unknown) {
  return [&wanted, &unknown](const in::SectionChoice& choice) -> std::optional<std::size_t> {
    if (!wanted) return 0;
    const auto names = choice.Names();
    for (std::size_t i = 0; i < names.size(); ++i)
      if (names[i] == *wanted) return i;
    unknown = "нет раздела \"" + *wanted + "\"; разделы:";
    for (const auto& name : names) unknown += "\n  " + name;
    return std::nullopt;
  };
}

int ListSections(const in::InterpretContext& context, const std::string& request, std::ostream& out,
                 std::ostream& err) {
  const std::string_view kindFolder = in::KindFolderOfRequest(request, *context.keys.state);
  const in::SectionList list = in::ListSections(context.libraryRoots, kindFolder);
  if (!list.message.empty()) return Refuse({list.message, kExitFailure}, err);
  for (const in::Section& section : list.sections) out << section.name << "\n";
  return kExitOk;
}

std::filesystem::path ScratchTextFile() {
  return std::filesystem::temp_directory_path() / ("kelvara-text-" + std::to_string(::getpid()) + ".txt");
}

int PrintResult(const in::InterpretResult& result, const TextOptions& options, const std::string& unknown,
                std::ostream& out, std::ostream& err) {
  for (const std::string& message : result.messages) err << kCommand << message << "\n";
  if (!unknown.empty()) return Refuse({unknown, kExitFailure}, err);
  if (!result.messages.empty()) return kExitFailure;
  if (options.shortText) {
    out << result.shortText;
    return kExitOk;
  }
  if (result.writtenFile.empty()) return Refuse({"текст не получен", kExitFailure}, err);
  if (!options.output) {
    out << platform::Cp1251ToUtf8(platform::ReadFileBytes(result.writtenFile).value_or(""));
    std::error_code ignored;
    std::filesystem::remove(result.writtenFile, ignored);
  }
  return kExitOk;
}

}  // namespace

std::string_view TextUsage() { return kUsage; }

int RunTextCommand(const std::vector<std::string>& args, const CliContext& context, std::ostream& out,
                   std::ostream& err) {
  TextOptions options;
  const CommandOptions own{{{"--section", &options.section},
                            {"--request", &options.request},
                            {"--output", &options.output}},
                           {{"--short", &options.shortText},
                            {"--list-sections", &options.listSections},
                            {"--double", &options.doubleChart},
                            {"--alone", &options.alone}}};
  if (auto failure = ParseChartOptions(args, options.chart, own)) return Refuse(*failure, err);
  if (auto failure = CheckOptions(options)) return Refuse(*failure, err);
  auto charts = ComputeRequestedCharts(options.chart, context, SecondPerson::kOwnChart);
  if (!charts.value) return Refuse(charts.failure, err);
  if ((options.doubleChart || options.alone) && !charts.value->second)
    return Refuse({"--double и --alone требуют второй карты (--kind или --name2 ...)"}, err);

  ws::WorkspaceState state;
  state.main = charts.value->main;
  state.doubleChart = charts.value->second.has_value();
  if (charts.value->second) state.second = *charts.value->second;
  state.secondAlone = options.alone;

  ws::AspectTables tables;
  for (const std::string& message : app::LoadAspectTables((context.dataDir / "").string(), tables))
    err << kCommand << message << "\n";
  const ws::DignityTable rulers = ws::DefaultDignityTables(ws::Tradition::kWestern).rulership;
  in::InterpretContext interpret;
  interpret.libraryRoots = {context.dataDir / in::kLibraryFolderName, UserLibraryRoot()};
  interpret.keys = {&state, &rulers, WheelAspectDescriptions(state, tables), {}};
  const ws::ChartRecord& shown = state.doubleChart && state.secondAlone ? state.second : state.main;
  interpret.builtInSection = [&] {
    in::ReportResult report = in::Report(shown, tables.single, interpret.libraryRoots.front());
    return std::make_pair(std::move(report.pieces), std::move(report.messages));
  };
  interpret.temporaryFile = options.output ? std::filesystem::path(*options.output) : ScratchTextFile();

  const std::string request = RequestText(options);
  if (options.listSections) return ListSections(interpret, request, out, err);
  std::string unknown;
  const in::InterpretResult result = in::Interpret(request, interpret, PickByName(options.section, unknown));
  return PrintResult(result, options, unknown, out, err);
}

}  // namespace kelvara::cli
