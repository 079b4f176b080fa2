#include "app/qt/help_key.h"

#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "app/qt/step_dialog.h"
#include "app/qt/tests/help_recorder.h"
#include "platform/qt/tests/qt_test_application.h"

namespace kelvara::app {
namespace {

TEST(HelpKey, F1InADialogOpensItsTopic) {
  platform::testing::TestApplication();
  testing::HelpRecorder help;
  CStepDlg dialog(1, workspace::StepShift{});
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog, Qt::Key_F1);
  EXPECT_EQ(help.topics, QStringList{"#Step"});
}

}  // namespace
}  // namespace kelvara::app
