#include "app/settings_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "app/messages.h"
#include "app/step_shift.h"
#include "app/tests/silent_ui.h"
#include "app/wheel_input.h"
#include "platform/recording_canvas.h"
#include "platform/file_io.h"
#include "platform/tests/scratch_dir.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;
namespace fs = std::filesystem;
using platform::Color;
using ws::testing::Person;

using testing::SilentUi;

// Typed values, some of them nonsense, into random cells of a page's grid.
void TypeAtRandom(platform::EditableGridModel& grid, std::mt19937& random, int edits) {
  static const std::vector<std::string> kTexts = {"да", "нет", "#12AB9F", "#GG0000", "7", "", "x", "24", "Пунктирная"};
  for (int i = 0; i < edits; ++i) {
    const int row = int(random() % grid.RowCount());
    const int column = int(random() % grid.ColumnCount());
    switch (random() % 3) {
      case 0: grid.SetCell(row, column, kTexts[random() % kTexts.size()]); break;
      case 1: grid.SetChecked(row, column, random() % 2 == 0); break;
      default: grid.SetColor(row, column, Color::FromColorRef(random() & 0xFFFFFF)); break;
    }
  }
}

TEST(PlanetsPage, WhatTheGridTakesSurvivesTheFileAndRefusalsChangeNothing) {
  for (bool eventMapOrder : {false, true}) {
    std::mt19937 random(eventMapOrder ? 7 : 11);
    ChartObjectSettings sets;
    PlanetsPage page(sets.avesta, eventMapOrder);
    TypeAtRandom(page.Grid(), random, 400);
    page.TakeEdits();
    for (int row = 0; row < page.Grid().RowCount(); ++row) {
      const ObjectSetting& setting = sets.avesta[PlanetsPage::SlotOfRow(row)];
      EXPECT_EQ(setting.visible, page.Grid().At(row, page.ColumnOf(&ObjectSetting::visible)).checked);
      EXPECT_EQ(setting.usedAsMoving, page.Grid().At(row, page.ColumnOf(&ObjectSetting::usedAsMoving)).checked);
      EXPECT_EQ(setting.colour, page.Grid().At(row, page.ColourColumn()).color);
      EXPECT_EQ(page.Grid().At(row, 1).text, ws::SlotName(PlanetsPage::SlotOfRow(row))) << "names stay";
    }
    EXPECT_EQ(sets.west, ChartObjectSettings{}.west) << "the other tradition's set is untouched";
    std::string error;
    EXPECT_EQ(DecodeObjectSettings(EncodeObjectSettings(sets), error), sets) << error;
  }
  ChartObjectSettings sets;
  PlanetsPage page(sets.west, true);
  EXPECT_EQ(page.ColumnOf(&ObjectSetting::usedAsMoving), 2) << "the event map's columns come first";
  EXPECT_TRUE(page.Grid().SetCell(0, page.ColourColumn(), "#GG0000"));
  page.TakeEdits();
  EXPECT_EQ(sets, ChartObjectSettings{});
}

TEST(ViewPage, ColoursAndStepsSurviveTheStoreAndSwitchesBecomeTheirCommands) {
  platform::test_support::ScratchDir dir;
  platform::Registry registry(dir.Path() / "registry.db");
  std::mt19937 random(5);
  for (int round = 0; round < 20; ++round) {
    SettingsDraft draft;
    ViewPage page(draft, draft.settings);
    TypeAtRandom(page.Grid(), random, 20);
    page.Grid().SetCell(3, 1, std::to_string(kStepsPerDay[random() % kStepsPerDay.size()]));
    page.TakeEdits();
    platform::Profile profile(registry);
    ASSERT_TRUE(SaveSettings(profile, draft.settings));
    EXPECT_EQ(LoadSettings(platform::Profile(registry)), draft.settings);
  }
  Settings current;
  SettingsDraft draft;
  ViewPage page(draft, current);
  const auto& switches = ViewSwitches();
  for (std::size_t i = 0; i < switches.size(); ++i) {
    if (switches[i].member == &Settings::applyingShown) page.SetWanted(i, false);
    if (switches[i].member == &Settings::avesta) page.SetWanted(i, true);
  }
  EXPECT_EQ(page.CommandsFor(current), (std::vector<CommandId>{CommandId::kAvestan, CommandId::kApplyingAspects}));
  EXPECT_EQ(ViewSwitchCaption(switches[0]), "Авестийская традиция");
}

