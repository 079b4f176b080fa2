// Keeps the help topics a test's windows open instead of showing the help window.
#pragma once

#include <QStringList>

#include "app/qt/help_key.h"

namespace kelvara::app::testing {

struct HelpRecorder {
  HelpRecorder() : previous(SetHelpOpener([this](const QString& topic) { topics << topic; })) {}
  ~HelpRecorder() { SetHelpOpener(previous); }
  HelpRecorder(const HelpRecorder&) = delete;
  HelpRecorder& operator=(const HelpRecorder&) = delete;

  QStringList topics;
  HelpOpener previous;
};

}  // namespace kelvara::app::testing
