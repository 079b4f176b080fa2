// Building the chains of one chart: run after every chart computation and change of kind.
#include <benchmark/benchmark.h>

#include <cmath>

#include "interpretation/dispositor_chains.h"

namespace {

namespace ws = kelvara::workspace;
namespace in = kelvara::interpretation;

// Objects 1-16 spread over the signs 97° apart, all visible.
ws::ObjectTable SpreadChart() {
  ws::ObjectTable objects{};
  for (int object = in::kFirstChainObject; object <= in::kLastChainObject; ++object) {
    objects[object].SetLongitude(std::fmod(object * 97.0, 360.0));
  }
  return objects;
}

void BM_BuildChainsEveryKind(benchmark::State& state) {
  const ws::ObjectTable objects = SpreadChart();
  const ws::DignityTables tables = ws::DefaultDignityTables(ws::Tradition::kAvestan);
  const in::ChainKind kinds[] = {in::ChainKind::kRulership, in::ChainKind::kExaltation, in::ChainKind::kExile,
                                 in::ChainKind::kFall};
  int kind = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(in::BuildChains(objects, tables, kinds[kind++ % 4]));
  }
}
BENCHMARK(BM_BuildChainsEveryKind);

}  // namespace

BENCHMARK_MAIN();
