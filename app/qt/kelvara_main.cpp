// kelvara: the program's window. Also paints itself once into a picture file
// (--screenshot), which is how the pictures of the documentation are made.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/display_check.h"
#include "app/kelvara_options.h"
#include "app/messages.h"
#include "app/qt/calendar_runner.h"
#include "app/qt/instance_claim.h"
#include "app/qt/interpretation_window.h"
#include "app/qt/main_frame.h"
#include "app/qt/message_boxes.h"
#include "app/qt/qt_text.h"
#include "places/chart_zones.h"
#include "platform/paths.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_translations.h"
#include "platform/qt/single_instance.h"
#include "platform/registry.h"
#include "workspace/engine_driver.h"

namespace {

using namespace kelvara;

// A screenshot must not wait for a box nobody sees: its messages go to standard error.
void ShowStartMessages(app::CMainFrame& frame, const std::vector<std::string>& messages, bool screenshot) {
  for (const std::string& message : messages) {
    if (screenshot) {
      std::fprintf(stderr, "kelvara: %s\n", message.c_str());
    } else {
      app::ShowMessage(&frame, message);
    }
  }
}

int RunWindow(const app::KelvaraOptions& options, QApplication& application) {
  std::error_code ignored;
  platform::EnterStateFolder(ignored);
  platform::Registry registry;
  platform::Profile profile(registry);
  platform::SingleInstance instance(app::ToQt(app::kInstanceName));
  const bool screenshot = !options.screenshotFile.empty();

  app::Session session;
  app::StartUpEnvironment environment{&profile, nullptr, platform::CurrentDeviceFolders(), platform::DataPrefix(),
                                      platform::SystemZoneName()};
  // A screenshot is a picture of the stored state: it neither claims the window nor writes.
  if (!screenshot) environment.claimSingleInstance = app::SingleInstanceClaim(instance);
  const app::StartUpResult start = app::StartUp(environment, session);
  if (start.outcome == app::StartUpOutcome::kAlreadyRunning) return EXIT_SUCCESS;
  platform::RegisterFontFiles(platform::DataFolder() / "fonts");
  app::ApplyModeOption(options, session);

  const workspace::EngineDriver engine((platform::ProgramFolder() / "").string());
  const platform::SystemClock clock;
  app::CMainFrame frame(session, {engine, &clock, screenshot ? nullptr : &profile, registry.File().string()});
  app::InstallInterpretationTexts(frame, session);
  app::InstallCalendars(frame, session, engine, &clock,
                        [&engine](const workspace::EngineMoment& at) { return engine.RunDayScan(at); });
  QObject::connect(&instance, &platform::SingleInstance::raiseRequested, &frame, [&frame] {
    frame.showNormal();
    frame.raise();
    frame.activateWindow();
  });
  if (options.size) frame.resize(options.size->width, options.size->height);
  frame.show();

  QTimer::singleShot(0, &frame, [&] {
    if (const auto store = app::StoreStartMessage(registry)) ShowStartMessages(frame, {*store}, screenshot);
    ShowStartMessages(frame, start.messages, screenshot);
    // The last run's documents are computed as the window computes charts, with the places' time.
    const places::CityBaseZones zones(session.cityBase);
    const app::ChartServices services = app::SessionChartServices(session, engine, &clock, &zones, nullptr);
    ShowStartMessages(frame, app::ReopenLastDocuments(session, services), screenshot);
    frame.ShowCharts();
    if (!options.documentFile.empty()) frame.OpenDocumentFile(options.documentFile);
    if (!screenshot) return;
    frame.Clock().Stop();
    QCoreApplication::processEvents();  // the menus and tool bar rebuilt above are laid out
    const bool written = frame.grab().save(app::ToQt(options.screenshotFile));
    if (!written) std::fprintf(stderr, "kelvara: %s%s\n", app::kCannotWriteFile, options.screenshotFile.c_str());
    application.exit(written ? EXIT_SUCCESS : EXIT_FAILURE);
  });
  return application.exec();
}

}  // namespace

int main(int argc, char** argv) {
  const auto options = app::ParseKelvaraOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!options.error.empty()) {
    std::fprintf(stderr, "%s\n%s", options.error.c_str(), app::kKelvaraUsage);
    return 2;
  }
  if (options.value->help) {
    std::fputs(app::kKelvaraUsage, stdout);
    return EXIT_SUCCESS;
  }
  // A screenshot needs no screen: it paints offscreen unless told otherwise.
  if (!options.value->screenshotFile.empty()) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (const auto message = app::MissingDisplayMessage([](const char* name) { return std::getenv(name); })) {
    std::fprintf(stderr, "%s\n", message->c_str());
    return EXIT_FAILURE;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(app::ToQt("Кельвара"));
  platform::KeepCNumbers();
  platform::InstallQtTranslations(application);
  return RunWindow(*options.value, application);
}
