// Cost of the profile's everyday calls: one value read and one value written, each a
// transaction of its own on a store in the system's temporary folder.
#include <benchmark/benchmark.h>

#include "platform/registry.h"
#include "platform/tests/scratch_dir.h"

namespace kelvara::platform {
namespace {

struct BenchStore {
  test_support::ScratchDir dir;
  Registry registry{dir / "registry.db"};
  RegKey key{};

  BenchStore() {
    registry.CreateKey(HKEY_CURRENT_USER, "Software\\Kelvara\\Kelvara\\Settings", &key);
    for (int i = 0; i < 20; ++i) {
      registry.SetValue(key, "b_Setting" + std::to_string(i), REG_DWORD, RegDwordData(i));
    }
  }
};

void BM_RegistryReadValue(benchmark::State& state) {
  BenchStore store;
  std::string data;
  RegType type = REG_NONE;
  for (auto _ : state) {
    benchmark::DoNotOptimize(store.registry.QueryValue(store.key, "b_Setting7", &type, &data));
  }
}
BENCHMARK(BM_RegistryReadValue);

void BM_RegistryWriteValue(benchmark::State& state) {
  BenchStore store;
  std::uint32_t n = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        store.registry.SetValue(store.key, "SysHouse", REG_DWORD, RegDwordData(++n)));
  }
}
BENCHMARK(BM_RegistryWriteValue);

}  // namespace
}  // namespace kelvara::platform
