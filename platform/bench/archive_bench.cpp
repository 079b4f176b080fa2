#include <benchmark/benchmark.h>

#include "platform/archive.h"

namespace kelvara::platform {
namespace {

// A chart document's worth of values: a few ints, strings and 64 angle/radius pairs.
std::string DocumentLikeStream() {
  ArchiveWriter writer;
  for (int i = 0; i < 20; ++i) writer.WriteInt32(i);
  writer.WriteString("Иванов Иван Иванович");
  writer.WriteString("Санкт-Петербург");
  for (int i = 0; i < 128; ++i) writer.WriteDouble(i * 1.5);
  writer.WriteString(std::string(2000, 'n'));
  return writer.Bytes();
}

void BM_ArchiveReadDocument(benchmark::State& state) {
  const std::string stream = DocumentLikeStream();
  for (auto _ : state) {
    ArchiveReader reader(stream);
    for (int i = 0; i < 20; ++i) benchmark::DoNotOptimize(reader.ReadInt32());
    benchmark::DoNotOptimize(reader.ReadString());
    benchmark::DoNotOptimize(reader.ReadString());
    for (int i = 0; i < 128; ++i) benchmark::DoNotOptimize(reader.ReadDouble());
    benchmark::DoNotOptimize(reader.ReadString());
  }
}
BENCHMARK(BM_ArchiveReadDocument);

void BM_ArchiveWriteDocument(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(DocumentLikeStream());
}
BENCHMARK(BM_ArchiveWriteDocument);

}  // namespace
}  // namespace kelvara::platform
