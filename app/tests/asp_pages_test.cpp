#include "app/asp_pages.h"

#include <gtest/gtest.h>

#include "app/command_menu.h"
#include "app/messages.h"
#include "app/session.h"
#include "app/tests/test_support.h"
#include "app/wheel_input.h"
#include "platform/recording_canvas.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;
constexpr int kTrine = 1;
constexpr int kSextile = 2;

class AspectsPageTest : public testing::DataFolderTest {
 protected:
  AspectsPageTest() { page_.OnEdited([this] { ++edits_; }); }

  platform::Refusal Type(int row, int column, std::string_view text) {
    return page_.Aspects().SetCell(row, column, text);
  }
  std::string Shown(int row, int column) { return page_.Aspects().At(row, column).ValueText(); }

  AspectTables draft_;
  AspectsPage page_{draft_, kSingleChartTable};
  int edits_ = 0;
};

TEST_F(AspectsPageTest, ValuesOutsideWhatTheTableFileTakesAreRefusedAndTheOldOnesKept) {
  const AspectTables before = draft_;
  const std::vector<std::pair<int, std::string>> refused = {
      {kAspectAngle, "360,01"}, {kAspectApplyingOrb, "180.5"}, {kAspectSeparatingOrb, "-1"},
      {kAspectWidth, "21"},     {kAspectAngle, "nan"},         {kAspectApplyingOrb, "inf"}, {kAspectWidth, ""}};
  for (const auto& [column, text] : refused) EXPECT_TRUE(Type(kTrine, column, text).has_value()) << text;
  EXPECT_EQ(*Type(kTrine, kAspectAngle, "400"), "Введите число от 0 до 360");
  EXPECT_EQ(*Type(kTrine, kAspectWidth, "21"), "Введите число от 0 до 20");
  // One bad value in a pasted row: nothing of it is taken.
  EXPECT_TRUE(page_.Aspects().Paste(kTrine, kAspectAngle, "100\t6\tnan").has_value());
  EXPECT_EQ(draft_.single, before.single);
  EXPECT_EQ(edits_, 0);

  EXPECT_FALSE(Type(kTrine, kAspectApplyingOrb, "6,5"));
  EXPECT_FALSE(Type(kTrine, kAspectAngle, "360"));
  EXPECT_FALSE(Type(kTrine, kAspectWidth, "20"));
  const AspectRecord& trine = draft_.single[kTrine];
  EXPECT_EQ(trine.firstOrbs, [] { OrbArray orbs; orbs.fill(6.5); return orbs; }());
  EXPECT_EQ(trine.angle, 360.0);
  EXPECT_EQ(trine.penWidth, 20);
  EXPECT_EQ(edits_, 3);
  EXPECT_EQ(draft_.between, before.between);
}

TEST_F(AspectsPageTest, TheOrbColumnShowsOneValueOnlyWhileAllSlotsAgree) {
  EXPECT_EQ(Shown(kTrine, kAspectApplyingOrb), "5.00");
  page_.SelectAspect(kTrine);
  ASSERT_FALSE(page_.Orbs().SetCell(ws::kSlotMoon, kOrbApplying, "8"));
  EXPECT_EQ(draft_.single[kTrine].firstOrbs[ws::kSlotMoon], 8.0);
  EXPECT_EQ(draft_.single[kTrine].firstOrbs[ws::kSlotSun], 5.0);
  EXPECT_EQ(Shown(kTrine, kAspectApplyingOrb), kOrbsDiffer);
  // A copied row with the marker pastes back without flattening the orbs.
  const std::string row = platform::TabSeparatedRows(page_.Aspects(), std::vector<int>{kTrine});
  ASSERT_FALSE(page_.Aspects().Paste(kTrine, 0, row));
  EXPECT_EQ(draft_.single[kTrine].firstOrbs[ws::kSlotMoon], 8.0);
  ASSERT_FALSE(Type(kTrine, kAspectApplyingOrb, "3"));
  EXPECT_EQ(Shown(kTrine, kAspectApplyingOrb), "3.00");
  EXPECT_EQ(page_.Orbs().At(ws::kSlotMoon, kOrbApplying).number, 3.0);
  EXPECT_EQ(page_.Orbs().At(33, kOrbObject).text, "Парс Фортуны, Второй жребий");
}

TEST_F(AspectsPageTest, SeparatingLikeApplyingAndDefaultsActOnTheShownTableOnly) {
  EXPECT_EQ(draft_.single[kTrine].secondOrbs, OrbArray{});  // so no separating aspect is drawn
  page_.SeparatingLikeApplying();
  for (const AspectRecord& record : draft_.single) EXPECT_EQ(record.secondOrbs, record.firstOrbs);
  EXPECT_EQ(draft_.between, DefaultTwoChartAspects());
  page_.ShowTable(kTwoChartTable);
  ASSERT_FALSE(Type(kSextile, kAspectEnabled, "нет"));
  page_.RestoreDefaults();
  EXPECT_EQ(draft_.between, DefaultTwoChartAspects());
  EXPECT_NE(draft_.single, DefaultSingleChartAspects());
  // 0x0000FF as the tables keep it is red on the page.
  EXPECT_EQ(page_.Aspects().At(kTrine, kAspectColour).color, (platform::Color{255, 0, 0}));
  EXPECT_EQ(page_.Aspects().At(kTrine, kAspectStyle).penColor, (platform::Color{255, 0, 0}));
}

