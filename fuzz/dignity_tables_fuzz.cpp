// "upr.": the dignity table decoder against its encoder.
#include <cstdint>

#include "app/dignity_tables.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelvara::fuzz::CheckCodec(kelvara::fuzz::Bytes(data, size), kelvara::app::DecodeDignityTables,
                            kelvara::app::EncodeDignityTables);
  return 0;
}
