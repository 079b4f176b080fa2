// The window's interpretation texts: "Текст интерпретации", the position tables' cells
// and a tap on a hexagram ask the text library through the session's request runner.
#pragma once

#include <filesystem>

#include "app/qt/main_frame.h"
#include "app/session.h"

namespace kelvara::app {

// Sets the frame's text hooks. `temporaryFile` stands in for "/kelvara_tmp.txt" on the
// device when given. Each written text opens in a viewer of its own.
void InstallInterpretationTexts(CMainFrame& frame, Session& session, const std::filesystem::path& temporaryFile = {});

}  // namespace kelvara::app
