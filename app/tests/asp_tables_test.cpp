#include "app/asp_tables.h"

#include <gtest/gtest.h>

#include "app/messages.h"
#include "app/tests/test_support.h"

namespace kelvara::app {
namespace {

using AspectFilesTest = testing::DataFolderTest;

TEST_F(AspectFilesTest, SavedTablesComeBackFromTheirFiles) {
  AspectTables edited;
  edited.single[2].firstOrbs[5] = 6.5;
  edited.single[2].secondOrbs[33] = 1.25;
  edited.single[17].enabled = true;
  edited.single[17].angle = 51.428571;
  edited.between[4].firstText = "Полусекстиль";
  edited.between[4].secondText = "SSx";
  edited.between[4].penStyle = kPenSolid;
  edited.between[9].firstColor = 0x123456;
  ASSERT_TRUE(SaveAspectTables(Prefix(), edited).empty());

  AspectTables loaded;
  loaded.single[0].angle = 99.0;  // reset to the defaults before the file is read
  EXPECT_TRUE(LoadAspectTables(Prefix(), loaded).empty());
  EXPECT_EQ(loaded.single, edited.single);
  EXPECT_EQ(loaded.between, edited.between);
}

TEST_F(AspectFilesTest, MissingFilesLeaveTheDefaultsAndEachFileStandsAlone) {
  AspectTables loaded;
  loaded.between[1].angle = 1.0;
  EXPECT_TRUE(LoadAspectTables(Prefix(), loaded).empty());
  EXPECT_EQ(loaded.single, DefaultSingleChartAspects());
  EXPECT_EQ(loaded.between, DefaultTwoChartAspects());

  AspectTable onlySecond = DefaultTwoChartAspects();
  onlySecond[5].enabled = false;
  WriteFile(kAspectTable2File, EncodeAspectTable(onlySecond));
  EXPECT_TRUE(LoadAspectTables(Prefix(), loaded).empty());
  EXPECT_EQ(loaded.single, DefaultSingleChartAspects());
  EXPECT_EQ(loaded.between, onlySecond);
}

TEST_F(AspectFilesTest, DamagedFilesAreReportedAndLeaveTheDefaults) {
  const std::string good = EncodeAspectTable(DefaultSingleChartAspects());
  for (const std::string& bytes : {std::string(), good.substr(0, good.size() - 1), good + '\0'}) {
    WriteFile(kAspectTable1File, bytes);
    AspectTables loaded;
    loaded.single[0].angle = 99.0;
    const auto messages = LoadAspectTables(Prefix(), loaded);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind(kDamagedFile, 0), 0u);
    EXPECT_NE(messages[0].find("asp1."), std::string::npos);
    EXPECT_EQ(loaded.single, DefaultSingleChartAspects());
  }
}

}  // namespace
}  // namespace kelvara::app
