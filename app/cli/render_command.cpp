// render: the chart wheel of the charts the chart command computes, drawn into a PNG,
// SVG or PDF file without a screen.
#include <QFileInfo>
#include <QGuiApplication>

#include <array>
#include <cstdlib>
#include <utility>

#include "app/asp_tables.h"
#include "app/cli/chart_request.h"
#include "app/cli/cli.h"
#include "app/messages.h"
#include "app/wheel_input.h"
#include "platform/glyph.h"
#include "platform/qt/qt_canvas.h"
#include "platform/view_scale.h"

namespace kelvara::cli {
namespace {

using workspace::ChartRecord;

constexpr const char* kCommand = "kelvara-cli render: ";
constexpr const char* kFontsFolder = "fonts";
constexpr int kMinSide = 100;
constexpr int kMaxSide = 8000;
constexpr int kDefaultSide = 800;

enum class PictureFormat { kPng, kSvg, kPdf };

struct FormatName {
  PictureFormat format;
  const char* name;
};
constexpr std::array<FormatName, 3> kFormats = {{{PictureFormat::kPng, "png"},
                                                 {PictureFormat::kSvg, "svg"},
                                                 {PictureFormat::kPdf, "pdf"}}};

struct RenderOptions {
  ChartOptions chart;
  std::optional<std::string> format, size, out;
  app::Settings settings;  // the program's defaults with the wheel's switches of the command
};

struct Picture {
  PictureFormat format = PictureFormat::kPng;
  int side = kDefaultSide;
  QString file;
};

std::optional<PictureFormat> FormatNamed(const QString& name) {
  for (const FormatName& known : kFormats) {
    if (name.compare(QLatin1String(known.name), Qt::CaseInsensitive) == 0) return known.format;
  }
  return std::nullopt;
}

// The format asked for, else the one the file's extension names, else PNG.
Result<PictureFormat> FormatOf(const RenderOptions& options, const QString& file) {
  if (!options.format) return {FormatNamed(QFileInfo(file).suffix()).value_or(PictureFormat::kPng), {}};
  if (const auto format = FormatNamed(QString::fromStdString(*options.format))) return {*format, {}};
  return Result<PictureFormat>::Fail("формат должен быть png, svg или pdf");
}

Result<int> SideOf(const RenderOptions& options) {
  if (!options.size) return {kDefaultSide, {}};
  const auto side = WholeNumber(*options.size);
  if (!side || *side < kMinSide || *side > kMaxSide) {
    return Result<int>::Fail("неверный параметр --size \"" + *options.size + "\": нужно от " +
                             std::to_string(kMinSide) + " до " + std::to_string(kMaxSide));
  }
  return {*side, {}};
}

Result<Picture> PictureOf(const RenderOptions& options) {
  if (!options.out) return Result<Picture>::Fail("нужен параметр --out ФАЙЛ");
  Picture picture;
  picture.file = QString::fromStdString(*options.out);
  const auto format = FormatOf(options, picture.file);
  if (!format.value) return {std::nullopt, format.failure};
  const auto side = SideOf(options);
  if (!side.value) return {std::nullopt, side.failure};
  picture.format = *format.value;
  picture.side = *side.value;
  return {picture, {}};
}

std::optional<Failure> ParseRenderOptions(const std::vector<std::string>& args, RenderOptions& options) {
  app::Settings& s = options.settings;
  const CommandOptions own{
      {{"--format", &options.format}, {"--size", &options.size}, {"--out", &options.out}},
      {{"--avesta", &s.avesta},
       {"--from-aries", &s.fromAries},
       {"--sort", &s.sortAlongZodiac},
       {"--degrees", &s.degreesShown},
       {"--iching", &s.iChing}}};
  return ParseChartOptions(args, options.chart, own);
}

// A chart without houses has no cusps, so the wheel is drawn without the house ring.
void DropCuspsWithoutHouses(ChartRecord& chart) {
  if (chart.houseSystem != workspace::kNoHouses) return;
  for (int slot = workspace::kSlotFirstCusp; slot <= workspace::kSlotLastCusp; ++slot) {
    chart.objects[slot].longitude = workspace::kNotAvailable;
    chart.objects[slot].speed = workspace::kNotAvailable;
  }
}

workspace::WorkspaceState ChartsShown(RequestedCharts charts) {
  workspace::WorkspaceState state;
  state.main = std::move(charts.main);
  DropCuspsWithoutHouses(state.main);
  if (charts.second) {
    state.second = std::move(*charts.second);
    DropCuspsWithoutHouses(state.second);
    state.doubleChart = true;
  }
  return state;
}

// Qt's notes about its surroundings (in English, on the runtime folder and the like) are
// none of the command's messages.
void IgnoreQtNote(QtMsgType, const QMessageLogContext&, const QString&) {}

// The application the canvas needs, made once for the process and never destroyed, as
// Qt's own statics may outlive it. Offscreen, so that no display is needed or used.
void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(IgnoreQtNote);
  static int argc = 1;
  static char name[] = "kelvara-cli";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
}

// The program's fonts; a missing glyph font is said, and other faces stand in for it.
void RegisterProgramFonts(const std::filesystem::path& dataDir, std::ostream& err) {
  const std::filesystem::path folder = dataDir / kFontsFolder;
  platform::RegisterFontFiles(folder);
  const QString glyphFace = QLatin1String(platform::kGlyphFace);
  if (platform::ResolveFontFamily(glyphFace).compare(glyphFace, Qt::CaseInsensitive) != 0) {
    err << kCommand << "предупреждение: нет шрифта знаков " << platform::kGlyphFace << " в папке "
        << folder.string() << ", знаки нарисованы другим шрифтом\n";
  }
}

app::AspectTables ProgramAspectTables(const std::filesystem::path& dataDir, std::ostream& err) {
  app::AspectTables tables;
  for (const std::string& message : app::LoadAspectTables((dataDir / "").string(), tables)) {
    err << kCommand << "предупреждение: " << message << "\n";
  }
  return tables;
}

bool Export(const Picture& picture, const platform::PictureDrawer& draw, const QString& title) {
  const platform::Size size{picture.side, picture.side};
  switch (picture.format) {
    case PictureFormat::kSvg: return platform::ExportPictureSvg(draw, size, picture.file, title);
    case PictureFormat::kPdf: return platform::ExportPicturePdf(draw, size, picture.file, title);
    case PictureFormat::kPng: break;
  }
  return platform::ExportPicturePng(draw, size, picture.file);
}

}  // namespace