TEST(RulersPage, CellsListTheSignsAndEditsMoveThem) {
  SettingsDraft draft;
  draft.tradition = Tradition::kAvestan;
  draft.dignityTables = DefaultDignityTables(Tradition::kWestern);
  RulersPage page(draft);
  const int marsRow = ws::kSlotMars - 1, rulershipColumn = 1;
  EXPECT_EQ(page.Grid().At(marsRow, rulershipColumn).text, "Овен");
  auto edit = page.OpenCell(marsRow, rulershipColumn, 1);
  ASSERT_TRUE(edit);
  ASSERT_TRUE(edit->ChooseSign(9));  // Capricorn
  page.Apply(*edit);
  EXPECT_EQ(page.Grid().At(marsRow, rulershipColumn).text, "Овен, Козерог");
  EXPECT_FALSE(page.OpenCell(marsRow, 0, 0)) << "the name column opens nothing";
  page.RestoreDefaults();
  EXPECT_EQ(draft.dignityTables, DefaultDignityTables(Tradition::kAvestan));
}

class ApplyDraftTest : public ::testing::Test {
 protected:
  ApplyDraftTest() {
    session_.dataPrefix = Prefix();
    session_.charts.main = Person("Иван", {1985, 7, 12, 14, 5, 0}, 4.0);
    ComputeShownCharts(context_);
    ApplyObjectSettingsToCharts(session_);
  }
  std::string Prefix() const { return (dir_.Path() / "").string(); }
  std::vector<std::string> Apply(SettingsDraft& draft, std::vector<CommandId> switches = {}) {
    return ApplyDraft(draft, switches, context_, &profile_);
  }

  platform::test_support::ScratchDir dir_;
  platform::Registry registry_{dir_ / "registry.db"};
  platform::Profile profile_{registry_};
  Session session_;
  ws::testing::FakeSky sky_;
  ws::testing::FixedClock clock_{platform::TimeZoneInfo{true, -180, 0, false, "MSK", "MSK"}};
  SilentUi ui_;
  CommandContext context_{session_, sky_, &clock_, nullptr, ui_, {}, nullptr};
};

TEST_F(ApplyDraftTest, OnlyWhatChangedIsWrittenAndTheChartsShowIt) {
  SettingsDraft draft = OpenDraft(session_).draft;
  draft.aspectTables.single[2].enabled = false;
  draft.ObjectsOf(kFirstChart).west[ws::kSlotMoon].visible = false;
  draft.settings.signBandColor = {1, 2, 3};
  EXPECT_TRUE(Apply(draft, {CommandId::kApplyingAspects}).empty());
  EXPECT_TRUE(fs::exists(Prefix() + "asp1.") && fs::exists(Prefix() + "pl1."));
  EXPECT_FALSE(fs::exists(Prefix() + "asp2.") || fs::exists(Prefix() + "pl2.") || fs::exists(Prefix() + "upr."));
  EXPECT_EQ(session_.charts.main.objects[ws::kSlotMoon].visible, 0);
  EXPECT_FALSE(session_.aspectTables.single[2].enabled);
  const Settings stored = LoadSettings(platform::Profile(registry_));
  EXPECT_FALSE(stored.applyingShown);
  EXPECT_EQ(stored.signBandColor, (Color{1, 2, 3}));
  platform::RecordingCanvas canvas;
  display::DrawWheel(canvas, {0, 0, 400, 400},
                     WheelInputOf(session_.charts, session_.aspectTables, WheelOptionsOf(session_.settings, 0), false));
  const auto ellipses = canvas.CallsOf(platform::CanvasCall::Kind::Ellipse);
  EXPECT_TRUE(std::ranges::any_of(ellipses, [](const auto& call) { return call.brush.color == Color{1, 2, 3}; }))
      << "the wheel's sign band takes the colour";
  const auto written = fs::last_write_time(Prefix() + "asp1.");
  EXPECT_TRUE(Apply(draft).empty());
  EXPECT_EQ(fs::last_write_time(Prefix() + "asp1."), written) << "applying again writes nothing";
}

