#include "app/commands.h"

#include <gtest/gtest.h>

#include <deque>

#include "app/view_picture.h"
#include "interpretation/tradition_flags.h"
#include "platform/file_io.h"
#include "platform/recording_canvas.h"
#include "platform/tests/bmp_writer.h"
#include "platform/tests/scratch_dir.h"
#include "workspace/chart_rules.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;
namespace fs = std::filesystem;
using ws::testing::Person;

// Answers like a user who is told in advance what to say; records what was shown.
class ScriptedUi : public ViewUi {
 public:
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  bool AskYesNo(std::string_view text) override {
    questions.emplace_back(text);
    return answerYes;
  }
  bool EditBirthData(ws::ChartRecord& chart, bool secondChart) override {
    dialogs.push_back(secondChart ? 2 : 1);
    if (!birthData) return false;
    chart.name = birthData->name;
    chart.local = birthData->local;
    chart.gmtOffsetHours = birthData->gmtOffsetHours;
    return true;
  }
  std::optional<ws::CompositeOptions> EditCompositeOptions() override { return composite; }
  std::optional<std::string> ChooseDocumentToOpen() override { return openPath; }
  std::optional<std::string> ChooseDocumentToSave(const std::string&) override { return savePath; }
  std::optional<std::string> ChooseWallpaperFile() override { return wallpaperPath; }

  bool answerYes = false;
  std::optional<ws::ChartRecord> birthData;
  std::optional<ws::CompositeOptions> composite;
  std::optional<std::string> openPath, savePath, wallpaperPath;
  std::vector<std::string> messages, questions;
  std::vector<int> dialogs;
};

class CountingClock : public NowClockControl {
 public:
  void Stop() override { ++stops; }
  void Resume() override { ++resumes; }
  int stops = 0, resumes = 0;
};

class CommandsTest : public ::testing::Test {
 protected:
  CommandsTest() {
    session_.dataPrefix = (dir_.Path() / "").string();
    session_.charts.main = Person("Иван", {1985, 7, 12, 14, 5, 0}, 4.0);
    session_.charts.second = Person("Мария", {1990, 3, 1, 8, 0, 0}, 3.0);
    session_.charts.second.filePath = "/charts/maria.kvd";
    ComputeShownCharts(context_);
    ApplyObjectSettingsToCharts(session_);  // as the start leaves them
  }
  CommandOutcome Run(CommandId command, int argument = 0) { return Dispatch(command, argument, context_); }
  void UseDoubleCharts() {
    session_.charts.doubleChart = true;
    ComputeShownCharts(context_);
  }

  platform::test_support::ScratchDir dir_;
  Session session_;
  ws::testing::FakeSky sky_;
  ws::testing::FixedClock clock_{platform::TimeZoneInfo{true, -180, 0, false, "MSK", "MSK"}};
  ScriptedUi ui_;
  CountingClock now_;
  CommandContext context_{session_, sky_, &clock_, nullptr, ui_, {}, &now_};
};

TEST_F(CommandsTest, EachHouseSystemSetsItsValueOnBothChartsAndNoSwitch) {
  UseDoubleCharts();
  const Settings before = session_.settings;
  for (const auto& [command, system] :
       {std::pair{CommandId::kHouseKoch, ws::kHouseKoch}, {CommandId::kHouseRegiomontanus, ws::kHouseRegiomontanus},
        {CommandId::kHouseBrahmagupta, ws::kHouseBrahmagupta}, {CommandId::kHouseMorinus, ws::kHouseMorinus},
        {CommandId::kHouseEqual, ws::kHouseEqual}, {CommandId::kHouseEqualMc, ws::kHouseEqualMc},
        {CommandId::kHouseEqualSun, ws::kHouseEqualSun}, {CommandId::kHousePlacidus, ws::kHousePlacidus}}) {
    const int runs = sky_.runs;
    EXPECT_TRUE(Run(command).chartsChanged);
    EXPECT_EQ(session_.charts.main.houseSystem, system);
    EXPECT_EQ(session_.charts.second.houseSystem, system);
    EXPECT_GT(sky_.runs, runs);
    Settings expected = before;
    expected.houseSystem = system;
    EXPECT_EQ(session_.settings, expected) << "only the house system changes";
  }
}

