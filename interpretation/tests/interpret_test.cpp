#include "interpretation/interpret.h"

#include <gtest/gtest.h>

#include <fstream>

#include "interpretation/collect.h"
#include "platform/codepage.h"
#include "platform/file_io.h"
#include "platform/tests/scratch_dir.h"

namespace kelvara::interpretation {
namespace {

namespace ws = workspace;
using platform::Cp1251ToUtf8;
using platform::Utf8ToCp1251;
using platform::test_support::ScratchDir;

void Write(const std::filesystem::path& path, std::string_view utf8) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << Utf8ToCp1251(utf8);
}

std::string Texts(const CollectResult& result) {
  std::string all;
  for (const TextEntry& piece : result.pieces) all += piece.text;
  return Cp1251ToUtf8(all);
}

KeySets SunAndMoonInAries() {
  return {{KeyFile::kPlanetInSign, {Utf8ToCp1251("Солнце -> Овен"), Utf8ToCp1251("Луна -> Овен")}}};
}

constexpr std::string_view kHeader = "Тематический раздел: \"Тест\" (Натал)\r\n\r\n";

TEST(CollectTest, NoListedFileGivesHeaderAndAbsentText) {
  ScratchDir root;
  Write(root / "NT/s/List.fls", "BY PLANETS\r\npl_zs.txt\r\n");
  const CollectResult result = Collect({"Тест", root / "NT/s"}, SunAndMoonInAries());
  EXPECT_EQ(result.message, "");
  EXPECT_EQ(Texts(result), std::string(kHeader) + std::string(kNoTextMessage));
  ASSERT_EQ(result.pieces.size(), 2u);
  EXPECT_EQ(Cp1251ToUtf8(result.pieces[0].key), "ПУСТАЯ СТРОКА");
}

TEST(CollectTest, MatchesPlaceholdersAndPlanetOrder) {
  ScratchDir root;
  Write(root / "NT/s/list.fls", "by planets\npl_zs.txt; on\nunknown.txt; on\n");
  Write(root / "NT/s/PL_ZS.TXT",
        "#Луна -> Овен\r\nЛуна.\r\n#Марс -> Овен\r\nне наш.\r\n#Солнце -> Овен\r\n"
        "<вставьте текст интерпретации вместо данной строки>\r\n#Солнце -> Овен\r\nСолнце.\r\n");
  Write(root / "NT/s/Unknown.txt", "#Солнце -> Овен\r\nчужой файл\r\n");
  const CollectResult result = Collect({"Тест", root / "NT/s"}, SunAndMoonInAries());
  EXPECT_EQ(Texts(result), std::string(kHeader) + "Солнце.\r\nЛуна.\r\n");
}

TEST(CollectTest, MissingFilesStopWithTheirNames) {
  ScratchDir root;
  EXPECT_EQ(Collect({"Тест", root / "NT/s"}, {}).message, "Не найден файл " + (root / "NT/s/List.fls").string());
  Write(root / "NT/s/List.fls", "PL_HS.TXT; ON\r\n");
  EXPECT_EQ(Collect({"Тест", root / "NT/s"}, {}).message, "Не найден файл PL_HS.TXT");
  Write(root / "NT/s/List.fls", "../../secret.txt; ON\r\n");
  Write(root / "secret.txt", "#Солнце -> Овен\r\nутечка");
  EXPECT_EQ(Collect({"Тест", root / "NT/s"}, SunAndMoonInAries()).message, "Не найден файл ../../SECRET.TXT");
}

class InterpretTest : public ::testing::Test {
 protected:
  InterpretTest() {
    state_.main.name = "Иван";
    for (auto& object : state_.main.objects) object.SetLongitude(ws::kNotAvailable);
    state_.main.objects[ws::kSlotSun].SetLongitude(10.0);
    context_.libraryRoots = {root_.Path()};
    context_.keys.state = &state_;
    context_.temporaryFile = root_ / "kelvara_tmp.txt";
    context_.builtInSection = [] {
      return std::pair<std::vector<std::string>, std::vector<std::string>>{{"built-in"}, {}};
    };
  }
  void AddSection(const std::string& folder, std::string_view name, std::string_view text) {
    Write(root_ / folder / "Name.thm", name);
    Write(root_ / folder / "List.fls", "PL_ZS.TXT; ON\r\n");
    Write(root_ / folder / "PL_ZS.TXT", text);
  }
  std::string Written() const {
    return Cp1251ToUtf8(platform::ReadFileBytes(context_.temporaryFile).value_or("<none>"));
  }

