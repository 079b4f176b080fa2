// The two costs of the generator's integration: the perturbing planets at a new instant, and
// one 8-day Gauss-Radau step of the six minor bodies.
#include <benchmark/benchmark.h>

#include <string>

#include "tools/ephemgen/minor_bodies.h"

namespace kelvara::tools {
namespace {

const std::string kSource = KELVARA_SOURCE_DIR;

PerturbingPlanets& Planets() {
  static PerturbingPlanets planets(kSource + "/tools/seriesgen/series/vsop87", 1e-7, 0.4);
  return planets;
}

void BM_PerturbingPlanets(benchmark::State& state) {
  double jd = 2451545.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Planets().At(jd));
    jd += 0.37;
  }
}
BENCHMARK(BM_PerturbingPlanets);

void BM_SixBodyStep(benchmark::State& state) {
  const MinorBodySetup setup = ReadMinorBodySetup(kSource + "/tools/ephemgen/data/minor-bodies");
  // Every body's state of its own epoch, taken at J2000: the cost does not depend on where
  // the bodies stand.
  std::vector<engine::StateVector> states;
  for (const EpochState& s : setup.epochStates) states.push_back(s.state);
  MinorBodyIntegrator integrator(Planets(), setup.model, 8.0);
  double t = kCommonEpochJd;
  for (auto _ : state) {
    integrator.Advance(t, states, t + 8.0);
    benchmark::DoNotOptimize(states);
  }
}
BENCHMARK(BM_SixBodyStep);

}  // namespace
}  // namespace kelvara::tools
