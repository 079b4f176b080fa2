#include "platform/qt/help_viewer.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTextBrowser>

#include "platform/qt/tests/qt_test_application.h"

namespace kelvara::platform {
namespace {

const std::filesystem::path kHelpFile = std::filesystem::path(KELVARA_SOURCE_DIR) / "data/help/kelvara.htm";

TEST(HelpAnchor, EveryFormOfTarget) {
  EXPECT_EQ(HelpAnchor("file:kelvara.htm#Horoscope"), "Horoscope");
  EXPECT_EQ(HelpAnchor("kelvara.htm#Map"), "Map");
  EXPECT_EQ(HelpAnchor("#Soul"), "Soul");
  EXPECT_EQ(HelpAnchor("DlgCom"), "DlgCom");
  EXPECT_EQ(HelpAnchor("file:kelvara.htm"), "");
  EXPECT_EQ(HelpAnchor(""), "");
}

TEST(HelpViewer, PageHasEveryTopicTheProgramOpens) {
  testing::TestApplication();
  HelpViewer viewer(kHelpFile);
  ASSERT_TRUE(viewer.ShowTopic("file:kelvara.htm"));
  const QStringList anchors = viewer.Anchors();
  for (const char* topic :
       {"Horoscope", "Map", "Soul", "DlgCom", "Now", "Step", "Calendars", "Text", "Files", "Wallpaper", "Settings",
        "Planets", "Aspects", "AspTable", "Rulers", "View", "Positions"}) {
    EXPECT_TRUE(anchors.contains(topic)) << topic;
  }
  EXPECT_TRUE(viewer.Browser()->toPlainText().contains("Формула Души"));
}

TEST(HelpViewer, OpensAtTheAnchor) {
  testing::TestApplication();
  HelpViewer viewer(kHelpFile);
  viewer.resize(400, 300);
  viewer.show();
  ASSERT_TRUE(viewer.ShowTopic("file:kelvara.htm#Files"));
  QScrollBar* scroll = viewer.Browser()->verticalScrollBar();
  EXPECT_GT(scroll->value(), 0);
  ASSERT_TRUE(viewer.ShowTopic("#NoSuchTopic"));
  EXPECT_EQ(scroll->value(), 0) << "an unknown topic shows the top of the page";
}

TEST(HelpViewer, MissingPageIsReported) {
  testing::TestApplication();
  HelpViewer viewer("/nonexistent/kelvara.htm");
  EXPECT_FALSE(viewer.ShowTopic("#Map"));
}

}  // namespace
}  // namespace kelvara::platform