TEST_F(CommandsTest, TheCheckedHouseSystemComputesNothing) {
  const ws::ChartRecord before = session_.charts.main;
  const int runs = sky_.runs;
  EXPECT_FALSE(Run(CommandId::kHousePlacidus).chartsChanged);
  EXPECT_EQ(sky_.runs, runs);
  EXPECT_EQ(session_.charts.main, before);
  EXPECT_EQ(now_.stops, 0);
}

TEST_F(CommandsTest, TheEventMapOfANowChartAsksAndStaysInEveryMode) {
  for (const DisplayMode mode : {DisplayMode::kWheel, DisplayMode::kChains}) {
    for (const char* name : {"", "Сейчас", "Останов"}) {
      session_.displayMode = mode;
      session_.charts.main.name = name;
      ui_.questions.clear();
      Run(CommandId::kEventMap);
      EXPECT_EQ(ui_.questions, std::vector<std::string>{std::string(kAskEventMapForNow)}) << name;
      EXPECT_EQ(session_.displayMode, mode);
      EXPECT_TRUE(ui_.dialogs.empty());
    }
  }
  ui_.answerYes = true;
  Run(CommandId::kEventMap);
  EXPECT_EQ(ui_.dialogs, std::vector<int>{1}) << "yes opens the birth-data dialog";
  session_.charts.main.name = "Иван";
  Run(CommandId::kEventMap);
  EXPECT_EQ(session_.displayMode, DisplayMode::kEventMap);
  EXPECT_TRUE(session_.settings.viewTransit && !session_.settings.viewCircle);
}

TEST_F(CommandsTest, IChingNeedsHousesInOneOfTheCharts) {
  session_.charts.main.houseSystem = ws::kNoHouses;
  Run(CommandId::kIChing);
  EXPECT_EQ(ui_.messages, std::vector<std::string>{std::string(kIChingNeedsHouses)});
  EXPECT_FALSE(session_.settings.iChing);
  UseDoubleCharts();
  Run(CommandId::kIChing);
  EXPECT_TRUE(session_.settings.iChing) << "the second chart has houses";
}

TEST_F(CommandsTest, FixedMomentCalendarsRefuseWhileANowChartRuns) {
  int calls = 0;
  context_.services.calendar = [&calls](CalendarKind) { ++calls; };
  for (const CommandId command : {CommandId::kVoidMoon, CommandId::kAspectCalendar}) {
    for (const char* name : {"", "Сейчас"}) {
      session_.charts.main.name = name;
      ui_.messages.clear();
      Run(command);
      EXPECT_EQ(ui_.messages, std::vector<std::string>{std::string(kStopNowFirst)});
    }
    session_.charts.main.name = "Останов";
    Run(command);
  }
  EXPECT_EQ(calls, 2);
  session_.charts.main.name = "Иван";
  session_.charts.doubleChart = true;
  session_.charts.second.name = "Сейчас";
  Run(CommandId::kAspectCalendar);
  EXPECT_EQ(calls, 2) << "a running second chart refuses too";
}

TEST_F(CommandsTest, CommandsWithoutTheirPartSayItInTheProgramsWords) {
  Run(CommandId::kLunarCalendar);
  Run(CommandId::kPageRulers);
  Run(CommandId::kInterpretation);
  EXPECT_EQ(ui_.messages, (std::vector<std::string>{"\"Лунный календарь\" в этой версии программы еще не работает.",
                                                    "\"Сис.управ.\" в этой версии программы еще не работает.",
                                                    "\"Текст интерпретации\" в этой версии программы еще не работает."}));
  std::vector<SettingsPage> pages;
  context_.services.settingsPage = [&pages](SettingsPage page) { pages.push_back(page); };
  Run(CommandId::kPageMapAspects);
  Run(CommandId::kPagePlanets2);
  Run(CommandId::kPageRulers);
  EXPECT_EQ(pages, (std::vector<SettingsPage>{SettingsPage::kMapAspects, SettingsPage::kPlanets2, SettingsPage::kRulers}));
  std::vector<int> tables;
  context_.services.positionTable = [&tables](int chart) { tables.push_back(chart); };
  Run(CommandId::kPositionTable);
  Run(CommandId::kSecondPositionTable);
  EXPECT_EQ(tables, (std::vector<int>{1, 2}));
}

