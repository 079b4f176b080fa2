// "asp1." / "asp2.": the aspect table decoder against its encoder.
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "workspace/aspect_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelvara::fuzz::CheckCodec(kelvara::fuzz::Bytes(data, size), kelvara::workspace::DecodeAspectTable,
                            kelvara::workspace::EncodeAspectTable);
  return 0;
}
