// Vornal, the registry editor: one dialog over the registry store that Kelvara uses.
#include <QApplication>
#include <cstdlib>

#include "platform/qt/qt_translations.h"
#include "platform/registry.h"
#include "registry/editor_model.h"
#include "registry/icons.h"
#include "registry/message_boxes.h"
#include "registry/qt_text.h"
#include "registry/vornal_dialog.h"

int main(int argc, char** argv) {
  using namespace kelvara::vornal;
  QApplication app(argc, argv);
  QApplication::setApplicationName(ToQt(kApplicationTitle));
  kelvara::platform::KeepCNumbers();
  kelvara::platform::InstallQtTranslations(app);
  QApplication::setWindowIcon(ComputerIcon());
  kelvara::platform::Registry registry;
  QtMessageBoxes messages;
  VornalDialog dialog(registry, messages);
  if (dialog.HasFailed()) return EXIT_FAILURE;
  messages.SetParent(&dialog);
  dialog.exec();
  return dialog.HasFailed() ? EXIT_FAILURE : EXIT_SUCCESS;
}