TEST_F(CommandsTest, SpreadingAStelliumForgetsTheGlyphPlacesOfBothCharts) {
  session_.charts.main.objects[3].display = {"", 0, "", 120.0, 0.5};
  session_.charts.second.objects[9].display = {"", 0, "", 40.0, 0.7};
  Run(CommandId::kSortAlongZodiac);
  EXPECT_TRUE(session_.settings.sortAlongZodiac);
  EXPECT_EQ(session_.charts.main.objects[3].display.angleDeg, ws::kNoDisplayAngle);
  EXPECT_EQ(session_.charts.second.objects[9].display.radius, ws::kNoDisplayRadius);
  Run(CommandId::kSortStaggered);
  EXPECT_FALSE(session_.settings.sortAlongZodiac);
}

TEST_F(CommandsTest, TraditionsAndChainsReloadTheDignityTables) {
  Run(CommandId::kAvestan);
  EXPECT_TRUE(session_.settings.avesta && !session_.settings.west);
  EXPECT_EQ(session_.dignityTables, DefaultDignityTables(Tradition::kAvestan));
  Run(CommandId::kSoulFormula);
  EXPECT_EQ(session_.displayMode, DisplayMode::kChains);
  EXPECT_EQ(session_.chainKind, ChainKind::kRulership) << "no kind chosen yet takes rulership";
  Run(CommandId::kChainFall);
  Run(CommandId::kSoulFormula);
  EXPECT_EQ(session_.chainKind, ChainKind::kFall) << "a chosen kind stays";
  Run(CommandId::kWestern);
  EXPECT_EQ(session_.dignityTables, DefaultDignityTables(Tradition::kWestern));
  Run(CommandId::kHoroscope);
  EXPECT_EQ(session_.displayMode, DisplayMode::kWheel);
  EXPECT_TRUE(session_.settings.viewCircle && !session_.settings.viewSoul);
}

TEST_F(CommandsTest, TheTraditionShowsOrHidesItsFiveObjectsInEveryTable) {
  UseDoubleCharts();
  for (const auto& [command, shown] : {std::pair{CommandId::kAvestan, 1}, std::pair{CommandId::kWestern, 0}}) {
    Run(command);
    for (int slot : interpretation::kAvestanSlots) {
      for (const ws::ObjectTable* objects : {&session_.charts.main.objects, &session_.charts.second.objects}) {
        EXPECT_EQ((*objects)[slot].visible, shown) << slot;
        EXPECT_EQ((*objects)[slot].takesPartInAspects, shown) << slot;
      }
      EXPECT_EQ(ActiveObjectSettings(session_, 2)[slot].visible, shown == 1) << slot;
    }
    EXPECT_EQ(session_.charts.main.objects[ws::kSlotMoon].visible, 1) << "the others stay";
  }
}

// A kind arranged by hand keeps its places when chosen again; another kind and new data
// start afresh.
TEST_F(CommandsTest, ChainPlacesAreKeptByTheirKindAndClearedByNewData) {
  using interpretation::ChainPlace;
  const ChainPlace arranged{0.5, 90.0};
  session_.mainChainLayout.At(ChainKind::kRulership, ws::kSlotSun) = arranged;
  session_.mainChainLayout.At(ChainKind::kFall, ws::kSlotSun) = arranged;
  session_.mainChainLayout.Keep(ChainKind::kRulership);
  Run(CommandId::kChainRulership);
  Run(CommandId::kChainFall);
  EXPECT_EQ(session_.mainChainLayout.At(ChainKind::kRulership, ws::kSlotSun), arranged);
  EXPECT_FALSE(session_.mainChainLayout.At(ChainKind::kFall, ws::kSlotSun).Placed());

  ui_.birthData = Person("Пётр", {2001, 1, 1, 12, 0, 0}, 3.0);
  ui_.answerYes = true;
  Run(CommandId::kNewData);
  EXPECT_FALSE(session_.mainChainLayout.Kept(ChainKind::kRulership));
  EXPECT_FALSE(session_.mainChainLayout.At(ChainKind::kRulership, ws::kSlotSun).Placed());
}

