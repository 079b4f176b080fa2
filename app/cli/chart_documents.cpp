#include "app/cli/chart_documents.h"

#include "workspace/chart_rules.h"

namespace kelvara::cli {

OpenedChart OpenChartDocument(const std::string& path, const app::ChartServices& services) {
  const app::DocumentRead read = app::ReadChartDocument(path);
  if (!read.document) return {std::nullopt, read.message};
  workspace::ChartRecord chart;
  app::FurtherRings rings;
  if (auto failure = app::LoadDocumentIntoChart(*read.document, path, chart, rings, services)) {
    return {std::nullopt, std::move(*failure)};
  }
  return {std::move(chart), {}};
}

std::optional<std::string> SaveChartDocument(const std::string& path, const workspace::ChartRecord& chart,
                                             bool derived) {
  workspace::WorkspaceState state;
  state.main = chart;
  state.doubleChart = derived;
  if (const auto refusal = workspace::SaveRefusal(state)) return std::string(*refusal);
  return app::WriteChartDocument(path, app::DocumentOf(chart, {}));
}

}  // namespace kelvara::cli