  ScratchDir root_;
  ws::WorkspaceState state_;
  InterpretContext context_;
};

TEST_F(InterpretTest, DuplicateNamesChosenByIndex) {
  AddSection("NT/a;b", "Раздел", "#Солнце -> Овен\r\nиз первого");
  AddSection("NT/c", "Раздел", "#Солнце -> Овен\r\nиз второго");
  std::vector<std::string> offered;
  const auto result = Interpret("", context_, [&](const SectionChoice& choice) {
    offered = choice.Names();
    return std::optional<std::size_t>(2);
  });
  EXPECT_EQ(offered, (std::vector<std::string>{"Кельвара", "Раздел", "Раздел"}));
  EXPECT_TRUE(result.messages.empty());
  EXPECT_EQ(result.writtenFile, context_.temporaryFile);
  EXPECT_EQ(Written(), "Тематический раздел: \"Раздел\" (Натал)\r\n\r\nиз второго");

  Interpret("", context_, [](const SectionChoice&) { return std::optional<std::size_t>(0); });
  EXPECT_EQ(Written(), "built-in");
  const auto cancelled = Interpret("", context_, [](const SectionChoice&) { return std::optional<std::size_t>(); });
  EXPECT_TRUE(cancelled.writtenFile.empty());
  EXPECT_FALSE(std::filesystem::exists(context_.temporaryFile));
}

TEST_F(InterpretTest, SingleSectionOpensWithoutDialogAndShortIChing) {
  AddSection("Degrees/d", "Градусы", "");
  Write(root_ / "Degrees/d/List.fls", "DEGREES.TXT; ON\r\n");
  Write(root_ / "Degrees/d/DEGREES.TXT", "#11-й градус Овна\r\nСимвол.\r\n");
  bool asked = false;
  const PickSection ask = [&](const SectionChoice&) { asked = true; return std::optional<std::size_t>(0); };
  Interpret("11-й градус Овна", context_, ask);
  EXPECT_FALSE(asked);
  EXPECT_EQ(Written(), "Тематический раздел: \"Градусы\" ()\r\n\r\nСимвол.\r\n");

  Write(root_ / "IChing/i/List.fls", "ICHING.TXT; ON\r\n");
  Write(root_ / "IChing/i/ICHING.TXT", "#17\r\nСледование\r\nТекст.\r\n");
  context_.iChingFolder = root_ / "IChing/i";
  std::filesystem::remove(context_.temporaryFile);
  const auto shortResult = Interpret("17 И-Цзин short", context_, ask);
  EXPECT_FALSE(asked);
  EXPECT_EQ(shortResult.shortText, "Текст.\r\n");
  EXPECT_FALSE(std::filesystem::exists(context_.temporaryFile));

  Write(root_ / "IChing/i/Name.thm", "Классика");
  AddSection("IChing/j", "Иначе", "");
  context_.iChingFolder = root_ / "IChing/gone";
  Interpret("17 И-Цзин short", context_, ask);
  EXPECT_TRUE(asked) << "a kept folder that has vanished asks again";
}

TEST_F(InterpretTest, BusyTemporaryFileStopsAtEitherCreation) {
  AddSection("NT/a", "Раздел", "#Солнце -> Овен\r\nтекст");
  // First held before the command, then taken back by the viewer while the dialog is open.
  for (bool beforeDialog : {true, false}) {
    std::filesystem::remove_all(context_.temporaryFile);
    if (beforeDialog) std::filesystem::create_directories(context_.temporaryFile);
    const auto result = Interpret("", context_, [&](const SectionChoice&) {
      std::filesystem::create_directories(context_.temporaryFile);
      return std::optional<std::size_t>(1);
    });
    EXPECT_EQ(result.messages, (std::vector<std::string>{std::string(kFileBusyMessage)})) << beforeDialog;
    EXPECT_TRUE(result.writtenFile.empty());
  }
}

}  // namespace
}  // namespace kelvara::interpretation
