#include "app/session.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/messages.h"
#include "interpretation/tradition_flags.h"
#include "platform/file_io.h"
#include "platform/tests/scratch_dir.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::app {
namespace {

namespace fs = std::filesystem;
namespace ws = workspace;

// Each case runs in a scratch folder that is also the current directory, so the
// scratch file of the start and the exit is the case's own.
class SessionTest : public ::testing::Test {
 protected:
  SessionTest() : previousFolder_(fs::current_path()) {
    fs::create_directories(dir_ / "data");
    fs::current_path(dir_.Path());
  }
  ~SessionTest() override { fs::current_path(previousFolder_); }

  std::string Prefix() const { return (dir_ / "data" / "").string(); }
  void Touch(const fs::path& path, std::string_view bytes = "x") {
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    ASSERT_TRUE(platform::WriteFileAtomically(path, bytes));
  }
  StartUpResult Start(Session& session, std::function<bool()> claim = nullptr, std::string zone = "") {
    return StartUp({&profile_, std::move(claim), {dir_ / "state", dir_ / "fonts", dir_ / "card"}, Prefix(), zone},
                   session);
  }
  Session Start() {
    Session session;
    EXPECT_EQ(Start(session).outcome, StartUpOutcome::kStarted);
    return session;
  }
  void Set(std::string_view key, int value) { profile_.WriteInt(kSettingsSection, key, value); }
  void Set(std::string_view key, const char* value) { profile_.WriteString(kSettingsSection, key, value); }

