// F1 in a window opens the help page at the window's topic (app/help_topics.h).
#pragma once

#include <QString>

#include <functional>
#include <string_view>

class QWidget;

namespace kelvara::app {

using HelpOpener = std::function<void(const QString& topic)>;

// Opens the help at `topic` through the current opener.
void OpenHelp(std::string_view topic);
// F1 anywhere inside `window` opens its topic.
void InstallHelpKey(QWidget& window, std::string_view topic);
// The help window by default; tests put a recorder here. Gives the previous opener.
HelpOpener SetHelpOpener(HelpOpener opener);

}  // namespace kelvara::app
