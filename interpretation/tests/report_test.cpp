#include "interpretation/report.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "interpretation/tests/report_fixtures.h"
#include "interpretation/text_files.h"
#include "workspace/aspect_finder.h"

namespace kelvara::interpretation {
namespace {

namespace ws = workspace;
constexpr auto npos = std::string::npos;

class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::path(::testing::TempDir()) /
              ("kelvara_report_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder_);
    testing::WriteReportLibrary(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // Only the given objects visible, at the given longitudes.
  static ws::ChartRecord ChartOf(std::initializer_list<std::pair<int, double>> objects) {
    ws::ChartRecord chart = testing::SpreadChart(0.0);
    for (ws::ChartObject& object : chart.objects) object.visible = 0;
    for (const auto& [slot, longitude] : objects) {
      chart.objects[slot].SetLongitude(longitude);
      chart.objects[slot].visible = 1;
    }
    return chart;
  }

  ReportResult Run(const ws::ChartRecord& chart) const { return Report(chart, table_, folder_); }
  std::string Text(const ws::ChartRecord& chart) const { return platform::Cp1251ToUtf8(Run(chart).Text()); }

  std::filesystem::path folder_;
  ws::AspectTable table_ = ws::DefaultSingleChartAspects();
};

TEST_F(ReportTest, ANamedChartOpensWithItsBirthBlockAndPositionsRoundToHundredths) {
  ws::ChartRecord chart = ChartOf({{ws::kSlotSun, 12.996}, {ws::kSlotMoon, 359.9999}, {ws::kSlotMars, 65.5}});
  chart.name = "Иван";
  chart.local = {1990, 3, 4, 5, 6, 7};
  chart.greenwich = {1990, 3, 4, 2, 6, 7};
  const std::string positions = "ПОЛОЖЕНИЕ ПЛАНЕТ НА МОМЕНТ РОЖДЕНИЯ\r\n\r\n"
                                " Солнце ... 13.00 град. Овна\r\n Луна ... 29.99 град. Рыб\r\n"
                                " Марс ... 05.50 град. Близнецов\r\n\r\n[MIDL1]";
  EXPECT_TRUE(Text(chart).starts_with("[TITLE]\r\n\r\n\r\nИмя: Иван\r\nВремя рождения:\r\n"
                                      "  местное: 05:06:07  04.03.1990\r\n"
                                      "  по Гринвичу: 02:06:07  04.03.1990\r\n\r\n" + positions))
      << Text(chart);
  chart.name.clear();
  EXPECT_TRUE(Text(chart).starts_with("[TITLE]\r\n\r\n\r\n" + positions)) << "no name, no birth block";
}

TEST_F(ReportTest, EntriesEndAtTheirLineEndAndNodesAndGroupsFollowTheirRules) {
  const std::string text = Text(ChartOf({{ws::kSlotSun, 10.0}, {ws::kSlotChiron, 100.0}, {10, 130.0},
                                         {ws::kSlotNorthNode, 200.0}, {ws::kSlotSouthNode, 20.0}}));
  for (const char* piece : {"[MIDL1]\r\n  Солнце в Овне: кратко;\r\n  Хирон в Раке: кратко;",
                            "Н.Узел в Овне: кратко.\r\n[MIDL12]", "\r\n~Солнце в Овне абзац\r\n",
                            "\r\n~Хирон в Раке   ........... (описание отсутствует)\r\n",
                            "к о л л е к т и в н ы е\r\n\r\n~Нептун во Льве абзац",
                            "к а р м и ч е с к и е\r\n\r\n~В.Узел (Раху) в Весах абзац\r\n"}) {
    EXPECT_NE(text.find(piece), npos) << piece << "\n" << text;
  }
  EXPECT_EQ(text.find("Н.Узел в Овне абзац"), npos) << "the south node gets no paragraph";
  EXPECT_EQ(text.find("[В.Узел в Весах|Н.Узел в Овне]"), npos) << "the nodes make no aspect";
  const std::string together = "\r\nСелена и Лилит вместе\r\n";
  EXPECT_EQ(text.find(together), npos);
  EXPECT_NE(Text(ChartOf({{ws::kSlotSelena, 40.0}, {ws::kSlotLilith, 55.0}})).find(together), npos);
}

TEST_F(ReportTest, TheThirdAndLaterAspectsOfAKindShareTheThirdHeading) {
  table_ = {};
  table_[0].enabled = true;
  table_[0].angle = 120.0;
  table_[0].firstOrbs.fill(4.0);
  table_[0].secondOrbs.fill(4.0);
  const std::string text = Text(ChartOf({{ws::kSlotSun, 10.0}, {ws::kSlotMoon, 130.0}, {ws::kSlotVenus, 250.0},
                                         {ws::kSlotMars, 50.0}, {ws::kSlotJupiter, 170.0}}));
  std::size_t at = 0;
  for (const char* piece : {"\r\nСолнце в Овне: кратко, и Луна во Льве: кратко, <1. Тригон. [Солнце в Овне|Луна во Льве]>\r\n",
                            "<2. Тригон. [Солнце в Овне|Венера в Стрельце]>", "<3. Тригон. [Луна во Льве|Венера в Стрельце]>",
                            "<3. Тригон. [Марс в Тельце|Юпитер в Деве]>\r\n\r\n                 *  *  *  *  *\r\n\r\n[END]"}) {
    at = text.find(piece, at);
    ASSERT_NE(at, npos) << piece << "\n" << text;
  }
}

TEST_F(ReportTest, TheAspectsAreTheFindersMajorOnesAmongTheFirstSixteenObjects) {
  const ws::ChartRecord chart = testing::SpreadChart(37.3);
  const std::string text = Text(chart);
  std::vector<std::string> reported;
  for (auto open = text.find('['); open != npos; open = text.find('[', open + 1)) {
    const auto close = text.find(']', open);
    if (text.find('|', open) < close) reported.push_back(text.substr(open + 1, close - open - 1));
  }
  ws::AspectFinderInput input;
  input.inner = input.outer = &chart.objects;
  input.table = &table_;
  std::vector<ws::FoundAspect> found = ws::FindAspects(input);
  std::ranges::stable_sort(found, {}, [](const auto& f) { return std::pair(f.innerSlot, f.outerSlot); });
  const auto key = [&](int slot) {
    return std::string(ws::SlotName(slot)) + " " + std::string(SignPrepositional(chart.objects[slot].sign));
  };
  std::vector<std::string> expected;
  for (const ws::FoundAspect& f : found) {
    const bool major = f.angleDeg == 0 || f.angleDeg == 60 || f.angleDeg == 90 || f.angleDeg == 120 || f.angleDeg == 180;
    if (major && f.outerSlot <= ws::kSlotLilith && !(f.innerSlot == ws::kSlotNorthNode && f.outerSlot == ws::kSlotSouthNode)) {
      expected.push_back(key(f.innerSlot) + "|" + key(f.outerSlot));
    }
  }
  EXPECT_LT(expected.size(), found.size()) << "minor aspects and cusps should be left out";
  EXPECT_GE(expected.size(), 4u);
  EXPECT_EQ(reported, expected);
}

TEST_F(ReportTest, EachMissingFileIsToldAndAFramingOneEndsTheReport) {
  const ws::ChartRecord chart = testing::SpreadChart(37.3);
  const std::vector<std::pair<std::string, std::string>> framing = {
      {"cup.txt", "[TITLE]"}, {"midl1.txt", "[MIDL1]"}, {"midl12.txt", "[MIDL12]"}, {"midl2.txt", "[MIDL2]"},
      {"END.txt", "[END]"}};
  const auto runWithout = [&](const std::string& name) {
    SetUp();
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
      if (UpperCp1251(entry.path().filename().string()) == UpperCp1251(name)) std::filesystem::remove(entry.path());
    }
    return Run(chart);
  };
  for (std::size_t missing = 0; missing < framing.size(); ++missing) {
    const ReportResult result = runWithout(framing[missing].first);
    EXPECT_EQ(result.messages, std::vector<std::string>{"Не найден файл '" + framing[missing].first + "'"});
    const std::string text = platform::Cp1251ToUtf8(result.Text());
    for (std::size_t file = 0; file < framing.size(); ++file) {
      EXPECT_EQ(text.find(framing[file].second) != npos, file < missing) << framing[missing].first << " " << file;
    }
  }
  for (const auto& [name, lostText] : {std::pair{"SHORT.txt", ": кратко"}, {"Pl_Zz.txt", "абзац"}, {"ASP.txt", "Тригон"}}) {
    const ReportResult result = runWithout(name);
    const std::string text = platform::Cp1251ToUtf8(result.Text());
    EXPECT_EQ(result.messages, std::vector<std::string>{"Не найден файл '" + std::string(name) + "'"});
    EXPECT_EQ(text.find(lostText), npos) << name;
    EXPECT_TRUE(text.ends_with("[END]")) << name;
  }
  const ReportResult result = runWithout("REFREN.txt");
  EXPECT_TRUE(result.messages.empty());
  EXPECT_EQ(result.Text().find('~'), npos);
}

}  // namespace
}  // namespace kelvara::interpretation
