#include "platform/qt/program_start.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include <fstream>

#include "platform/codepage.h"
#include "platform/qt/tests/qt_test_application.h"
#include "platform/qt/text_viewer.h"
#include "platform/tests/environment_guard.h"

namespace kelvara::platform {
namespace {

TextViewer* FindViewer() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* viewer = qobject_cast<TextViewer*>(widget); viewer && viewer->isVisible()) return viewer;
  }
  return nullptr;
}

TEST(StartProgram, WordProcessorOpensTheDeviceRootFileInTheViewer) {
  testing::TestApplication();
  QTemporaryDir state;
  testing::EnvironmentGuard guard("XDG_STATE_HOME");
  setenv("XDG_STATE_HOME", state.path().toUtf8().constData(), 1);
  const std::filesystem::path folder = std::filesystem::path(state.path().toStdString()) / "kelvara";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "kelvara_tmp.txt", std::ios::binary) << Utf8ToCp1251("Марс в Тельце");

  EXPECT_TRUE(StartProgram("\\Windows\\pword.exe", "/kelvara_tmp.txt"));
  TextViewer* viewer = FindViewer();
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->ShownText(), QString("Марс в Тельце"));
  viewer->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(StartProgram, UnknownProgramsAreNotStarted) {
  testing::TestApplication();
  EXPECT_FALSE(StartProgram("calc.exe", ""));
  EXPECT_FALSE(StartProgram("pword.exe.bak", "/kelvara_tmp.txt"));
}

}  // namespace
}  // namespace kelvara::platform
