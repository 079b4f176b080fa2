#include "platform/qt/qt_translations.h"

#include <QCoreApplication>
#include <QTranslator>

#include <gtest/gtest.h>

#include "platform/qt/tests/qt_test_application.h"

namespace kelvara::platform {
namespace {

TEST(QtTranslations, QtsOwnButtonsAndDialogsSpeakRussian) {
  QTranslator* translator = InstallQtTranslations(testing::TestApplication());
  ASSERT_NE(translator, nullptr);
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "Отмена");
  EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:").toStdString(), "Look in:");
  QCoreApplication::removeTranslator(translator);  // the other tests read Qt's own texts
}

}  // namespace
}  // namespace kelvara::platform
