#include "app/help_topics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace kelvara::app {
namespace {

std::string HelpPage() {
  std::ifstream in(std::filesystem::path(KELVARA_BIN_DIR) / "data" / "help" / "kelvara.htm");
  std::ostringstream page;
  page << in.rdbuf();
  return page.str();
}

bool PageHasAnchor(const std::string& page, std::string_view topic) {
  const std::string name(topic.substr(1));
  return page.find("name=\"" + name + "\"") != std::string::npos || page.find("id=\"" + name + "\"") != std::string::npos;
}

TEST(HelpTopics, EveryTopicIsAnAnchorOfThePage) {
  const std::string page = HelpPage();
  ASSERT_FALSE(page.empty()) << "the help page is copied beside the programs";
  std::set<std::string_view> seen;
  for (std::string_view topic : HelpTopics()) {
    EXPECT_TRUE(seen.insert(topic).second) << topic;
    ASSERT_EQ(topic.front(), '#');
    EXPECT_TRUE(PageHasAnchor(page, topic)) << topic;
    EXPECT_NE(page.find("href=\"" + std::string(topic) + "\""), std::string::npos) << topic << " is in the contents";
  }
}

// Each mode and page opens a topic of the table, so the check above covers it.
TEST(HelpTopics, ModesAndPagesOpenTopicsOfTheTable) {
  const auto topics = HelpTopics();
  const auto known = [&](std::string_view topic) { return std::find(topics.begin(), topics.end(), topic) != topics.end(); };
  for (auto mode : {DisplayMode::kWheel, DisplayMode::kEventMap, DisplayMode::kChains}) {
    EXPECT_TRUE(known(HelpTopicOfMode(mode))) << int(mode);
  }
  for (int page = 0; page <= int(SettingsPage::kMapPlanetsTransit); ++page) {
    EXPECT_TRUE(known(HelpTopicOfPage(SettingsPage(page)))) << page;
  }
}

}  // namespace
}  // namespace kelvara::app