  fs::path previousFolder_;
  platform::test_support::ScratchDir dir_;
  platform::Registry registry_{dir_ / "registry.db"};
  platform::Profile profile_{registry_};
  ws::testing::FakeSky sky_;
};

TEST_F(SessionTest, AFreshStartHasTheDefaultsAnUnnamedChartAndItsFolders) {
  Touch(kScratchFile);
  const Session session = Start();
  EXPECT_FALSE(fs::exists(kScratchFile));
  EXPECT_EQ(session.charts.main.name, "");
  EXPECT_EQ(session.displayMode, DisplayMode::kWheel);
  EXPECT_EQ(session.dignityTables, DefaultDignityTables(Tradition::kWestern));
  EXPECT_EQ(session.aspectTables.between, DefaultTwoChartAspects());
  EXPECT_EQ(session.textFolder, Prefix() + "TXT_ST/");
}

TEST_F(SessionTest, BothTraditionsOffStartAvestanAndAStoredChainsModeOnTheWheel) {
  Set("b_West", 0);
  Set("b_ViewCircle", 0);
  Set("b_ViewSoul", 1);
  Set("SysHouse", ws::kHouseKoch);
  const Session session = Start();
  EXPECT_TRUE(session.settings.avesta);
  EXPECT_EQ(session.dignityTables, DefaultDignityTables(Tradition::kAvestan));
  EXPECT_EQ(session.displayMode, DisplayMode::kWheel);
  EXPECT_TRUE(session.settings.viewCircle && !session.settings.viewSoul);
  EXPECT_EQ(session.charts.main.houseSystem, ws::kHouseKoch);
}

TEST_F(SessionTest, ANowChartAtExitComesBackAtTheNowPlace) {
  Set("b_Now", 1);
  Set("sLastNowPlace", "Казань");
  Set("Man.FName", "/charts/a.kvd");
  const Session single = Start();
  EXPECT_EQ(single.charts.main.placeName, "Казань");
  EXPECT_EQ(single.settings.mainDocument, "");

  Set("b_Duble", 1);
  const Session twoCharts = Start();
  EXPECT_EQ(twoCharts.charts.second.placeName, "Казань");
  EXPECT_EQ(twoCharts.charts.main.placeName, "");
  EXPECT_EQ(twoCharts.settings.mainDocument, "/charts/a.kvd");
}

// Two cities of one zone: the zone's own city is the less populous one.
void WriteTwoCityBase(const std::string& prefix) {
  std::string bytes;
  for (const auto& [latin, name, population, latitude, longitude] :
       {std::tuple{"Kazan", "Казань", 1200, 55.79, 49.12}, {"Moscow", "Москва", 1000, 55.75, 37.62},
        {"Tver", "Тверь", 5000, 56.86, 35.90}}) {
    places::CityRecord city;
    city.firstText = latin;
    city.name = name;
    city.fourthText = "Europe/Moscow";
    city.encodedX = places::EncodeLongitude(longitude);
    city.encodedY = places::EncodeLatitude(latitude);
    city.reserved = population;
    places::AppendCityRecord(city, bytes);
  }
  ASSERT_TRUE(platform::WriteFileAtomically(prefix + places::kCityBaseFileName, bytes));
}

TEST_F(SessionTest, ANowChartAtStartStandsAtItsPlacesCoordinates) {
  WriteTwoCityBase(Prefix());
  Set("b_Now", 1);
  Set("sLastNowPlace", "Казань");
  const Session single = Start();
  EXPECT_NEAR(single.charts.main.latitudeDeg, 55.79, 1e-9);
  EXPECT_NEAR(single.charts.main.longitudeDeg, 49.12, 1e-9);
  Set("b_Duble", 1);
  const Session twoCharts = Start();
  EXPECT_EQ(twoCharts.charts.second.name, "Сейчас") << "the now chart of the last run comes back";
  EXPECT_NEAR(twoCharts.charts.second.longitudeDeg, 49.12, 1e-9);
}

TEST_F(SessionTest, AFirstStartTakesTheCityOfTheSystemsZoneAsTheNowPlace) {
  WriteTwoCityBase(Prefix());
  for (const auto& [zone, place] : {std::pair{"Europe/Moscow", "Москва"}, {"Europe/Nowhere", ""}, {"", ""}}) {
    Session session;
    Start(session, nullptr, zone);
    EXPECT_EQ(session.charts.nowPlace, place) << zone;
  }
  WriteTwoCityBase(Prefix());
  Set("sLastNowPlace", "Казань");
  Session session;
  Start(session, nullptr, "Europe/Moscow");
  EXPECT_EQ(session.charts.nowPlace, "Казань") << "a stored place wins";
}

TEST_F(SessionTest, ADamagedSettingsStoreIsSetAsideAndSaidOnce) {
  EXPECT_FALSE(StoreStartMessage(registry_));
  Touch(dir_ / "broken.db", std::string(4096, 'x'));
  platform::Registry broken(dir_ / "broken.db");
  const auto message = StoreStartMessage(broken);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->rfind(kStoreMovedAside1, 0), 0u);
  EXPECT_NE(message->find(broken.MovedAside().string()), std::string::npos);
  platform::Profile fresh(broken);
  EXPECT_EQ(LoadSettings(fresh), Settings{}) << "the window comes up on the defaults";
}

