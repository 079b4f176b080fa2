#include "app/session.h"

#include <fstream>

#include <gtest/gtest.h>

#include "platform/file_io.h"
#include "platform/tests/scratch_dir.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::app {
namespace {

namespace fs = std::filesystem;
namespace ws = workspace;

// Runs each case in a scratch folder that is also the current directory, so the
// scratch file of the start and the exit is the case's own.
class SessionTest : public ::testing::Test {
 protected:
  SessionTest() : previousFolder_(fs::current_path()) {
    fs::create_directories(dir_ / "data");
    fs::current_path(dir_.Path());
  }
  ~SessionTest() override { fs::current_path(previousFolder_); }

  StartUpEnvironment Environment(std::function<bool()> claim = nullptr) {
    return {&profile_, std::move(claim), {dir_ / "state", dir_ / "fonts", dir_ / "card"}, Prefix()};
  }
  std::string Prefix() const { return (dir_ / "data" / "").string(); }
  void Touch(const fs::path& path, std::string_view bytes = "x") {
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    ASSERT_TRUE(platform::WriteFileAtomically(path, bytes));
  }
  Session Start() {
    Session session;
    EXPECT_EQ(StartUp(Environment(), session).outcome, StartUpOutcome::kStarted);
    return session;
  }

  fs::path previousFolder_;
  platform::test_support::ScratchDir dir_;
  platform::Registry registry_{dir_ / "registry.db"};
  platform::Profile profile_{registry_};
};

ChartServices CountingServices(int& computed) {
  return {[&computed](ws::ChartRecord&) { return ++computed, true; }, nullptr, nullptr};
}

TEST_F(SessionTest, AFreshStartHasTheDefaultsAnUnnamedChartAndItsFolders) {
  Touch(kScratchFile);
  const Session session = Start();
  EXPECT_FALSE(fs::exists(kScratchFile));
  EXPECT_EQ(session.charts.main.name, "");
  EXPECT_EQ(session.displayMode, DisplayMode::kWheel);
  EXPECT_TRUE(session.settings.west);
  EXPECT_EQ(session.dignityTables, DefaultDignityTables(Tradition::kWestern));
  EXPECT_EQ(session.aspectTables.between, DefaultTwoChartAspects());
  EXPECT_EQ(session.textFolder, Prefix() + "TXT_ST/");
  EXPECT_EQ(session.helpFile, "kelvara.htm");
}

TEST_F(SessionTest, StoredSettingsChooseTraditionModeAndHouseSystem) {
  profile_.WriteInt(kSettingsSection, "b_West", 0);
  profile_.WriteInt(kSettingsSection, "b_Avesta", 0);
  profile_.WriteInt(kSettingsSection, "b_ViewCircle", 0);
  profile_.WriteInt(kSettingsSection, "b_ViewSoul", 1);
  profile_.WriteInt(kSettingsSection, "SysHouse", ws::kHouseKoch);
  const Session session = Start();
  EXPECT_TRUE(session.settings.avesta);
  EXPECT_FALSE(session.settings.west);
  EXPECT_EQ(session.displayMode, DisplayMode::kWheel);
  EXPECT_TRUE(session.settings.viewCircle);
  EXPECT_FALSE(session.settings.viewSoul);
  EXPECT_EQ(session.charts.main.houseSystem, ws::kHouseKoch);

  profile_.WriteInt(kSettingsSection, "b_West", 1);
  profile_.WriteInt(kSettingsSection, "b_ViewTransit", 1);
  const Session western = Start();
  EXPECT_EQ(western.dignityTables, DefaultDignityTables(Tradition::kWestern));
  EXPECT_EQ(western.displayMode, DisplayMode::kEventMap);
}

TEST_F(SessionTest, ANowChartAtExitComesBackAtTheNowPlace) {
  profile_.WriteInt(kSettingsSection, "b_Now", 1);
  profile_.WriteString(kSettingsSection, "sLastNowPlace", "Казань");
  profile_.WriteString(kSettingsSection, "Man.FName", "/charts/a.kvd");
  Session single = Start();
  EXPECT_EQ(single.charts.main.placeName, "Казань");
  EXPECT_EQ(single.charts.nowPlace, "Казань");
  EXPECT_EQ(single.settings.mainDocument, "");

  profile_.WriteInt(kSettingsSection, "b_Duble", 1);
  Session twoCharts = Start();
  EXPECT_EQ(twoCharts.charts.second.placeName, "Казань");
  EXPECT_EQ(twoCharts.charts.main.placeName, "");
  EXPECT_EQ(twoCharts.settings.mainDocument, "/charts/a.kvd");

  profile_.WriteString(kSettingsSection, "Man2.FName", "/charts/b.kvd");
  Session withSecondDocument = Start();
  EXPECT_EQ(withSecondDocument.charts.main.placeName, "Казань");
  EXPECT_EQ(withSecondDocument.settings.mainDocument, "");
}

TEST_F(SessionTest, TablesComeFromTheirFilesAndDamagedOnesAreReported) {
  AspectTables edited;
  edited.single[3].angle = 151.0;
  ASSERT_TRUE(SaveAspectTables(Prefix(), edited).empty());
  Touch(Prefix() + "asp2.", "short");
  DignityTables dignities = DefaultDignityTables(Tradition::kWestern);
  dignities.fall[0][0] = 1;
  ASSERT_FALSE(SaveDignityTables(Prefix(), dignities));

  Session session;
  const StartUpResult result = StartUp(Environment(), session);
  EXPECT_EQ(session.aspectTables.single, edited.single);
  EXPECT_EQ(session.aspectTables.between, DefaultTwoChartAspects());
  EXPECT_EQ(session.dignityTables, dignities);
  ASSERT_EQ(result.messages.size(), 1u);
  EXPECT_NE(result.messages[0].find("asp2."), std::string::npos);
}

TEST_F(SessionTest, ASecondInstanceEndsBeforeTouchingAnything) {
  profile_.WriteInt(kSettingsSection, "b_Duble", 1);
  Session session;
  int claims = 0;
  const auto result = StartUp(Environment([&] { return ++claims, false; }), session);
  EXPECT_EQ(result.outcome, StartUpOutcome::kAlreadyRunning);
  EXPECT_EQ(claims, 1);
  EXPECT_FALSE(session.settings.doubleChart);
  EXPECT_TRUE(session.dataPrefix.empty());
}

TEST_F(SessionTest, MissingFontsAreCopiedFromTheStorageCardOnly) {
  Touch(dir_ / "card" / "Kelvara.ttf", "glyphs");
  Touch(dir_ / "card" / "Times.ttf", "new times");
  Touch(dir_ / "fonts" / "Times.ttf", "old times");
  Start();
  EXPECT_EQ(platform::ReadFileBytes(dir_ / "fonts" / "Kelvara.ttf"), "glyphs");
  EXPECT_EQ(platform::ReadFileBytes(dir_ / "fonts" / "Times.ttf"), "old times");
  EXPECT_FALSE(fs::exists(dir_ / "fonts" / "Arial.ttf"));
}

TEST_F(SessionTest, ShutDownKeepsNowOnlyForANowChartAndWritesEverything) {
  const struct {
    bool doubleChart;
    const char* mainName;
    const char* secondName;
    bool keepsNow;
  } cases[] = {{false, "", "", true},           {false, "Останов", "", true},
               {false, "Иван", "Сейчас", false}, {true, "Иван", "Сейчас", true},
               {true, "Сейчас", "Мария", false}};
  for (const auto& c : cases) {
    Session session = Start();
    session.settings.now = true;
    session.charts.doubleChart = c.doubleChart;
    session.charts.main.name = c.mainName;
    session.charts.second.name = c.secondName;
    session.charts.main.houseSystem = ws::kHouseEqualSun;
    session.recentFiles.Add("/charts/x.kvd");
    Touch(kScratchFile);
    ASSERT_TRUE(ShutDown(profile_, session));
    EXPECT_FALSE(fs::exists(kScratchFile));
    const Settings stored = LoadSettings(profile_);
    EXPECT_EQ(stored.now, c.keepsNow) << c.mainName << " / " << c.secondName;
    EXPECT_EQ(stored.doubleChart, c.doubleChart);
    EXPECT_EQ(stored.houseSystem, ws::kHouseEqualSun);
  }
  platform::RecentFileList recent;
  recent.Load(profile_);
  EXPECT_EQ(recent.Files(), std::vector<std::string>{"/charts/x.kvd"});
}

TEST_F(SessionTest, SavedAndOpenedDocumentsGoThroughTheRulesAndRememberTheirPath) {
  Session writer = Start();
  writer.charts.main.name = "Иван";
  writer.charts.main.local = {1990, 7, 4, 12, 30, 15};
  writer.charts.main.note = "заметка";
  const fs::path path = dir_ / "Иван.kvd";
  ASSERT_FALSE(SaveDocument(writer, path));
  EXPECT_EQ(writer.settings.mainDocument, path.string());
  EXPECT_EQ(writer.charts.main.filePath, path.string());

  int computed = 0;
  Session reader = Start();
  ASSERT_FALSE(OpenDocument(reader, path, CountingServices(computed)));
  EXPECT_EQ(computed, 1);
  EXPECT_EQ(DocumentOf(reader.charts.main, reader.mainRings), DocumentOf(writer.charts.main, writer.mainRings));
  EXPECT_EQ(reader.recentFiles.Files().front(), path.string());

  reader.charts.doubleChart = true;
  ASSERT_FALSE(OpenDocument(reader, path, CountingServices(computed)));
  EXPECT_EQ(reader.charts.second.name, "Иван");
  EXPECT_EQ(reader.settings.secondDocument, path.string());
  EXPECT_EQ(SaveDocument(reader, dir_ / "b.kvd"), "Двойные карты не сохраняются.");
  EXPECT_FALSE(fs::exists(dir_ / "b.kvd"));
}

TEST_F(SessionTest, ADamagedDocumentChangesNoChart) {
  Session session = Start();
  session.charts.main.name = "Мария";
  session.charts.main.placeName = "Омск";
  const ws::WorkspaceState before = session.charts;
  const fs::path path = dir_ / "broken.kvd";
  Touch(path, std::string(100, '\x01'));
  int computed = 0;
  const auto message = OpenDocument(session, path, CountingServices(computed));
  ASSERT_TRUE(message);
  EXPECT_NE(message->find("Файл поврежден: "), std::string::npos);
  EXPECT_EQ(computed, 0);
  EXPECT_EQ(session.charts.main, before.main);
  EXPECT_EQ(session.charts.second, before.second);
  EXPECT_TRUE(session.recentFiles.Files().empty());

  session.charts.main.name = "Комп.карта (Иван + Мария)";
  EXPECT_EQ(OpenDocument(session, path, CountingServices(computed)),
            "Нельзя строить двойные карты с участием средних и композитных карт.");
}

TEST_F(SessionTest, TheLastRunsDocumentsAreOpenedAgainOrForgottenWhenGone) {
  Session writer = Start();
  writer.charts.main.name = "Иван";
  ASSERT_FALSE(SaveDocument(writer, dir_ / "Иван.kvd"));
  writer.settings.doubleChart = true;
  writer.settings.secondDocument = (dir_ / "пропал.kvd").string();
  ASSERT_TRUE(ShutDown(profile_, writer));

  profile_.WriteInt(kSettingsSection, "b_Duble", 1);
  int computed = 0;
  Session session = Start();
  const auto messages = ReopenLastDocuments(session, CountingServices(computed));
  EXPECT_EQ(session.charts.main.name, "Иван");
  EXPECT_EQ(computed, 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("пропал.kvd"), std::string::npos);
  EXPECT_EQ(session.settings.secondDocument, "");
}

TEST_F(SessionTest, AnOpenedDocumentIsComputedThroughTheWorkspace) {
  Session writer = Start();
  ws::ChartRecord& saved = writer.charts.main;
  saved.name = "Иван";
  saved.local = {1990, 7, 4, 12, 30, 0};
  saved.gmtOffsetHours = 4.0;
  saved.latitudeDeg = 55.75;
  saved.longitudeDeg = 37.6;
  ASSERT_FALSE(SaveDocument(writer, dir_ / "Иван.kvd"));
  saved.gmtOffsetHours = 14.0;  // beyond what a chart can be computed with
  ASSERT_FALSE(SaveDocument(writer, dir_ / "далеко.kvd"));

  const ws::testing::FakeSky sky;
  Session session = Start();
  const ChartServices services = SessionChartServices(session, sky, nullptr, nullptr, nullptr);
  ASSERT_FALSE(OpenDocument(session, dir_ / "Иван.kvd", services));
  const ws::ChartRecord& opened = session.charts.main;
  EXPECT_EQ(opened.title, ws::kTitleNatal);
  EXPECT_EQ(opened.greenwich, (ws::CalendarMoment{1990, 7, 4, 8, 30, 0}));
  EXPECT_TRUE(opened.objects[ws::kSlotSun].HasLongitude());
  EXPECT_EQ(sky.runs, 1);

  const ws::ChartRecord before = opened;
  const auto message = OpenDocument(session, dir_ / "далеко.kvd", services);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->rfind("Неправильные данные!", 0), 0u);
  EXPECT_EQ(session.charts.main, before);
  EXPECT_EQ(session.settings.mainDocument, (dir_ / "Иван.kvd").string());
}

}  // namespace
}  // namespace kelvara::app