TEST_F(CommandsTest, ADamagedDignityFileIsToldOnceAndAnUnsavedEditStandsInForIt) {
  ASSERT_TRUE(platform::WriteFileAtomically(session_.dataPrefix + std::string(kDignityFile), "broken"));
  Run(CommandId::kSoulFormula);
  Run(CommandId::kAvestan);
  EXPECT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(session_.dignityTables, DefaultDignityTables(Tradition::kAvestan));

  DignityTables edited = DefaultDignityTables(Tradition::kWestern);
  edited.rulership[0].fill(0);
  AdoptEditedDignityTables(session_, edited);  // as after a save that failed
  Run(CommandId::kWestern);
  EXPECT_EQ(session_.dignityTables, edited);
  ASSERT_FALSE(SaveDignityTables(session_.dataPrefix, edited));
  AdoptEditedDignityTables(session_, edited);
  EXPECT_FALSE(session_.unsavedDignityTables) << "saved tables come from their file";
}

TEST_F(CommandsTest, DoubleChartsOffAndOnRestoreTheSecondChartAcrossACompositeChart) {
  UseDoubleCharts();
  Run(CommandId::kDoubleCharts);
  EXPECT_FALSE(session_.charts.doubleChart);
  EXPECT_EQ(session_.charts.second.name, "");
  Run(CommandId::kDoubleCharts);
  EXPECT_EQ(session_.charts.second.name, "Мария");
  EXPECT_EQ(session_.charts.second.filePath, "/charts/maria.kvd");

  ui_.composite = ws::CompositeOptions{};
  Run(CommandId::kComposite);
  EXPECT_TRUE(ws::IsCompositeName(session_.charts.main.name));
  Run(CommandId::kComposite);
  EXPECT_EQ(session_.charts.main.name, "Иван");
  Run(CommandId::kDoubleCharts);
  Run(CommandId::kDoubleCharts);
  EXPECT_EQ(session_.charts.second.name, "Мария");
  EXPECT_EQ(session_.charts.second.filePath, "/charts/maria.kvd");
  EXPECT_EQ(now_.stops, now_.resumes);
  EXPECT_GE(now_.stops, 6) << "the clock stops around each change";
}

TEST_F(CommandsTest, EveryCommandLeavesTheChartsWithTheirObjectSettings) {
  ActiveObjectSettings(session_, 1)[ws::kSlotMoon].visible = false;
  ActiveObjectSettings(session_, 2)[ws::kSlotSun].colour = {1, 2, 3};
  Run(CommandId::kHoroscope);
  EXPECT_EQ(session_.charts.main.objects[ws::kSlotMoon].visible, 0);
  EXPECT_EQ(session_.charts.second.objects[ws::kSlotMoon].visible, 1);
  EXPECT_EQ(session_.charts.second.objects[ws::kSlotSun].display.colourRgb, 0x030201u);
}

TEST_F(CommandsTest, DoubleChartsOverAMergedChartAskAndTakeANowChart) {
  UseDoubleCharts();
  Run(CommandId::kMidpoint);
  ASSERT_TRUE(ws::IsMidpointName(session_.charts.main.name));
  Run(CommandId::kDoubleCharts);  // a merged chart has switched the second chart off
  Run(CommandId::kDoubleCharts);
  EXPECT_EQ(ui_.questions.size(), 1u);
  ui_.answerYes = true;
  Run(CommandId::kDoubleCharts);
  EXPECT_EQ(session_.charts.second.name, "Сейчас");
}

TEST_F(CommandsTest, CancellingTheBirthDataDialogChangesNothing) {
  const ws::WorkspaceState before = session_.charts;
  Run(CommandId::kNewData);
  Run(CommandId::kChangeSourceData);
  EXPECT_EQ(ui_.dialogs, (std::vector<int>{1, 1}));
  EXPECT_EQ(session_.charts.main, before.main);
  EXPECT_FALSE(session_.modified);
}

