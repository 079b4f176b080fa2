// The window with the real data/: start-up to the first painted window (in process and
// as a kelvara process that quits after its first paint), the first birth-data dialog
// with the places list, and a step of the step shift with its repaint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <QProcess>
#include <QtTest/QTest>

#include "app/qt/birth_data_dialog.h"
#include "app/qt/main_frame.h"
#include "app/qt/place_picker.h"
#include "app/qt/settings_dialog.h"
#include "app/tests/silent_ui.h"

#include <QComboBox>
#include <QLineEdit>
#include "app/qt/qt_text.h"
#include "app/view_picture.h"
#include "platform/qt/qt_canvas.h"
#include "platform/tests/scratch_dir.h"
#include "workspace/chart_compute.h"
#include "workspace/engine_driver.h"

namespace {

using namespace kelvara;
namespace ws = workspace;

const std::string kBinFolder = std::string(KELVARA_BIN_DIR) + "/";

QApplication& Application() {
  static int argc = 1;
  static char name[] = "window_bench";
  static char* argv[] = {name, nullptr};
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}

const ws::EngineDriver& Engine() {
  static const ws::EngineDriver engine(kBinFolder);
  return engine;
}

void BM_StartUpToFirstPaint(benchmark::State& state) {
  Application();
  platform::test_support::ScratchDir dir;
  const platform::SystemClock clock;
  for (auto _ : state) {
    platform::Registry registry(dir / "registry.db");
    platform::Profile profile(registry);
    app::Session session;
    app::StartUp({&profile, nullptr, {dir / "state", dir / "fonts", dir / "card"}, kBinFolder + "data/", "Europe/Moscow"},
                 session);
    app::CMainFrame frame(session, {Engine(), &clock, nullptr, ""});
    frame.ShowCharts();
    frame.Clock().Stop();
    benchmark::DoNotOptimize(frame.grab());
  }
}
BENCHMARK(BM_StartUpToFirstPaint)->Unit(benchmark::kMillisecond);

void BM_KelvaraProcessToFirstPaint(benchmark::State& state) {
  Application();
  platform::test_support::ScratchDir dir;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("KELVARA_REGISTRY", app::ToQt((dir / "registry.db").string()));
  environment.insert("XDG_STATE_HOME", app::ToQt((dir / "state").string()));
  const QString shot = app::ToQt((dir / "shot.png").string());
  for (auto _ : state) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(app::ToQt(kBinFolder + "kelvara"), {"--screenshot", shot});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) state.SkipWithError("kelvara failed");
  }
}
BENCHMARK(BM_KelvaraProcessToFirstPaint)->Unit(benchmark::kMillisecond);

void BM_FirstBirthDataDialog(benchmark::State& state) {
  Application();
  places::CityBase base;
  places::LoadCityBase(kBinFolder + "data/" + places::kCityBaseFileName, base);
  ws::ChartRecord chart;
  chart.name = "Иван";
  for (auto _ : state) {
    places::PlacesList list;  // built anew: the first dialog of a run builds it
    std::string lastPlace;
    app::CBirthDataDlg dialog(chart, {list, base, false, nullptr, &lastPlace});
    dialog.show();
    // The first keystroke in the place builds the list and answers it.
    QLineEdit* place = dialog.findChild<app::PlacePicker*>()->comboBox()->lineEdit();
    for (const QChar c : QString::fromUtf8("моск")) {
      QTest::sendKeyEvent(QTest::Click, place, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QApplication::processEvents();
    benchmark::DoNotOptimize(dialog.grab());
  }
}
BENCHMARK(BM_FirstBirthDataDialog)->Unit(benchmark::kMillisecond);

void BM_StepWithRepaint(benchmark::State& state) {
  Application();
  const platform::SystemClock clock;
  app::Session session;
  session.charts.main.name = "Иван";
  session.charts.main.local = {1985, 7, 12, 14, 5, 0};
  session.charts.main.step = {0, 0, 1, 0, 0, 0, 0};
  app::CMainFrame frame(session, {Engine(), &clock, nullptr, ""});
  frame.ShowCharts();
  frame.resize(640, 720);
  frame.show();
  frame.activateWindow();
  if (!QTest::qWaitForWindowActive(&frame)) state.SkipWithError("the window never became active");
  int key = Qt::Key_Right;
  for (auto _ : state) {
    QTest::keyClick(&frame, static_cast<Qt::Key>(key));
    frame.View()->repaint();
    key = key == Qt::Key_Right ? Qt::Key_Left : Qt::Key_Right;
  }
}
BENCHMARK(BM_StepWithRepaint)->Unit(benchmark::kMillisecond);

// A full-HD photograph under the wheel, painted as the view paints: Arg 0 turns the
// pixels into a canvas bitmap at every paint, Arg 1 keeps the bitmap between paints.
void BM_RepaintWithWallpaper(benchmark::State& state) {
  Application();
  const platform::SystemClock clock;
  app::Session session;
  session.charts.main.name = "Иван";
  session.charts.main.local = {1985, 7, 12, 14, 5, 0};
  ws::ComputeContext compute{Engine(), nullptr, nullptr, nullptr, ""};
  ws::ComputeChart(session.charts.main, compute);
  constexpr int kPhotoWidth = 1920, kPhotoHeight = 1080;
  // Filled in place: GCC's -O3 takes the aggregate temporary's vector for uninitialised.
  app::Wallpaper& photo = session.wallpaper.emplace();
  photo.file = "photo.bmp";
  photo.image.width = kPhotoWidth;
  photo.image.height = kPhotoHeight;
  photo.image.pixels.assign(std::size_t(kPhotoWidth) * kPhotoHeight, 0xFF336699u);
  session.settings.wallpaperShown = true;
  app::ViewPictures pictures = app::DefaultPictures(&clock, nullptr, Engine(), nullptr);
  const app::ViewMetrics metrics = app::MetricsForSize(640, 720);
  QImage image(640, 720, QImage::Format_ARGB32_Premultiplied);
  app::WallpaperBitmap kept;
  for (auto _ : state) {
    QPainter painter(&image);
    platform::QtCanvas canvas(painter);
    app::DrawViewPicture(canvas, metrics, session, pictures, state.range(0) ? &kept : nullptr);
  }
}
BENCHMARK(BM_RepaintWithWallpaper)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The settings dialog over a computed chart, built and painted once offscreen.

void BM_SettingsDialogBuilt(benchmark::State& state) {
  Application();
  platform::test_support::ScratchDir dir;
  app::Session session;
  session.dataPrefix = (dir.Path() / "").string();
  session.charts.main.name = "Иван";
  session.charts.main.local = {1985, 7, 12, 14, 5, 0};
  ws::ComputeContext compute{Engine(), nullptr, nullptr, nullptr, ""};
  ws::ComputeChart(session.charts.main, compute);
  app::testing::SilentUi ui;
  app::CommandContext context{session, Engine(), nullptr, nullptr, ui, {}, nullptr};
  for (auto _ : state) {
    app::CSettingsDlg dialog(context, nullptr, app::SettingsPage::kPlanets, {});
    benchmark::DoNotOptimize(dialog.grab());
  }
}
BENCHMARK(BM_SettingsDialogBuilt)->Unit(benchmark::kMillisecond);

}  // namespace
