// A result grid refreshed as a position table is: the model's rows change and the grid,
// shown offscreen, repaints all of them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <cstdio>
#include <string>

#include "platform/qt/grid_ctrl.h"

namespace kelvara::platform {
namespace {

constexpr int kRows = 34;
constexpr int kColumns = 10;
constexpr int kWidth = 900;
constexpr int kMarkEvery = 7;
constexpr int kGenerations = 64;
constexpr Color kHighlight = Color::FromColorRef(0x00C0FFFF);

QApplication& Application() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "platform_qt_bench";
  static char* argv[] = {name, nullptr};
  static auto* application = new QApplication(argc, argv);
  return *application;
}

// Every text of a generation differs from those of the others.
std::vector<GridRow> Rows(int generation) {
  std::vector<GridRow> rows(kRows);
  for (int row = 0; row < kRows; ++row) {
    rows[row].marked = row % kMarkEvery == generation % kMarkEvery;
    for (int column = 0; column < kColumns; ++column) {
      const double value = generation + (row * kColumns + column) / 1000.0;
      char text[32];
      std::snprintf(text, sizeof text, "%.3f°", value);
      GridCell cell{text, value, std::nullopt, std::nullopt};
      if ((row + generation) % 3 == 0) cell.background = kHighlight;
      rows[row].cells.push_back(std::move(cell));
    }
  }
  return rows;
}

// Counts the grid's paints, so the report shows that every refresh repainted.
class PaintCounter : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    paints += event->type() == QEvent::Paint;
    return false;
  }
  int paints = 0;
};

void BM_ResultGridRefresh(benchmark::State& state) {
  Application();
  std::vector<std::string> headers;
  for (int column = 0; column < kColumns; ++column) headers.push_back("Столбец " + std::to_string(column + 1));
  GridTable table(headers, std::vector<double>(kColumns, 1.0 / kColumns));
  table.SetRows(Rows(0));
  CALXGridCtrl grid;
  grid.SetModel(&table);
  grid.resize(kWidth, grid.horizontalHeader()->sizeHint().height() + grid.verticalHeader()->length() +
                          2 * grid.frameWidth());  // every row in sight, no empty space below
  grid.show();
  PaintCounter counter;
  grid.viewport()->installEventFilter(&counter);
  // More generations than the grid keeps laid-out texts of, so that each refresh lays out anew.
  std::vector<std::vector<GridRow>> generations;
  for (int generation = 1; generation <= kGenerations; ++generation) generations.push_back(Rows(generation));
  std::size_t next = 0;
  for (auto _ : state) {
    table.SetRows(generations[next]);
    next = (next + 1) % generations.size();
    grid.viewport()->repaint();
    QCoreApplication::processEvents();
  }
  state.counters["paints"] = benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ResultGridRefresh)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvara::platform