TEST_F(CommandsTest, NewDataReplacesTheMainChartAndMarksItModified) {
  session_.charts.main.filePath = "/charts/ivan.kvd";
  ui_.birthData = Person("Пётр", {2001, 2, 3, 4, 5, 6}, 2.0);
  Run(CommandId::kNewData);
  EXPECT_EQ(session_.charts.main.name, "Пётр");
  EXPECT_EQ(session_.charts.main.local, (ws::CalendarMoment{2001, 2, 3, 4, 5, 6}));
  EXPECT_EQ(session_.charts.main.filePath, "");
  EXPECT_TRUE(session_.modified);
  UseDoubleCharts();
  Run(CommandId::kNewData);
  EXPECT_EQ(ui_.dialogs.back(), 2) << "in double-chart mode new data go to the second chart";
}

TEST_F(CommandsTest, SavingFollowsTheRulesAndAFailedSaveKeepsTheChartModified) {
  session_.modified = true;
  ui_.savePath = (dir_ / "missing" / "ivan.kvd").string();
  Run(CommandId::kSaveDocument);
  EXPECT_EQ(ui_.messages.size(), 1u);
  EXPECT_TRUE(session_.modified);
  ui_.savePath = (dir_ / "ivan.kvd").string();
  Run(CommandId::kSaveDocument);
  EXPECT_FALSE(session_.modified);
  EXPECT_EQ(session_.charts.main.filePath, *ui_.savePath);
  UseDoubleCharts();
  Run(CommandId::kSaveDocumentAs);
  EXPECT_EQ(ui_.messages.back(), ws::kDoubleNotSaved);
}

TEST_F(CommandsTest, AModifiedChartAsksBeforeItIsReplaced) {
  session_.modified = true;
  ui_.openPath = (dir_ / "other.kvd").string();
  ui_.answerYes = false;
  Run(CommandId::kOpenDocument);
  EXPECT_EQ(ui_.questions, std::vector<std::string>{"Сохранить изменения в «Иван»?"});
  ui_.questions.clear();
  session_.charts.main.name = "Сейчас";
  Run(CommandId::kOpenDocument);
  EXPECT_TRUE(ui_.questions.empty()) << "a now chart is not saved";
}

TEST_F(CommandsTest, ADamagedDocumentOrAVanishedRecentFileChangesNoChart) {
  ASSERT_TRUE(platform::WriteFileAtomically(dir_ / "bad.kvd", std::string("\x01\x00\x00", 3)));
  const ws::WorkspaceState before = session_.charts;
  ui_.openPath = (dir_ / "bad.kvd").string();
  Run(CommandId::kOpenDocument);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(session_.charts.main, before.main);

  session_.recentFiles.Add((dir_ / "gone.kvd").string());
  Run(CommandId::kRecentFile, 0);
  EXPECT_EQ(ui_.messages.back(), std::string(kRecentFileGone) + (dir_ / "gone.kvd").string());
  EXPECT_TRUE(session_.recentFiles.Files().empty());
  EXPECT_EQ(session_.charts.main, before.main);
}

TEST_F(CommandsTest, StopNowFreezesAndReleasesTheNowCharts) {
  session_.charts.main.name = "";
  Run(CommandId::kStopNow);
  EXPECT_EQ(session_.charts.main.name, "Останов");
  Run(CommandId::kStopNow);
  EXPECT_EQ(session_.charts.main.name, "Сейчас");
  EXPECT_EQ(now_.stops, 2);
  EXPECT_EQ(now_.resumes, 2);
}

// Every entry any menu offers does something known, in every kind of session.
TEST_F(CommandsTest, NoMenuEntryIsWithoutAHandler) {
  for (const DisplayMode mode : {DisplayMode::kWheel, DisplayMode::kEventMap, DisplayMode::kChains}) {
    for (const char* name : {"", "Сейчас", "Останов", "Иван"}) {
      for (const bool doubleChart : {false, true}) {
        session_.displayMode = mode;
        session_.charts.main.name = name;
        session_.charts.doubleChart = doubleChart;
        MenuTree all = BuildCommandMenu(session_, {true, false});
        for (MenuTree tree : {BuildFileMenu(session_), BuildTimeFormatMenu(session_), BuildToolBar(session_)}) {
          all.insert(all.end(), tree.begin(), tree.end());
        }
        for (const CommandId command : CommandsOf(all)) {
          const Session before = session_;
          EXPECT_TRUE(Dispatch(command, 0, context_).handled) << static_cast<int>(command);
          session_ = before;
        }
      }
    }
  }
  EXPECT_FALSE(Run(CommandId::kNone).handled);
}

