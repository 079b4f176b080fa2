#include "app/qt/help_key.h"

#include <QShortcut>
#include <QWidget>

#include <utility>

#include "app/qt/qt_text.h"
#include "platform/qt/help_viewer.h"

namespace kelvara::app {
namespace {

HelpOpener& CurrentOpener() {
  static HelpOpener opener = [](const QString& topic) { platform::ShowHelp(topic); };
  return opener;
}

}  // namespace

void OpenHelp(std::string_view topic) { CurrentOpener()(ToQt(topic)); }

void InstallHelpKey(QWidget& window, std::string_view topic) {
  auto* key = new QShortcut(QKeySequence::HelpContents, &window);
  key->setContext(Qt::WindowShortcut);
  QObject::connect(key, &QShortcut::activated, &window, [topic] { OpenHelp(topic); });
}

HelpOpener SetHelpOpener(HelpOpener opener) { return std::exchange(CurrentOpener(), std::move(opener)); }

}  // namespace kelvara::app
