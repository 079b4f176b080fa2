// ".kvd" documents: the decoder against its encoder, and what it accepts applied to a chart
// the way opening a document does, which must keep all of it.
#include <cstdint>

#include "app/chart_document.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvara;
  fuzz::CheckCodec(fuzz::Bytes(data, size), app::DecodeChartDocument, app::EncodeChartDocument);
  std::string error;
  if (const auto document = app::DecodeChartDocument(fuzz::Bytes(data, size), error)) {
    workspace::ChartRecord chart;
    app::FurtherRings rings;
    app::ApplyDocument(*document, chart, rings);
    fuzz::Require(app::EncodeChartDocument(app::DocumentOf(chart, rings)) == app::EncodeChartDocument(*document),
                  "a document changed on its way into the chart");
  }
  return 0;
}
