#include "platform/qt/text_viewer.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include "platform/codepage.h"
#include "platform/file_io.h"
#include "platform/qt/tests/qt_test_application.h"

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
  void SetUp() override {
    testing::TestApplication();
    ASSERT_TRUE(folder_.isValid());
  }
  fs::path Folder() const { return fs::path(folder_.path().toStdString()); }
  fs::path WriteText(const std::string& name, const std::string& bytes) const {
    const fs::path file = Folder() / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }

  QTemporaryDir folder_;
  // An interpretation text as the library writes it: Windows-1251 with CR LF line ends.
  const std::string bytes_ = Utf8ToCp1251("Солнце в Овне.\r\nЛуна — в Раке: 100% «воды».\r\n");
};

TEST_F(TextViewerTest, ShowsWindows1251TextDecoded) {
  TextViewer viewer;
  QString error;
  ASSERT_TRUE(viewer.Open(WriteText("kelvara_tmp.txt", bytes_), &error)) << error.toStdString();
  EXPECT_EQ(viewer.ShownText(), QString("Солнце в Овне.\nЛуна — в Раке: 100% «воды».\n"));
  EXPECT_EQ(viewer.windowTitle(), QString("kelvara_tmp.txt"));
}

TEST_F(TextViewerTest, SaveAsKeepsTheFileEightBitByteForByte) {
  TextViewer viewer;
  QString error;
  ASSERT_TRUE(viewer.Open(WriteText("source.txt", bytes_), &error));
  for (const std::string& name :
       {std::string("Гороскоп \"Иван\" 100%.txt"), std::string(255, 'x'), Repeat("ж", 127)}) {
    ASSERT_TRUE(viewer.SaveAs(Folder() / name, &error)) << error.toStdString();
    std::error_code reason;
    EXPECT_EQ(ReadFileBytes(Folder() / name, reason).value_or(""), bytes_) << name;
  }
}

TEST_F(TextViewerTest, AwkwardFileNamesOpen) {
  for (const std::string& name : {std::string("Текст \"1\" 50%.txt"), std::string(255, 'y')}) {
    TextViewer viewer;
    QString error;
    EXPECT_TRUE(viewer.Open(WriteText(name, bytes_), &error)) << name << error.toStdString();
  }
}

TEST_F(TextViewerTest, PrintsToPdf) {
  TextViewer viewer;
  QString error;
  ASSERT_TRUE(viewer.Open(WriteText("source.txt", bytes_), &error));
  const fs::path pdf = Folder() / "Печать \"1\" 5%.pdf";
  ASSERT_TRUE(viewer.PrintToPdf(pdf, &error)) << error.toStdString();
  std::error_code reason;
  EXPECT_EQ(ReadFileBytes(pdf, reason).value_or("").substr(0, 5), "%PDF-");
  EXPECT_FALSE(viewer.PrintToPdf(Folder() / "missing" / "x.pdf", &error));
}

TEST_F(TextViewerTest, FailuresNameTheFileAndKeepTheShownText) {
  TextViewer viewer;
  QString error;
  ASSERT_TRUE(viewer.Open(WriteText("source.txt", bytes_), &error));
  EXPECT_FALSE(viewer.Open(Folder() / "нет такого.txt", &error));
  EXPECT_TRUE(error.contains("нет такого.txt")) << error.toStdString();
  EXPECT_TRUE(viewer.ShownText().startsWith("Солнце"));
  EXPECT_FALSE(viewer.SaveAs(Folder() / "missing" / "copy.txt", &error));
  EXPECT_TRUE(error.contains("copy.txt"));
}

}  // namespace
}  // namespace kelvara::platform
