// The two printed forms of a chart: a readable Russian table (the CLI, and the view's
// text picture) and CSV.
#pragma once

#include <ostream>

#include "workspace/chart_record.h"

namespace kelvara::app {

void PrintChartText(const workspace::ChartRecord& chart, std::ostream& out);
void PrintChartCsv(const workspace::ChartRecord& chart, std::ostream& out);

}  // namespace kelvara::app