int RunRenderCommand(const std::vector<std::string>& args, const CliContext& context, std::ostream&,
                     std::ostream& err) {
  RenderOptions options;
  if (auto failure = ParseRenderOptions(args, options)) return Report(kCommand, *failure, err);
  const auto picture = PictureOf(options);
  if (!picture.value) return Report(kCommand, picture.failure, err);
  auto charts = ComputeRequestedCharts(options.chart, context, SecondPerson::kOwnChart);
  if (!charts.value) return Report(kCommand, charts.failure, err);

  EnsureGuiApplication();
  RegisterProgramFonts(context.dataDir, err);
  const app::AspectTables tables = ProgramAspectTables(context.dataDir, err);
  const bool twoCharts = charts.value->second.has_value();
  workspace::WorkspaceState state = ChartsShown(std::move(*charts.value));
  display::WheelInput input = app::WheelInputOf(state, tables, app::WheelOptionsOf(options.settings, 0), twoCharts);
  const int side = picture.value->side;
  input.scale = platform::ViewScaleOf({side, side});
  platform::GlyphFitCache glyphHeights;
  input.glyphCache = &glyphHeights;
  const auto draw = [&input, side](platform::Canvas& canvas) { display::DrawWheel(canvas, {0, 0, side, side}, input); };
  if (!Export(*picture.value, draw, QString::fromStdString(state.main.name))) {
    return Report(kCommand, {app::kCannotWriteFile + *options.out, kExitFailure}, err);
  }
  return kExitOk;
}

}  // namespace kelvara::cli
