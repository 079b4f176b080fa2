// BMP files as the canvases load them: a picture comes out whole and within the limits,
// with every pixel opaque; a refusal says why.
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "platform/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvara;
  const platform::BmpDecoding decoded = platform::DecodeBmp({data, size});
  if (!decoded.image) {
    fuzz::Require(!decoded.refusal.empty(), "a refused file without a reason");
    return 0;
  }
  const platform::BmpImage& image = *decoded.image;
  fuzz::Require(image.width > 0 && image.height > 0 && image.width <= platform::kLargestBmpSide &&
                    image.height <= platform::kLargestBmpSide &&
                    std::int64_t(image.width) * image.height <= platform::kMostBmpPixels,
                "a picture outside the limits");
  fuzz::Require(image.pixels.size() == std::size_t(image.width) * std::size_t(image.height),
                "a picture without width x height pixels");
  for (const std::uint32_t pixel : image.pixels) fuzz::Require(pixel >> 24 == 0xFF, "a pixel that is not opaque");
  return 0;
}
