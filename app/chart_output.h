// The two printed forms of a chart: a readable Russian table and CSV.
#pragma once

#include <ostream>

#include "workspace/chart_record.h"

namespace kelvara::cli {

void PrintChartText(const workspace::ChartRecord& chart, std::ostream& out);
void PrintChartCsv(const workspace::ChartRecord& chart, std::ostream& out);

}  // namespace kelvara::cli
