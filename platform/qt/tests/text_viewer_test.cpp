#include "platform/qt/text_viewer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPrinter>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include "platform/codepage.h"
#include "platform/file_io.h"
#include "platform/qt/program_start.h"
#include "platform/qt/tests/qt_test_application.h"
#include "platform/tests/environment_guard.h"

namespace kelvara::platform {
namespace {

namespace fs = std::filesystem;

std::string Repeat(const std::string& piece, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += piece;
  return result;
}

class TextViewerTest : public ::testing::Test {
 protected:
  fs::path Folder() const { return fs::path(folder_.path().toStdString()); }
  fs::path WriteText(const std::string& name, const std::string& bytes) const {
    const fs::path file = Folder() / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }

  QApplication& application_ = testing::TestApplication();  // before any widget
  QTemporaryDir folder_;
  TextViewer viewer_;
  QString error_;
  // An interpretation text as the library writes it: Windows-1251 with CR LF line ends.
  const std::string bytes_ = Utf8ToCp1251("Солнце в Овне.\r\nЛуна — в Раке: 100% «воды».\r\n");
  const QString shown_ = "Солнце в Овне.\nЛуна — в Раке: 100% «воды».\n";
};

TEST_F(TextViewerTest, ShowsWindows1251TextDecoded) {
  ASSERT_TRUE(viewer_.Open(WriteText("kelvara_tmp.txt", bytes_), &error_)) << error_.toStdString();
  EXPECT_EQ(viewer_.ShownText(), shown_);
  EXPECT_EQ(viewer_.windowTitle(), QString("kelvara_tmp.txt"));
}

// Quotes, percent signs, Cyrillic and the longest names the file system takes.
TEST_F(TextViewerTest, SaveAsKeepsTheFileEightBitByteForByteUnderAwkwardNames) {
  ASSERT_TRUE(viewer_.Open(WriteText("source.txt", bytes_), &error_));
  for (const std::string& name :
       {std::string("Гороскоп \"Иван\" 100%.txt"), std::string(255, 'x'), Repeat("ж", 127)}) {
    ASSERT_TRUE(viewer_.SaveAs(Folder() / name, &error_)) << error_.toStdString();
    EXPECT_EQ(ReadFileBytes(Folder() / name).value_or(""), bytes_) << name;
    TextViewer reopened;
    EXPECT_TRUE(reopened.Open(Folder() / name, &error_)) << name << error_.toStdString();
    EXPECT_EQ(reopened.ShownText(), shown_) << name;
  }
}

TEST_F(TextViewerTest, PrintsToPdf) {
  ASSERT_TRUE(viewer_.Open(WriteText("source.txt", bytes_), &error_));
  const fs::path pdf = Folder() / "Печать \"1\" 5%.pdf";
  ASSERT_TRUE(viewer_.PrintToPdf(pdf, &error_)) << error_.toStdString();
  EXPECT_EQ(ReadFileBytes(pdf).value_or("").substr(0, 5), "%PDF-");
  EXPECT_FALSE(viewer_.PrintToPdf(Folder() / "missing" / "x.pdf", &error_));
}

TEST_F(TextViewerTest, FindsOnFromTheTopZoomsAndPrints) {
  ASSERT_TRUE(viewer_.Open(WriteText("source.txt", bytes_), &error_));
  EXPECT_TRUE(viewer_.FindNext("Раке"));
  EXPECT_TRUE(viewer_.FindNext("Раке")) << "past the only match the search starts again at the top";
  EXPECT_FALSE(viewer_.FindNext("Марс"));
  const int points = viewer_.PointSize();
  viewer_.Zoom(2);
  EXPECT_EQ(viewer_.PointSize(), points + 2);
  viewer_.Zoom(-100);
  EXPECT_GT(viewer_.PointSize(), 0);
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString((Folder() / "printed.pdf").string()));
  viewer_.Print(printer);
  EXPECT_EQ(ReadFileBytes(Folder() / "printed.pdf").value_or("").substr(0, 5), "%PDF-");
}

TEST_F(TextViewerTest, FailuresNameTheFileAndKeepTheShownText) {
  ASSERT_TRUE(viewer_.Open(WriteText("source.txt", bytes_), &error_));
  EXPECT_FALSE(viewer_.Open(Folder() / "нет такого.txt", &error_));
  EXPECT_TRUE(error_.contains("нет такого.txt")) << error_.toStdString();
  EXPECT_EQ(viewer_.ShownText(), shown_);
  EXPECT_FALSE(viewer_.SaveAs(Folder() / "missing" / "copy.txt", &error_));
  EXPECT_TRUE(error_.contains("copy.txt"));
}

TextViewer* FindShownViewer() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* viewer = qobject_cast<TextViewer*>(widget); viewer && viewer->isVisible()) return viewer;
  }
  return nullptr;
}

// The program "starts the word processor" on a file at the device root; the viewer stands in for it.
TEST_F(TextViewerTest, StartProgramOpensTheDeviceRootFileInAViewer) {
  testing::EnvironmentGuard guard("XDG_STATE_HOME");
  setenv("XDG_STATE_HOME", folder_.path().toUtf8().constData(), 1);
  fs::create_directories(Folder() / "kelvara");
  WriteText("kelvara/kelvara_tmp.txt", bytes_);

  EXPECT_TRUE(StartProgram("\\Windows\\pword.exe", "/kelvara_tmp.txt"));
  TextViewer* viewer = FindShownViewer();
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->ShownText(), shown_);
  viewer->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(StartProgram("calc.exe", ""));
  EXPECT_FALSE(StartProgram("pword.exe.bak", "/kelvara_tmp.txt"));
}

}  // namespace
}  // namespace kelvara::platform
