#include "app/qt/interpretation_window.h"

#include <QDir>

#include "app/interpretation_texts.h"
#include "app/qt/message_boxes.h"
#include "app/qt/qt_text.h"
#include "app/qt/section_dialog.h"
#include "platform/qt/text_viewer.h"

namespace kelvara::app {
namespace {

namespace fs = std::filesystem;

TextRun RunForWindow(CMainFrame& frame, Session& session, const std::string& request, const fs::path& temporaryFile) {
  const auto pick = [&frame](const interpretation::SectionChoice& choice) {
    return SectionDialog::Choose(&frame, choice);
  };
  TextRun run = RunTextRequest(session, request, pick, temporaryFile);
  for (const std::string& message : run.result.messages) ShowMessage(&frame, message);
  return run;
}

void OpenWrittenText(CMainFrame& frame, const Session& session, const TextRun& run) {
  if (run.result.writtenFile.empty()) return;
  platform::TextViewer* viewer = platform::OpenTextViewer(run.result.writtenFile, &frame);
  if (!viewer) return;
  const std::string chart = ShownChartsName(session.charts);
  viewer->setWindowTitle(ToQt(TextViewerTitle(chart, run.sectionName)));
  viewer->SuggestSaveAs(fs::path(QDir::homePath().toStdString()) / TextSaveName(chart, run.sectionName));
}

}  // namespace

void InstallInterpretationTexts(CMainFrame& frame, Session& session, const fs::path& temporaryFile) {
  const auto showText = [&frame, &session, temporaryFile](const std::string& request) {
    OpenWrittenText(frame, session, RunForWindow(frame, session, request, temporaryFile));
  };
  frame.Services().interpretationListsTexts = [&session] { return InterpretationListsTexts(session); };
  frame.Services().interpretation = [showText] { showText(std::string()); };
  frame.SetTextRequester(showText);
  frame.View()->SetShortTextSource([&frame, &session, temporaryFile](int number) {
    return RunForWindow(frame, session, display::HexagramShortRequest(number), temporaryFile).result.shortText;
  });
}

}  // namespace kelvara::app
