// The two costs of the generator's integration: the perturbing inner planets at a new instant,
// and one 8-day Gauss-Radau step of the ten bodies.
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

void BM_TenBodyStep(benchmark::State& state) {
  const De405 de405 = ReadDe405(kSource + "/tools/ephemgen/data/de405");
  const IntegrationSetup setup = ReadIntegrationSetup(de405, kSource + "/tools/ephemgen/data/minor-bodies");
  // Every minor body's state of its own epoch, taken at J2000: the cost does not depend on
  // where the bodies stand.
  std::vector<engine::StateVector> states = setup.planetsAtStart;
  for (const EpochState& s : setup.minorBodyStates) states.push_back(s.state);
  BodyIntegrator integrator(Planets(), setup.model, 8.0);
  double t = kStartEpochJd;
  for (auto _ : state) {
    integrator.Advance(t, states, t + 8.0);
    benchmark::DoNotOptimize(states);
  }
}
BENCHMARK(BM_TenBodyStep);

}  // namespace
}  // namespace kelvara::tools
