// The main window's core: rebuilding the command menu, one round of the "now" clock
// with the real engine, and one step of the step shift with its computation.
#include <benchmark/benchmark.h>

#include "app/command_menu.h"
#include "app/now_clock.h"
#include "app/step_shift.h"
#include "platform/clock.h"
#include "workspace/engine_driver.h"

namespace {

using namespace kelvara;
namespace ws = workspace;

const ws::EngineDriver& Engine() {
  static const ws::EngineDriver engine(std::string(KELVARA_BIN_DIR) + "/");
  return engine;
}

app::Session NamedSession() {
  app::Session session;
  session.charts.main.name = "Иван";
  session.charts.main.local = {1985, 7, 12, 14, 5, 0};
  session.charts.main.gmtOffsetHours = 4.0;
  session.charts.main.latitudeDeg = 55.75;
  session.charts.main.longitudeDeg = 37.62;
  session.charts.doubleChart = true;
  session.charts.second = session.charts.main;
  session.charts.second.name = "Мария";
  for (int i = 0; i < 10; ++i) session.recentFiles.Add("/charts/c" + std::to_string(i) + ".kvd");
  return session;
}

void BM_MenuRebuild(benchmark::State& state) {
  const app::Session session = NamedSession();
  for (auto _ : state) {
    benchmark::DoNotOptimize(app::BuildFileMenu(session));
    benchmark::DoNotOptimize(app::BuildCommandMenu(session, {true, false}));
    benchmark::DoNotOptimize(app::BuildTimeFormatMenu(session));
    benchmark::DoNotOptimize(app::BuildToolBar(session));
  }
}
BENCHMARK(BM_MenuRebuild);

void BM_NowRound(benchmark::State& state) {
  const platform::SystemClock clock;
  ws::WorkspaceState charts;
  charts.main.name = std::string(ws::kNameNow);
  charts.main.houseSystem = static_cast<int>(state.range(0));
  charts.main.latitudeDeg = 55.75;
  charts.main.longitudeDeg = 37.62;
  const app::NowRoundResult copies = app::NowChartsOf(charts);
  const app::NowRoundServices services{Engine(), &clock, nullptr, ""};
  for (auto _ : state) benchmark::DoNotOptimize(app::RunNowRound(copies, services));
}
BENCHMARK(BM_NowRound)->Arg(ws::kHousePlacidus)->Arg(ws::kHouseBrahmagupta)->Unit(benchmark::kMicrosecond);

void BM_StepAndCompute(benchmark::State& state) {
  app::Session session = NamedSession();
  ws::ChartRecord& chart = session.charts.main;
  chart.step = {0, 0, 1, 0, 0, 0, 0};
  const ws::ComputeContext context{Engine(), &chart, nullptr, nullptr, ""};
  int direction = 1;
  for (auto _ : state) {
    app::StepChart(chart, direction);
    ws::ComputeChart(chart, context);
    direction = -direction;
  }
}
BENCHMARK(BM_StepAndCompute)->Unit(benchmark::kMicrosecond);

}  // namespace