TEST_F(AspectsPageTest, EveryAcceptedValueSurvivesTheTableFile) {
  for (int row = 0; row < kAspectCount; ++row) {
    ASSERT_FALSE(page_.Aspects().Paste(row, kAspectEnabled,
                                       "да\t359,99\t180\t0.01\t#123456\t0\tПунктирная\t#ABCDEF\tПервый\tВторой"));
  }
  page_.SelectAspect(4);
  ASSERT_FALSE(page_.Orbs().Paste(0, kOrbApplying, "0\t179.99\n12,34\t0,5"));
  std::string error;
  const std::optional<AspectTable> decoded = DecodeAspectTable(EncodeAspectTable(draft_.single), error);
  ASSERT_TRUE(decoded) << error;
  EXPECT_EQ(*decoded, draft_.single);
  EXPECT_EQ(draft_.single[4].secondColor, 0xEFCDABu);
  EXPECT_EQ(draft_.single[4].penStyle, kPenDots);
}

TEST_F(AspectsPageTest, ImportAndExportOneTableInTheFileForm) {
  const std::filesystem::path file = Prefix() + "asp1.";
  ASSERT_FALSE(Type(kTrine, kAspectAngle, "121"));
  ASSERT_FALSE(page_.ExportTo(file));
  const AspectTable exported = draft_.single;
  page_.RestoreDefaults();
  ASSERT_FALSE(page_.ImportFrom(file));
  EXPECT_EQ(draft_.single, exported);

  const std::string bytes = EncodeAspectTable(DefaultTwoChartAspects());
  WriteFile("damaged", bytes.substr(0, bytes.size() - 1));
  const std::optional<std::string> message = page_.ImportFrom(Prefix() + "damaged");
  ASSERT_TRUE(message);
  EXPECT_EQ(message->rfind(kDamagedFile, 0), 0u);
  EXPECT_EQ(draft_.single, exported);
  EXPECT_TRUE(page_.ImportFrom(Prefix() + "missing").has_value());
}

// The list is what the wheel draws, checked against the descriptions the wheel leaves.
class AspectListTest : public ::testing::Test {
 protected:
  AspectListTest() {
    session_.charts.main = ws::testing::Person("Иван", {1985, 7, 12, 14, 5, 0}, 4.0);
    session_.charts.second = ws::testing::Person("Мария", {2001, 2, 3, 4, 5, 6}, 2.0, 50.0, 30.0, "Киев");
    ws::ComputeChart(session_.charts.main, {sky_, nullptr, nullptr, nullptr, ""});
    ws::ComputeChart(session_.charts.second, {sky_, nullptr, nullptr, nullptr, ""});
    draft_.single[kTrine].secondOrbs = draft_.single[kTrine].firstOrbs;
  }

  std::vector<std::string> WheelDescriptions() {
    platform::RecordingCanvas canvas;
    const display::WheelInput input = WheelInputOf(session_.charts, draft_, WheelOptionsOf(session_.settings, 0),
                                                   SecondChartShown(session_));
    std::vector<std::string> texts;
    std::optional<display::AspectEntry> last;
    for (const display::AspectEntry& entry : display::DrawWheel(canvas, {0, 0, 400, 400}, input).aspects) {
      const bool tick = last && last->text == entry.text && last->innerSlot == entry.innerSlot &&
                        last->outerSlot == entry.outerSlot;  // the outer cusp's tick repeats its aspect
      if (!tick) texts.push_back(entry.text);
      last = entry;
    }
    return texts;
  }

  std::vector<std::string> ListDescriptions() {
    std::vector<std::string> texts;
    for (const AspectListRow& row : ShownAspectRows(session_, draft_)) texts.push_back(row.description);
    return texts;
  }

  Session session_;
  AspectTables draft_;
  ws::testing::FakeSky sky_;
};

TEST_F(AspectListTest, RowsAreTheWheelsAspectsForOneChartAndForTwo) {
  EXPECT_EQ(AspectTableInUse(session_), kSingleChartTable);
  ASSERT_FALSE(WheelDescriptions().empty());
  EXPECT_EQ(ListDescriptions(), WheelDescriptions());
  const std::vector<AspectListRow> rows = ShownAspectRows(session_, draft_);
  const auto trine = std::find_if(rows.begin(), rows.end(), [](const AspectListRow& r) { return r.angleDeg == 120; });
  ASSERT_NE(trine, rows.end());
  EXPECT_EQ(trine->colour, (platform::Color{255, 0, 0}));
  EXPECT_EQ(trine->description, trine->firstObject + " + 120 + " + trine->secondObject);
  EXPECT_LT(trine->distanceDeg, trine->orbDeg);

  session_.charts.doubleChart = true;
  EXPECT_EQ(AspectTableInUse(session_), kTwoChartTable);
  ASSERT_FALSE(WheelDescriptions().empty());
  EXPECT_EQ(ListDescriptions(), WheelDescriptions());
  // A draft edit changes the list.
  for (AspectRecord& record : draft_.between) record.enabled = false;
  EXPECT_TRUE(ShownAspectRows(session_, draft_).empty());
}

}  // namespace
}  // namespace kelvara::app
