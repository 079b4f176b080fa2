#include "platform/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <clocale>

namespace kelvara::platform {

QTranslator* InstallQtTranslations(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  if (translator->load("qtbase_ru", QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
      QCoreApplication::installTranslator(translator)) {
    return translator;
  }
  delete translator;
  return nullptr;
}

void KeepCNumbers() { std::setlocale(LC_NUMERIC, "C"); }

}  // namespace kelvara::platform