// What could be read from a damaged store is kept, and the message says so.
TEST_F(SessionTest, ASalvagedStoreSaysWhatWasKept) {
  const auto file = dir_ / "salvaged.db";
  {
    platform::Registry registry(file);
    platform::Profile profile(registry);
    for (int i = 0; i < 300; ++i) profile.WriteString("Settings", "sFiller" + std::to_string(i), std::string(200, 'z'));
    profile.WriteInt("Settings", "b_Avesta", 1);
  }
  std::string bytes;
  {
    std::ifstream in(file, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  const std::size_t page = 4096, damaged = bytes.size() / page - 2;
  for (std::size_t i = damaged * page; i < (damaged + 1) * page; ++i) bytes[i] = static_cast<char>(i);
  Touch(file, bytes);
  ::testing::internal::CaptureStderr();
  platform::Registry salvaged(file);
  ::testing::internal::GetCapturedStderr();
  const auto message = StoreStartMessage(salvaged);
  ASSERT_TRUE(message);
  EXPECT_NE(message->find(kStoreSalvaged + std::to_string(salvaged.SalvagedValues())), std::string::npos) << *message;
  EXPECT_GT(salvaged.SalvagedValues(), 0u);
}

TEST_F(SessionTest, TablesComeFromTheirFilesAndDamagedOnesAreReported) {
  AspectTables edited;
  edited.single[3].angle = 151.0;
  ASSERT_TRUE(SaveAspectTables(Prefix(), edited).empty());
  Touch(Prefix() + "asp2.", "short");
  DignityTables dignities = DefaultDignityTables(Tradition::kWestern);
  dignities.fall[0][0] = 1;
  ASSERT_FALSE(SaveDignityTables(Prefix(), dignities));
  ChartObjectSettings second;
  second.west[ws::kSlotMars].visible = false;
  ASSERT_FALSE(SaveObjectSettings(Prefix(), 2, second));

  Session session;
  const StartUpResult result = Start(session);
  EXPECT_EQ(session.aspectTables.single, edited.single);
  EXPECT_EQ(session.aspectTables.between, DefaultTwoChartAspects());
  EXPECT_EQ(session.dignityTables, dignities);
  EXPECT_EQ(session.objectSettingsSecond, second);
  EXPECT_EQ(session.charts.second.objects[ws::kSlotMars].visible, 0);
  EXPECT_EQ(session.charts.main.objects[ws::kSlotMars].visible, 1);
  ASSERT_EQ(result.messages.size(), 1u);
  EXPECT_NE(result.messages[0].find("asp2."), std::string::npos);
}

TEST_F(SessionTest, AWallpaperGoneSinceTheLastRunIsToldOnceAndItsKeysStay) {
  const std::string gone = (dir_ / "обои.bmp").string();
  Set("b_Wallpaper", 1);
  Set("Wallpaper.FName", gone.c_str());
  Session session;
  const StartUpResult result = Start(session);
  ASSERT_EQ(result.messages.size(), 1u);
  EXPECT_TRUE(result.messages[0].starts_with(std::string(kWallpaperUnreadable) + gone)) << result.messages[0];
  EXPECT_FALSE(WallpaperDrawn(session));
  EXPECT_TRUE(session.settings.wallpaperShown);
  EXPECT_EQ(session.settings.wallpaperFile, gone);
}

TEST_F(SessionTest, ASecondInstanceEndsBeforeTouchingAnythingAndFontsComeFromTheCard) {
  Set("b_Duble", 1);
  Session second;
  EXPECT_EQ(Start(second, [] { return false; }).outcome, StartUpOutcome::kAlreadyRunning);
  EXPECT_FALSE(second.settings.doubleChart);

  Touch(dir_ / "card" / "Kelvara.ttf", "glyphs");
  Touch(dir_ / "card" / "Times.ttf", "new times");
  Touch(dir_ / "fonts" / "Times.ttf", "old times");
  Start();
  EXPECT_EQ(platform::ReadFileBytes(dir_ / "fonts" / "Kelvara.ttf"), "glyphs");
  EXPECT_EQ(platform::ReadFileBytes(dir_ / "fonts" / "Times.ttf"), "old times");
}

TEST_F(SessionTest, ShutDownKeepsNowOnlyForANowChartAndWritesEverything) {
  for (const auto& [doubleChart, mainName, secondName, keepsNow] :
       {std::tuple{false, "", "", true}, {false, "Останов", "", true}, {false, "Иван", "Сейчас", false},
        {true, "Иван", "Сейчас", true}, {true, "Сейчас", "Мария", false}}) {
    Session session = Start();
    session.settings.now = false;  // set at exit by the chart shown, not by the start
    session.charts.doubleChart = doubleChart;
    session.charts.main.name = mainName;
    session.charts.second.name = secondName;
    session.charts.main.houseSystem = ws::kHouseEqualSun;
    session.recentFiles.Add("/charts/x.kvd");
    Touch(kScratchFile);
    ASSERT_TRUE(ShutDown(profile_, session));
    EXPECT_FALSE(fs::exists(kScratchFile));
    const Settings stored = LoadSettings(profile_);
    EXPECT_EQ(stored.now, keepsNow) << mainName << " / " << secondName;
    EXPECT_EQ(stored.doubleChart, doubleChart);
    EXPECT_EQ(stored.houseSystem, ws::kHouseEqualSun);
  }
  platform::RecentFileList recent;
  recent.Load(profile_);
  EXPECT_EQ(recent.Files(), std::vector<std::string>{"/charts/x.kvd"});
}

TEST_F(SessionTest, DocumentsAreSavedAndOpenedThroughTheRulesAndComputed) {
  Session writer = Start();
  ws::ChartRecord& saved = writer.charts.main;
  saved.name = "Иван";
  saved.local = {1990, 7, 4, 12, 30, 0};
  saved.gmtOffsetHours = 4.0;
  saved.note = "заметка";
  const fs::path path = dir_ / "Иван.kvd";
  ASSERT_FALSE(SaveDocument(writer, path));
  EXPECT_EQ(writer.settings.mainDocument, path.string());

  Session reader = Start();
  const ChartServices services = SessionChartServices(reader, sky_, nullptr, nullptr, nullptr);
  ASSERT_FALSE(OpenDocument(reader, path, services));
  EXPECT_EQ(DocumentOf(reader.charts.main, reader.mainRings), DocumentOf(saved, writer.mainRings));
  EXPECT_EQ(reader.charts.main.title, ws::kTitleNatal);
  EXPECT_EQ(reader.charts.main.greenwich, (ws::CalendarMoment{1990, 7, 4, 8, 30, 0}));
  EXPECT_EQ(reader.recentFiles.Files().front(), path.string());

  reader.charts.doubleChart = true;
  ASSERT_FALSE(OpenDocument(reader, path, services));
  EXPECT_EQ(reader.charts.second.name, "Иван");
  EXPECT_EQ(reader.settings.secondDocument, path.string());
  EXPECT_EQ(SaveDocument(reader, dir_ / "b.kvd"), "Двойные карты не сохраняются.");
  EXPECT_FALSE(fs::exists(dir_ / "b.kvd"));
}

TEST_F(SessionTest, ADocumentThatCannotBeReadOrComputedChangesNoChart) {
  Session writer = Start();
  writer.charts.main.name = "Далеко";
  writer.charts.main.gmtOffsetHours = 14.0;  // beyond what a chart can be computed with
  ASSERT_FALSE(SaveDocument(writer, dir_ / "далеко.kvd"));
  Touch(dir_ / "broken.kvd", std::string(100, '\x01'));

  Session session = Start();
  session.charts.main.name = "Мария";
  const ws::WorkspaceState before = session.charts;
  const ChartServices services = SessionChartServices(session, sky_, nullptr, nullptr, nullptr);
  const auto damaged = OpenDocument(session, dir_ / "broken.kvd", services);
  ASSERT_TRUE(damaged);
  EXPECT_NE(damaged->find("Файл поврежден: "), std::string::npos);
  const auto wrongData = OpenDocument(session, dir_ / "далеко.kvd", services);
  ASSERT_TRUE(wrongData);
  EXPECT_EQ(wrongData->rfind("Неправильные данные!", 0), 0u);
  EXPECT_EQ(session.charts.main, before.main);
  EXPECT_EQ(session.charts.second, before.second);
  EXPECT_EQ(sky_.runs, 0);
  EXPECT_TRUE(session.recentFiles.Files().empty());
}

TEST_F(SessionTest, TheLastRunsDocumentsAreOpenedAgainOrForgottenWhenGone) {
  Session writer = Start();
  writer.charts.main.name = "Иван";
  ASSERT_FALSE(SaveDocument(writer, dir_ / "Иван.kvd"));
  writer.charts.doubleChart = true;
  writer.charts.second.name = "Мария";
  writer.settings.secondDocument = (dir_ / "пропал.kvd").string();
  ASSERT_TRUE(ShutDown(profile_, writer));

  Session session = Start();
  const auto messages =
      ReopenLastDocuments(session, SessionChartServices(session, sky_, nullptr, nullptr, nullptr));
  EXPECT_EQ(session.charts.main.name, "Иван");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("пропал.kvd"), std::string::npos);
  EXPECT_EQ(session.settings.secondDocument, "");
}

}  // namespace
}  // namespace kelvara::app
