// render: the chart wheel of the charts the chart command computes, drawn into a PNG,
// SVG or PDF file without a screen.
#include <utility>

#include "app/asp_tables.h"
#include "app/cli/chart_request.h"
#include "app/cli/cli.h"
#include "app/cli/picture_file.h"
#include "app/messages.h"
#include "app/wheel_input.h"
#include "platform/glyph.h"
#include "platform/view_scale.h"

namespace kelvara::cli {
namespace {

using workspace::ChartRecord;

constexpr const char* kCommand = "kelvara-cli render: ";
constexpr int kDefaultSide = 800;

struct RenderOptions {
  ChartOptions chart;
  std::optional<std::string> format, size, out;
  app::Settings settings;  // the program's defaults with the wheel's switches of the command
};

Result<PictureFile> PictureOf(const RenderOptions& options) {
  if (!options.out) return Result<PictureFile>::Fail("нужен параметр --out ФАЙЛ");
  return PictureFileOf(*options.out, options.format, options.size, kDefaultSide);
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

app::AspectTables ProgramAspectTables(const std::filesystem::path& dataDir, std::ostream& err) {
  app::AspectTables tables;
  for (const std::string& message : app::LoadAspectTables((dataDir / "").string(), tables)) {
    err << kCommand << "предупреждение: " << message << "\n";
  }
  return tables;
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

  PrepareHeadlessDrawing(context.dataDir, kCommand, err);
  const app::AspectTables tables = ProgramAspectTables(context.dataDir, err);
  const bool twoCharts = charts.value->second.has_value();
  workspace::WorkspaceState state = ChartsShown(std::move(*charts.value));
  display::WheelInput input = app::WheelInputOf(state, tables, app::WheelOptionsOf(options.settings, 0), twoCharts);
  const int side = picture.value->side;
  input.scale = platform::ViewScaleOf({side, side});
  platform::GlyphFitCache glyphHeights;
  input.glyphCache = &glyphHeights;
  const auto draw = [&input, side](platform::Canvas& canvas) { display::DrawWheel(canvas, {0, 0, side, side}, input); };
  if (!ExportPicture(*picture.value, draw, state.main.name)) {
    return Report(kCommand, {app::kCannotWriteFile + *options.out, kExitFailure}, err);
  }
  return kExitOk;
}

}  // namespace kelvara::cli
