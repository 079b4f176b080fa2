// Qt's own dialogs (file choosers, colour dialog, standard buttons) speak the program's
// language, Russian, whatever the system's locale.
#pragma once

class QCoreApplication;
class QTranslator;

namespace kelvara::platform {

// Loads Qt's Russian translations from Debian's translations folder; the translator
// installed (owned by the application), or null when they are not installed and Qt's
// dialogs stay in English.
QTranslator* InstallQtTranslations(QCoreApplication& application);

}  // namespace kelvara::platform
