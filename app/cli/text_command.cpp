// text: the interpretation texts of a chart, or of one point, from the text library
// beside the program and the user's own, printed in UTF-8.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/asp_tables.h"
#include "app/interpretation_texts.h"
#include "app/cli/chart_request.h"
#include "app/cli/cli.h"
#include "app/cli/tradition_option.h"
#include "interpretation/interpret.h"
#include "interpretation/library_check.h"
#include "interpretation/report.h"
#include "interpretation/tradition_flags.h"
#include "platform/codepage.h"
#include "platform/file_io.h"

namespace kelvara::cli {
namespace {

namespace in = interpretation;
namespace ws = workspace;

constexpr const char* kCommand = "kelvara-cli text: ";
constexpr std::string_view kShortSuffix = " short";

constexpr const char* kUsage =
    "  text ПАРАМЕТРЫ_КАРТЫ | --open ФАЙЛ.kvd [--double | --alone]\n"
    "       (--section НАЗВАНИЕ | --request ТЕКСТ [--short] [--section НАЗВАНИЕ] | --list-sections |\n"
    "        --report) [--tradition west|avesta] [--output ФАЙЛ]\n"
    "  text --check-library ПАПКА\n"
    "      тексты интерпретации из библиотеки TXT_ST рядом с программой и из\n"
    "      $XDG_DATA_HOME/kelvara/TXT_ST; ПАРАМЕТРЫ_КАРТЫ - те же, что у chart, кроме --format\n"
    "      и --save; со второй картой (--kind или --name2 ...) - обе карты (--double, по\n"
    "      умолчанию) или вторая отдельно (--alone); --section - тематический раздел по\n"
    "      названию; --request - текст точки (\"11-й градус Овна\", \"17 И-Цзин\",\n"
    "      \"12-й лунный день\"), --short - краткий текст гексаграммы; --list-sections -\n"
    "      разделы папки карты или запроса; --report - гороскоп (раздел \"Кельвара\") любой\n"
    "      карты; --tradition - управители и объекты западной (west, по умолчанию) или\n"
    "      авестийской (avesta) традиции; --composite и --midpoint с --name2 ... - общая\n"
    "      карта; --output - файл (Windows-1251) вместо вывода; --check-library - проверка\n"
    "      библиотеки: отсутствующие файлы, разделы без Name.thm и ключи, которые не строит\n"
    "      ни одна карта (код 1, если что-то найдено)\n";

struct TextOptions {
  ChartOptions chart;
  std::optional<std::string> section, request, output, tradition, checkLibrary;
  bool shortText = false, listSections = false, doubleChart = false, alone = false, report = false;
};

int Refuse(const Failure& failure, std::ostream& err) {
  const int status = Report(kCommand, failure, err);
  if (status == kExitUsage) err << "Использование: kelvara-cli\n" << kUsage;
  return status;
}

std::optional<Failure> CheckOptions(const TextOptions& options) {
  const int modes = int(options.request.has_value()) + int(options.listSections) + int(options.report) +
                    int(options.section.has_value() && !options.request);
  if (modes != 1) return Failure{"нужно одно из --section, --request, --list-sections и --report"};
  if (!TraditionOfOption(options.tradition)) return Failure{std::string(kBadTraditionMessage)};
  if (options.shortText && !options.request) return Failure{"--short задается вместе с --request"};
  if (options.doubleChart && options.alone) return Failure{"нужно одно из --double и --alone"};
  return std::nullopt;
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

ws::AspectTables LoadedAspectTables(const CliContext& context, std::ostream& err) {
  ws::AspectTables tables;
  for (const std::string& message : app::LoadAspectTables((context.dataDir / "").string(), tables))
    err << kCommand << message << "\n";
  return tables;
}

// The angles of every aspect either table knows, enabled or not: the user may enable any.
std::vector<double> AspectAngles(const ws::AspectTables& tables) {
  std::vector<double> angles;
  for (const ws::AspectTable* table : {&tables.single, &tables.between})
    for (const ws::AspectRecord& aspect : *table)
      if (std::find(angles.begin(), angles.end(), aspect.angle) == angles.end()) angles.push_back(aspect.angle);
  return angles;
}

int CheckLibraryFolder(const std::filesystem::path& root, const CliContext& context, std::ostream& out,
                       std::ostream& err) {
  if (!std::filesystem::is_directory(root)) return Refuse({"нет папки " + root.string(), kExitFailure}, err);
  const in::LibraryFindings findings = in::CheckLibrary(root, AspectAngles(LoadedAspectTables(context, err)));
  for (const std::string& file : findings.missingFiles) out << "нет файла: " << file << "\n";
  for (const std::string& section : findings.unnamedSections) out << "нет Name.thm: " << section << "\n";
  for (const std::string& key : findings.unbuildableKeys) out << "ключ не строится: " << key << "\n";
  return findings.Clean() ? kExitOk : kExitFailure;
}

void ApplyTradition(ws::WorkspaceState& state, ws::Tradition tradition) {
  in::ApplyTraditionFlags(state.main.objects, tradition);
  in::ApplyTraditionFlags(state.second.objects, tradition);
  if (!state.merged) return;
  in::ApplyTraditionFlags(state.merged->main.objects, tradition);
  in::ApplyTraditionFlags(state.merged->second.objects, tradition);
}

int PrintReport(const ws::WorkspaceState& state, const ws::AspectTables& tables,
                const std::filesystem::path& libraryRoot, const TextOptions& options, std::ostream& out,
                std::ostream& err) {
  const in::ReportResult report = in::Report(app::ReportedChart(state), tables.single, libraryRoot);
  for (const std::string& message : report.messages) err << kCommand << message << "\n";
  if (!options.output) {
    out << platform::Cp1251ToUtf8(report.Text());
  } else if (!platform::WriteFileAtomically(*options.output, report.Text())) {
    return Refuse({platform::kCannotWriteFile + *options.output, kExitFailure}, err);
  }
  return report.messages.empty() ? kExitOk : kExitFailure;
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
                            {"--output", &options.output},
                            {"--tradition", &options.tradition},
                            {"--check-library", &options.checkLibrary}},
                           {{"--short", &options.shortText},
                            {"--list-sections", &options.listSections},
                            {"--double", &options.doubleChart},
                            {"--alone", &options.alone},
                            {"--report", &options.report}}};
  if (auto failure = ParseChartOptions(args, options.chart, own)) return Refuse(*failure, err);
  if (options.checkLibrary) return CheckLibraryFolder(*options.checkLibrary, context, out, err);
  if (auto failure = CheckOptions(options)) return Refuse(*failure, err);
  auto charts = ComputeRequestedCharts(options.chart, context, SecondPerson::kOwnChart);
  if (!charts.value) return Refuse(charts.failure, err);
  if ((options.doubleChart || options.alone) && !charts.value->second)
    return Refuse({"--double и --alone требуют второй карты (--kind или --name2 ...)"}, err);

  ws::WorkspaceState state;
  state.main = charts.value->main;
  state.doubleChart = charts.value->second.has_value();
  if (charts.value->second) state.second = *charts.value->second;
  state.merged = charts.value->merged;
  state.secondAlone = options.alone;
  const ws::Tradition tradition = TraditionOfOption(options.tradition)->tradition;
  ApplyTradition(state, tradition);

  const ws::AspectTables tables = LoadedAspectTables(context, err);
  const ws::DignityTable rulers = ws::DefaultDignityTables(tradition).rulership;
  in::InterpretContext interpret =
      app::MakeInterpretContext({state, tables, rulers, app::TextLibraryRoots(context.dataDir / in::kLibraryFolderName)});
  if (options.report) return PrintReport(state, tables, interpret.libraryRoots.front(), options, out, err);
  interpret.temporaryFile = options.output ? std::filesystem::path(*options.output) : ScratchTextFile();

  const std::string request = RequestText(options);
  if (options.listSections) return ListSections(interpret, request, out, err);
  std::string unknown;
  const in::InterpretResult result = in::Interpret(request, interpret, PickByName(options.section, unknown));
  return PrintResult(result, options, unknown, out, err);
}

}  // namespace kelvara::cli