TEST_F(ApplyDraftTest, AFailedWriteKeepsTheOldFileAndTheSessionAndTells) {
  ASSERT_TRUE(platform::WriteFileAtomically(Prefix() + "asp2.", EncodeAspectTable(DefaultTwoChartAspects())));
  SettingsDraft draft = OpenDraft(session_).draft;
  draft.aspectTables.between[1].angle = 121;
  session_.dataPrefix = Prefix() + "missing/";
  const auto messages = Apply(draft);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind(kCannotWriteFile, 0), 0u);
  EXPECT_EQ(session_.aspectTables.between, DefaultTwoChartAspects());
  EXPECT_EQ(draft.aspectTables.between[1].angle, 121) << "the edit stays in the dialog";
}

TEST_F(ApplyDraftTest, ADamagedFileShowsDefaultsAndIsReplacedOnlyOnOk) {
  ASSERT_TRUE(platform::WriteFileAtomically(Prefix() + "pl2.", "short"));
  DraftOpening opening = OpenDraft(session_);
  ASSERT_EQ(opening.messages.size(), 1u);
  EXPECT_EQ(opening.messages[0].rfind(kDamagedFile, 0), 0u);
  EXPECT_EQ(opening.draft.objectsSecond, ChartObjectSettings{});
  EXPECT_EQ(*platform::ReadFileBytes(Prefix() + "pl2."), "short");
  EXPECT_TRUE(Apply(opening.draft).empty());
  std::string error;
  EXPECT_TRUE(DecodeObjectSettings(*platform::ReadFileBytes(Prefix() + "pl2."), error)) << error;
}

TEST_F(ApplyDraftTest, RestoredRulersRemoveTheirFileOnOkAndEachTraditionGetsItsOwn) {
  DignityTables edited = DefaultDignityTables(Tradition::kWestern);
  edited.rulership[9][ws::kSlotMars - 1] = 1;  // Mars rules Capricorn too
  ASSERT_FALSE(SaveDignityTables(Prefix(), edited));
  ReloadDignityTables(session_);
  SettingsDraft draft = OpenDraft(session_).draft;
  RulersPage(draft).RestoreDefaults();
  EXPECT_TRUE(fs::exists(Prefix() + "upr.")) << "only OK removes it";
  EXPECT_TRUE(Apply(draft).empty());
  EXPECT_FALSE(fs::exists(Prefix() + "upr."));
  EXPECT_EQ(session_.dignityTables, DefaultDignityTables(Tradition::kWestern));
  Dispatch(CommandId::kAvestan, 0, context_);
  EXPECT_EQ(session_.dignityTables, DefaultDignityTables(Tradition::kAvestan));
}

TEST_F(ApplyDraftTest, EachTraditionKeepsItsOwnChoices) {
  ActiveObjectSettings(session_, kFirstChart)[ws::kSlotLilith].visible = true;  // shown in the West
  Dispatch(CommandId::kAvestan, 0, context_);
  ActiveObjectSettings(session_, kFirstChart)[ws::kSlotLilith].visible = false;  // hidden in the Avesta
  for (CommandId command : {CommandId::kWestern, CommandId::kAvestan}) Dispatch(command, 0, context_);
  EXPECT_EQ(session_.charts.main.objects[ws::kSlotLilith].visible, 0) << "still hidden";
  EXPECT_EQ(session_.charts.main.objects[ws::kSlotSelena].visible, 1) << "the tradition's own object shows";
  Dispatch(CommandId::kWestern, 0, context_);
  EXPECT_EQ(session_.charts.main.objects[ws::kSlotLilith].visible, 1);
  EXPECT_EQ(session_.charts.main.objects[ws::kSlotSelena].visible, 0);
}

}  // namespace
}  // namespace kelvara::app
