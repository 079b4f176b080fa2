// The two printed forms of a chart: a readable Russian table (the CLI, and the view's
// text picture) and CSV.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "workspace/chart_record.h"

namespace kelvara::app {

// Pads to a width in characters, not bytes, so Cyrillic columns line up.
std::string Padded(std::string text, int width);

void PrintChartText(const workspace::ChartRecord& chart, std::ostream& out);
void PrintChartCsv(const workspace::ChartRecord& chart, std::ostream& out);

// One field of a CSV line (RFC 4180): in double quotes, inner quotes doubled, when it
// holds a comma, a double quote, CR or LF; as it is otherwise.
std::string CsvField(std::string_view text);

}  // namespace kelvara::app