using platform::testing::PlainBmp;

TEST_F(CommandsTest, AWallpaperThatCannotBeReadLeavesTheOldOneAndItsKeys) {
  const std::string good = (dir_ / "обои.bmp").string(), junk = (dir_ / "junk.bmp").string();
  ASSERT_TRUE(platform::WriteFileAtomically(good, PlainBmp(4, 2, 0xFF0000)));
  ASSERT_TRUE(platform::WriteFileAtomically(junk, "BM not a picture"));
  ui_.wallpaperPath = good;
  Run(CommandId::kChooseWallpaper);
  ASSERT_TRUE(session_.wallpaper);
  EXPECT_EQ(session_.wallpaper->image.width, 4);
  EXPECT_EQ(session_.settings.wallpaperFile, good);
  EXPECT_TRUE(BuildViewMenu(session_)[1].checked);

  ui_.wallpaperPath = junk;
  Run(CommandId::kChooseWallpaper);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_TRUE(ui_.messages[0].starts_with(std::string(kWallpaperUnreadable) + junk + ": ")) << ui_.messages[0];
  EXPECT_EQ(session_.settings.wallpaperFile, good);
  EXPECT_EQ(session_.wallpaper->file, good);

  Run(CommandId::kShowWallpaper);
  EXPECT_FALSE(WallpaperDrawn(session_));
  Run(CommandId::kShowWallpaper);
  EXPECT_TRUE(WallpaperDrawn(session_)) << "the picture read once shows again";

  // A later run whose file has gone: told, and the keys stay for the file's return.
  session_.wallpaper.reset();
  session_.settings.wallpaperShown = false;
  fs::remove(good);
  Run(CommandId::kShowWallpaper);
  EXPECT_EQ(ui_.messages.size(), 2u);
  EXPECT_FALSE(WallpaperDrawn(session_));
  EXPECT_EQ(session_.settings.wallpaperFile, good);
}

// The wallpaper covers the view at one scale, and no picture paints its background over it.
TEST_F(CommandsTest, EveryPictureLiesOverTheWallpaperUncovered) {
  EXPECT_EQ(CoveringSource({400, 100}, {100, 100}), (platform::Rect{150, 0, 250, 100}));
  EXPECT_EQ(CoveringSource({100, 400}, {200, 100}), (platform::Rect{0, 175, 100, 225}));
  EXPECT_EQ(CoveringSource({0, 10}, {200, 100}), platform::Rect{});
  session_.wallpaper = std::get<Wallpaper>(ReadWallpaper([&] {
    const std::string file = (dir_ / "wide.bmp").string();
    EXPECT_TRUE(platform::WriteFileAtomically(file, PlainBmp(40, 10, 0x0000FF)));
    return file;
  }()));
  session_.settings.wallpaperShown = true;
  ViewPictures pictures = DefaultPictures(&clock_, nullptr, sky_, nullptr);
  const ViewMetrics metrics = MetricsForSize(300, 200);
  for (DisplayMode mode : {DisplayMode::kWheel, DisplayMode::kEventMap, DisplayMode::kChains}) {
    session_.displayMode = mode;
    session_.chainKind = ChainKind::kRulership;
    platform::RecordingCanvas canvas;
    DrawViewPicture(canvas, metrics, session_, pictures);
    ASSERT_FALSE(canvas.Calls().empty());
    const platform::CanvasCall& first = canvas.Calls().front();
    EXPECT_EQ(first.kind, platform::CanvasCall::Kind::StretchCopy);
    EXPECT_EQ(first.rect, metrics.rect);
    EXPECT_EQ(first.sourceRect, (platform::Rect{12, 0, 27, 10}));
    for (const platform::CanvasCall& fill : canvas.CallsOf(platform::CanvasCall::Kind::FillRect)) {
      EXPECT_NE(fill.rect, metrics.rect) << "mode " << int(mode);
    }
  }
}

}  // namespace
}  // namespace kelvara::app
