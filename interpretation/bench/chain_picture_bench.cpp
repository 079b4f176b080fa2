// The chains picture's cost per draw: the chains built and the picture drawn with a fresh
// layout on an 800 x 800 image, once for a chart whose glyphs come to rest and once for
// a stellium of all sixteen objects drawn with glyphs just too large for sixteen to fit
// round the circle (display scale 3: 16 x 31° > 360°), so the spreading runs to its cap.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <vector>

#include "interpretation/chain_picture.h"
#include "interpretation/tests/chain_fixtures.h"
#include "platform/qt/bench/offscreen_application.h"
#include "platform/qt/qt_canvas.h"
#include "workspace/glyph_spread.h"

namespace {

using namespace kelvara;
namespace ws = workspace;
namespace in = interpretation;
constexpr int kSide = 800;

QGuiApplication& Application() {
  return platform::bench::OffscreenApplication(std::filesystem::path(KELVARA_SOURCE_DIR) / "data" / "fonts");
}

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kCrowdingScale = 3.0;

// What the spreading of these objects alone costs in passes (the picture's φ at the scale).
int SpreadPasses(const ws::ObjectTable& objects, double scale) {
  std::vector<double> longitudes;
  for (int object = in::kFirstChainObject; object <= in::kLastChainObject; ++object) {
    if (in::TakesPartInChains(objects[object])) longitudes.push_back(objects[object].longitude);
  }
  return ws::SpreadAlongCircle(longitudes, std::atan(0.2 * scale) * kDegreesPerRadian);
}

void BuildAndDraw(benchmark::State& state, const ws::ObjectTable& objects, double scale) {
  Application();
  const ws::DignityTables tables = ws::DefaultDignityTables(ws::Tradition::kAvestan);
  platform::GlyphFitCache cache;
  platform::GlyphImageCache glyphImages;  // as the view keeps them between paints
  QImage image(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    const in::ChartChains chains = in::BuildChains(objects, tables, in::ChainKind::kExaltation);
    in::ChainLayout layout;  // fresh: every object is placed and spread again
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    platform::QtCanvas canvas(painter, &glyphImages);
    benchmark::DoNotOptimize(in::DrawChains(canvas, {0, 0, kSide, kSide}, scale, objects, chains, layout,
                                            in::ChainKind::kExaltation, &cache));
  }
  state.counters["passes"] = SpreadPasses(objects, scale);
}

void BM_BuildAndDrawFreshLayout800(benchmark::State& state) { BuildAndDraw(state, in::testing::AvestanSummerChart(), 1.0); }
BENCHMARK(BM_BuildAndDrawFreshLayout800)->Unit(benchmark::kMillisecond);

void BM_BuildAndDrawStellium800(benchmark::State& state) { BuildAndDraw(state, in::testing::Stellium(), kCrowdingScale); }
BENCHMARK(BM_BuildAndDrawStellium800)->Unit(benchmark::kMillisecond);

}  // namespace
