#include <benchmark/benchmark.h>

#include <algorithm>

#include "platform/bmp.h"
#include "platform/tests/bmp_writer.h"

namespace kelvara::platform {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr std::uint8_t kLiteralRun = 5;
constexpr int kLongestRun = 50;

std::vector<std::uint8_t> FullHd24() {
  testing::BmpFile file{testing::BmpHeaderKind::Info, kWidth, kHeight, 24};
  file.pixels =
      testing::PackRows(kWidth, kHeight, 24, [](int x, int y) { return std::uint32_t(x * 0x010203 ^ y * 0x030201); });
  return testing::WriteBmp(file);
}

// Each row alternates runs of 1 to 50 pixels with literals of five, as a drawing's
// stream does.
std::vector<std::uint8_t> FullHdRle8() {
  std::vector<std::uint8_t> stream;
  for (int row = 0; row < kHeight; ++row) {
    bool literal = false;
    for (int x = 0; x < kWidth; literal = !literal) {
      if (literal && kWidth - x >= kLiteralRun) {
        stream.insert(stream.end(), {0, kLiteralRun});
        for (int i = 0; i < kLiteralRun; ++i) stream.push_back(std::uint8_t(x + i));
        stream.push_back(0);  // pads the odd literal to a 16-bit word
        x += kLiteralRun;
      } else {
        const int count = std::min(kWidth - x, 1 + (x + row) % kLongestRun);
        stream.insert(stream.end(), {std::uint8_t(count), std::uint8_t(row)});
        x += count;
      }
    }
    stream.insert(stream.end(), {0, 0});
  }
  stream.insert(stream.end(), {0, 1});
  testing::BmpFile file{testing::BmpHeaderKind::Info, kWidth, kHeight, 8, testing::kBmpRle8};
  for (std::uint32_t i = 0; i < 256; ++i) file.palette.push_back(i * 0x010101);
  file.pixels = std::move(stream);
  return testing::WriteBmp(file);
}

void DecodeEachTime(benchmark::State& state, const std::vector<std::uint8_t>& bytes) {
  for (auto _ : state) {
    BmpDecoding decoded = DecodeBmp(bytes);
    if (!decoded.image) {
      state.SkipWithError(decoded.refusal.c_str());
      break;
    }
    benchmark::DoNotOptimize(decoded);
  }
}

void BM_DecodeBmp24FullHd(benchmark::State& state) { DecodeEachTime(state, FullHd24()); }
BENCHMARK(BM_DecodeBmp24FullHd)->Unit(benchmark::kMillisecond);

void BM_DecodeBmpRle8FullHd(benchmark::State& state) { DecodeEachTime(state, FullHdRle8()); }
BENCHMARK(BM_DecodeBmpRle8FullHd)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvara::platform
