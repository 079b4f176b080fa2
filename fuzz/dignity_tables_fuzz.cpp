// "upr.": the dignity table decoder against its encoder.
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "workspace/dignity_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelvara::fuzz::CheckCodec(kelvara::fuzz::Bytes(data, size), kelvara::workspace::DecodeDignityTables,
                            kelvara::workspace::EncodeDignityTables);
  return 0;
}
