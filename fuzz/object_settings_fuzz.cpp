// "pl1." / "pl2.": the object settings decoder against its encoder; what it accepts goes
// into a chart's objects.
#include <cstdint>

#include "app/object_settings.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvara;
  fuzz::CheckCodec(fuzz::Bytes(data, size), app::DecodeObjectSettings, app::EncodeObjectSettings);
  std::string error;
  if (const auto settings = app::DecodeObjectSettings(fuzz::Bytes(data, size), error)) {
    workspace::ObjectTable objects{};
    app::ApplyObjectSettings(settings->west, objects);
  }
  return 0;
}
