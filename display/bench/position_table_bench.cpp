// The cost of a position table refresh, which runs after every computation of its chart
// and on every round of the "now" clock: the rows of a double chart with its aspects.
#include <benchmark/benchmark.h>

#include "display/chart_wheel.h"
#include "display/position_table.h"
#include "display/tests/wheel_fixtures.h"

namespace {

using namespace kelvara;
namespace ws = workspace;

void BM_PositionTableOfADoubleChart(benchmark::State& state) {
  ws::ObjectTable inner = display::testing::HandMadeChart(100.0);
  ws::ObjectTable outer = display::testing::HandMadeChart(100.0, 37.5);
  const ws::AspectTable table = ws::DefaultTwoChartAspects();
  display::WheelInput wheel;
  wheel.inner = &inner;
  wheel.outer = &outer;
  wheel.outerName = "Мария";
  wheel.aspects = &table;
  const display::Ring side = state.range(0) == 1 ? display::Ring::kInner : display::Ring::kOuter;
  const display::PositionTableInput input{side == display::Ring::kInner ? &inner : &outer,
                                          display::WheelAspectFinder(wheel), side, true};
  display::PositionTableModel model;
  for (auto _ : state) {
    model.Show(input);
    benchmark::DoNotOptimize(model.Rows().data());
  }
}
// Argument: 1 the inner chart's table, 2 the outer chart's.
BENCHMARK(BM_PositionTableOfADoubleChart)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
