// chart: one chart computed through ComputeChart and printed as a table or as CSV.
#include "app/chart_output.h"
#include "app/cli/chart_documents.h"
#include "app/cli/chart_request.h"
#include "app/cli/cli.h"

namespace kelvara::cli {
namespace {

constexpr const char* kCommand = "kelvara-cli chart: ";

struct OutputOptions {
  std::optional<std::string> format, save;
};

}  // namespace

int RunChartCommand(const std::vector<std::string>& args, const CliContext& context, std::ostream& out,
                    std::ostream& err) {
  ChartOptions options;
  OutputOptions output;
  if (auto failure = ParseChartOptions(args, options, {{{"--format", &output.format}, {"--save", &output.save}}, {}})) {
    return Report(kCommand, *failure, err);
  }
  const std::string format = output.format.value_or("text");
  if (format != "text" && format != "csv") return Report(kCommand, {"формат должен быть text или csv"}, err);
  const auto charts = ComputeRequestedCharts(options, context, SecondPerson::kMergedOnly);
  if (!charts.value) return Report(kCommand, charts.failure, err);
  // A derived chart is the one asked for; its natal chart only led to it.
  const workspace::ChartRecord& chart = charts.value->second ? *charts.value->second : charts.value->main;
  if (output.save) {
    if (auto failure = SaveChartDocument(*output.save, chart, options.kind.has_value())) {
      return Report(kCommand, {std::move(*failure), kExitFailure}, err);
    }
  }
  if (format == "csv") {
    app::PrintChartCsv(chart, out);
  } else {
    app::PrintChartText(chart, out);
  }
  return kExitOk;
}

}  // namespace kelvara::cli
