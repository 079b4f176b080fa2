// chains: the dispositor chains of the chart the chart command computes, by one dignity
// or all four, as a table, as CSV or as the chains picture ("Формула Души").
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/chart_output.h"
#include "app/cli/chart_request.h"
#include "app/cli/tradition_option.h"
#include "app/cli/cli.h"
#include "app/cli/picture_file.h"
#include "app/messages.h"
#include "app/stored_file.h"
#include "interpretation/dispositor_chains.h"
#include "interpretation/tradition_flags.h"
#include "platform/csv.h"
#include "workspace/dignity_tables.h"

#ifdef KELVARA_CLI_RENDER
#include "app/chains_picture.h"
#include "interpretation/chain_picture.h"
#endif

namespace kelvara::cli {
namespace {

namespace in = interpretation;
namespace ws = workspace;
using in::ChainKind;

constexpr const char* kCommand = "kelvara-cli chains: ";
constexpr const char* kAllKinds = "all";
constexpr const char* kNone = "—";
constexpr const char* kCsvHeader = "kind,object,sign,dispositors,centre\n";

constexpr const char* kUsage =
    "  chains ПАРАМЕТРЫ_КАРТЫ | --open ФАЙЛ.kvd [--by rulership|exaltation|exile|fall|all]\n"
    "         [--tradition west|avesta] [--tables ФАЙЛ] [--format text|csv]\n"
    "         [--picture ФАЙЛ.png|.svg|.pdf [--size N]]\n"
    "      планетарные цепочки основной карты (с --kind - натальной); ПАРАМЕТРЫ_КАРТЫ - те же,\n"
    "      что у chart, кроме --format и --save; --by - вид цепочек: по управлению,\n"
    "      экзальтации, изгнанию, падению или все четыре (all, по умолчанию);\n"
    "      --tradition - западная (west, по умолчанию) или авестийская (avesta: видны также\n"
    "      Хирон, Прозерпина, Н.Узел, Селена и Лилит); --tables - файл таблиц \"upr.\" вместо\n"
    "      таблиц традиции; строка: объект, знак, диспозиторы, метка, надпись, затем группы;\n"
    "      csv: kind,object,sign,dispositors,centre; --picture - рисунок цепочек одного вида\n"
    "      вместо текста (без --by - по управлению), формат по расширению, иначе png;\n"
    "      --size - сторона в пикселях (100-8000, по умолчанию 600)\n";

struct KindEntry {
  ChainKind kind;
  const char* option;
  const char* caption;  // the menu's text
};
constexpr std::array<KindEntry, 4> kKinds = {{{ChainKind::kRulership, "rulership", "по управлению"},
                                              {ChainKind::kExaltation, "exaltation", "по экзальтации"},
                                              {ChainKind::kExile, "exile", "по изгнанию"},
                                              {ChainKind::kFall, "fall", "по падению"}}};

struct GroupCaption {
  int type;
  const char* caption;
};
constexpr std::array<GroupCaption, 2> kGroupCaptions = {{{in::kClosedCycle, "замкнутый цикл"},
                                                         {in::kOwnSign, "в своем знаке"}}};

constexpr int kObjectColumn = 15;
constexpr int kSignColumn = 10;
constexpr int kDispositorsColumn = 24;
constexpr int kMarkColumn = 15;

struct ChainsOptions {
  ChartOptions chart;
  std::optional<std::string> by, tradition, tables, format, picture, size;
};

// What the options ask for, all checked before anything is read or computed.
struct ChainsRequest {
  std::vector<KindEntry> kinds;
  TraditionEntry tradition;
  bool csv = false;
  std::optional<PictureFile> picture;  // drawn instead of the text
};

template <typename Entry, std::size_t N>
const Entry* Named(const std::array<Entry, N>& entries, std::string_view option) {
  for (const Entry& entry : entries) {
    if (option == entry.option) return &entry;
  }
  return nullptr;
}

// A picture shows one kind; without --by it is the rulership.
Result<std::vector<KindEntry>> KindsOf(const ChainsOptions& options) {
  using R = Result<std::vector<KindEntry>>;
  const std::string by = options.by.value_or(options.picture ? kKinds.front().option : kAllKinds);
  if (by == kAllKinds) {
    if (options.picture) return R::Fail("рисунок - цепочки одного вида: --by rulership, exaltation, exile или fall");
    return {std::vector<KindEntry>(kKinds.begin(), kKinds.end()), {}};
  }
  if (const KindEntry* kind = Named(kKinds, by)) return {std::vector<KindEntry>{*kind}, {}};
  return R::Fail("вид цепочек --by должен быть rulership, exaltation, exile, fall или all");
}

#ifdef KELVARA_CLI_RENDER
constexpr int kDefaultPictureSide = 600;

// The picture's format and side, refused before anything is computed.
std::optional<Failure> AddPicture(const ChainsOptions& options, ChainsRequest& request) {
  if (!options.picture) return std::nullopt;
  auto picture = PictureFileOf(*options.picture, std::nullopt, options.size, kDefaultPictureSide);
  if (!picture.value) return picture.failure;
  request.picture = std::move(picture.value);
  return std::nullopt;
}

std::optional<Failure> WritePicture(const PictureFile& picture, const KindEntry& kind, const ws::ChartRecord& chart,
                                    const ws::DignityTables& tables, const CliContext& context, std::ostream& err) {
  PrepareHeadlessDrawing(context.dataDir, kCommand, err);
  const in::ChartChains chains = in::BuildChains(chart.objects, tables, kind.kind);
  in::ChainLayout layout;
  platform::GlyphFitCache glyphHeights;
  bool layoutFailed = false;
  const platform::Rect square{0, 0, picture.side, picture.side};
  const auto draw = [&](platform::Canvas& canvas) {
    layoutFailed = in::DrawChains(canvas, square, app::kChainsGlyphScale, chart.objects, chains, layout, kind.kind,
                                  &glyphHeights)
                       .layoutFailed;
  };
  if (!ExportPicture(picture, draw, chart.name)) return Failure{app::kCannotWriteFile + picture.path, kExitFailure};
  if (layoutFailed) err << kCommand << "предупреждение: " << in::kLayoutFailedText << "\n";
  return std::nullopt;
}
#else
std::optional<Failure> AddPicture(const ChainsOptions& options, ChainsRequest&) {
  if (options.picture) return Failure{"рисунки не входят в эту сборку программы"};
  return std::nullopt;
}

// Never reached: every picture is refused above.
std::optional<Failure> WritePicture(const PictureFile&, const KindEntry&, const ws::ChartRecord&,
                                    const ws::DignityTables&, const CliContext&, std::ostream&) {
  return std::nullopt;
}
#endif

Result<ChainsRequest> RequestOf(const ChainsOptions& options) {
  using R = Result<ChainsRequest>;
  const auto kinds = KindsOf(options);
  if (!kinds.value) return {std::nullopt, kinds.failure};
  const TraditionEntry* tradition = TraditionOfOption(options.tradition);
  if (!tradition) return R::Fail(std::string(kBadTraditionMessage));
  const std::string format = options.format.value_or("text");
  if (format != "text" && format != "csv") return R::Fail("формат должен быть text или csv");
  if (options.picture && options.format) return R::Fail("нужно одно из --format и --picture");
  if (options.size && !options.picture) return R::Fail("--size задается вместе с --picture");
  ChainsRequest request{*kinds.value, *tradition, format == "csv", std::nullopt};
  if (auto failure = AddPicture(options, request)) return {std::nullopt, *failure};
  return {std::move(request), {}};
}

// The file's tables when one is given, else the tradition's own.
Result<ws::DignityTables> TablesOf(const ChainsOptions& options, ws::Tradition tradition) {
  if (!options.tables) return {ws::DefaultDignityTables(tradition), {}};
  std::string message;
  if (auto tables = app::LoadStoredFile(*options.tables, ws::DecodeDignityTables, message)) return {*tables, {}};
  if (message.empty()) message = app::kCannotOpenFile + *options.tables;  // no such file
  return Result<ws::DignityTables>::Fail(message, kExitFailure);
}

std::string Names(const std::vector<int>& objects, std::string_view separator) {
  std::string names;
  for (int object : objects) {
    if (!names.empty()) names += separator;
    names += ws::SlotName(object);
  }
  return names;
}

// At least one blank after the text, so that a long list never runs into the next column.
std::string Column(const std::string& text, int width) { return app::Padded(text + " ", width); }

std::string WithoutTrailingBlanks(std::string line) {
  line.erase(line.find_last_not_of(' ') + 1);
  return line;
}

const char* GroupCaptionOf(int type) {
  for (const GroupCaption& group : kGroupCaptions) {
    if (group.type == type) return group.caption;
  }
  return "";
}

void PrintKindText(const KindEntry& kind, const ws::ObjectTable& objects, const in::ChartChains& chains,
                   std::ostream& out) {
  out << "Планетарные цепочки " << kind.caption << "\n"
      << Column("Объект", kObjectColumn) << Column("Знак", kSignColumn) << Column("Диспозиторы", kDispositorsColumn)
      << Column("Метка", kMarkColumn) << "Надпись\n";
  for (int object = in::kFirstChainObject; object <= in::kLastChainObject; ++object) {
    if (!in::TakesPartInChains(objects[object])) continue;
    const in::ChainLinks& links = chains.objects[object];
    const std::string dispositors = Names(links.dispositors, ", ");
    out << WithoutTrailingBlanks(Column(std::string(ws::SlotName(object)), kObjectColumn) +
                                 Column(std::string(ws::SignName(objects[object].sign)), kSignColumn) +
                                 Column(dispositors.empty() ? kNone : dispositors, kDispositorsColumn) +
                                 Column(links.mark ? std::string(ws::SlotName(links.mark)) : kNone, kMarkColumn) +
                                 links.label)
        << "\n";
  }
  out << "Группы:" << (chains.groups.empty() ? " нет" : "") << "\n";
  for (const in::ChainGroup& group : chains.groups) {
    out << "  тип " << group.type << ", " << GroupCaptionOf(group.type) << ": " << Names(group.members, ", ") << "\n";
  }
}

void PrintKindCsv(const KindEntry& kind, const ws::ObjectTable& objects, const in::ChartChains& chains,
                  std::ostream& out) {
  for (int object = in::kFirstChainObject; object <= in::kLastChainObject; ++object) {
    if (!in::TakesPartInChains(objects[object])) continue;
    const in::ChainLinks& links = chains.objects[object];
    out << kind.option << ',' << platform::CsvField(ws::SlotName(object)) << ','
        << platform::CsvField(ws::SignName(objects[object].sign)) << ','
        << platform::CsvField(Names(links.dispositors, ";")) << ',' << (links.label == in::kCentreLabel ? 1 : 0)
        << "\n";
  }
}

void PrintChains(const ChainsRequest& request, const ws::ChartRecord& chart, const ws::DignityTables& tables,
                 std::ostream& out) {
  if (request.csv) {
    out << kCsvHeader;
  } else {
    out << chart.name << " — " << chart.title << "; " << request.tradition.caption << "\n";
  }
  for (const KindEntry& kind : request.kinds) {
    const in::ChartChains chains = in::BuildChains(chart.objects, tables, kind.kind);
    if (request.csv) {
      PrintKindCsv(kind, chart.objects, chains, out);
    } else {
      out << "\n";
      PrintKindText(kind, chart.objects, chains, out);
    }
  }
}

// A usage error shows the command's usage after the reason.
int Refuse(const Failure& failure, std::ostream& err) {
  const int status = Report(kCommand, failure, err);
  if (status == kExitUsage) err << "Использование: kelvara-cli\n" << kUsage;
  return status;
}

}  // namespace

std::string_view ChainsUsage() { return kUsage; }

int RunChainsCommand(const std::vector<std::string>& args, const CliContext& context, std::ostream& out,
                     std::ostream& err) {
  ChainsOptions options;
  const CommandOptions own{{{"--by", &options.by},
                            {"--tradition", &options.tradition},
                            {"--tables", &options.tables},
                            {"--format", &options.format},
                            {"--picture", &options.picture},
                            {"--size", &options.size}},
                           {}};
  if (auto failure = ParseChartOptions(args, options.chart, own)) return Refuse(*failure, err);
  const auto request = RequestOf(options);
  if (!request.value) return Refuse(request.failure, err);
  const auto tables = TablesOf(options, request.value->tradition.tradition);
  if (!tables.value) return Refuse(tables.failure, err);
  auto charts = ComputeRequestedCharts(options.chart, context, SecondPerson::kMergedOnly);
  if (!charts.value) return Refuse(charts.failure, err);

  ws::ChartRecord& chart = charts.value->main;
  in::ApplyTraditionFlags(chart.objects, request.value->tradition.tradition);
  if (const auto& picture = request.value->picture) {
    const auto failure = WritePicture(*picture, request.value->kinds.front(), chart, *tables.value, context, err);
    return failure ? Refuse(*failure, err) : kExitOk;
  }
  PrintChains(*request.value, chart, *tables.value, out);
  return kExitOk;
}

}  // namespace kelvara::cli
