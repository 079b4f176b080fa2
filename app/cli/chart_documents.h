// The chart command's documents: "--open FILE.kvd" instead of birth data, and
// "--save FILE.kvd" for the chart computed.
#pragma once

#include <optional>
#include <string>

#include "app/chart_document.h"
#include "workspace/chart_record.h"

namespace kelvara::cli {

// The document's chart, computed and its place looked up; the message when the file
// cannot be read or its data cannot be computed.
struct OpenedChart {
  std::optional<workspace::ChartRecord> chart;
  std::string message;
};
OpenedChart OpenChartDocument(const std::string& path, const app::ChartServices& services);

// Saves the chart the command printed; derived charts are second charts of a double
// chart and merged charts are never saved, as in the program. The message on failure.
std::optional<std::string> SaveChartDocument(const std::string& path, const workspace::ChartRecord& chart,
                                             bool derived);

}  // namespace kelvara::cli
