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

// Qt takes the system's locale on Unix, and a Russian one writes "0,5" for 0.5; the
// engine's texts, the calendar lines and every file the program reads and writes are
// C-locale numbers. Called right after the application is made.
void KeepCNumbers();

}  // namespace kelvara::platform
