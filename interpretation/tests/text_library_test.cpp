#include "interpretation/text_library.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/codepage.h"
#include "platform/tests/scratch_dir.h"

namespace kelvara::interpretation {
namespace {

using platform::test_support::ScratchDir;

struct KindCase {
  bool doubleChart;
  bool secondAlone;
  std::string main;
  std::string second;
  std::string_view folder;
  std::string_view caption;
};

TEST(KindFolderTest, EveryRowAndFallback) {
  const KindCase cases[] = {
      {false, false, "Иван", "", "NT", "Натал"},
      {false, false, "Ср.карта (А + Б)", "", "NT", "Натал"},
      {false, false, "Комп.карта (А + Б)", "", "COMP", "Композит"},
      {false, false, "", "", "TR", "Транзит"},
      {false, false, "Сейчас", "", "TR", "Транзит"},
      {false, false, "Останов", "", "TR", "Транзит"},
      {false, true, "Иван", "Соляр (вперед)", "NT", "Натал"},  // double-chart mode off
      {true, false, "Иван", "", "NT", "Натал"},                // no second chart shown
      {true, true, "Иван", "Сейчас", "TR", "Транзит"},
      {true, true, "Иван", "Останов", "TR", "Транзит"},
      {true, true, "Иван", "Дирекция симв. (1°= 1ГодТроп)", "DR", "Дирекции"},
      {true, true, "Иван", "Профекция (30°= 1ГодТроп)", "DR", "Дирекции"},
      {true, true, "Иван", "Дирекция по солн.дуге", "DR", "Дирекции"},
      {true, true, "Иван", "Прогрессия втop. (1День=1ГодТроп)", "PR", "Прогресии"},
      {true, true, "Иван", "Прогрессия МС по солн.дуге", "PR", "Прогресии"},
      {true, true, "Иван", "Соляр (вперед)", "SOLAR_TR", "Соляр: транзит"},
      {true, true, "Иван", "Соляр (назад)", "SOLAR_TR", "Соляр: транзит"},
      {true, true, "Иван", "Лунар (вперед)", "LUNAR_TR", "Лунар: транзит"},
      {true, true, "Иван", "Лунар (назад)", "LUNAR_TR", "Лунар: транзит"},
      {true, true, "Иван", "Пётр", "NT", "Натал"},
      {true, false, "Иван", "Сейчас", "TR_NT", "Транзит-Натал"},
      {true, false, "Иван", "Останов", "TR_NT", "Транзит-Натал"},
      {true, false, "Иван", "Пётр", "NT_NT", "Синастрии"},
      {true, false, "Иван", "Профекция (30°= 1ГодТроп)", "DR_NT", "Дирекции-Натал"},
      {true, false, "Иван", "Прогрессия МС по солн.дуге", "PR_NT", "Прогресии-Натал"},
      {true, false, "Иван", "Соляр (назад)", "SOLAR_TN", "Соляр: транзит-натал"},
      {true, false, "Иван", "Лунар (вперед)", "LUNAR_TN", "Лунар: транзит-натал"},
  };
  for (const KindCase& c : cases) {
    workspace::WorkspaceState state;
    state.doubleChart = c.doubleChart;
    state.secondAlone = c.secondAlone;
    state.main.name = c.main;
    state.second.name = c.second;
    const KindFolder kind = KindFolderOf(state);
    EXPECT_EQ(kind.folder, c.folder) << c.main << " / " << c.second;
    EXPECT_EQ(kind.caption, c.caption) << c.main << " / " << c.second;
  }
  EXPECT_EQ(KindCaption("hr"), "Хорар");
  EXPECT_EQ(KindCaption("Moon_Days"), "");
}

void Write(const std::filesystem::path& path, std::string_view utf8) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << platform::Utf8ToCp1251(utf8);
}

TEST(SectionsTest, NatalFirstSortedDotsSkippedSecondRootAfter) {
  ScratchDir shipped, user;
  Write(shipped / "NT/b;x/Name.thm", "  Любовь\r\n");
  Write(shipped / "NT/a/name.THM", "Карьера \r\nи деньги");
  Write(shipped / "NT/.svn/junk", "");
  Write(user / "nt/mine/Name.thm", "Любовь");
  const SectionList list = ListSections({shipped.Path(), user.Path(), shipped / "none"}, "NT");
  ASSERT_EQ(list.message, "");
  const std::vector<Section> expected = {{"Кельвара", {}},
                                         {"Карьера и деньги", shipped / "NT/a"},
                                         {"Любовь", shipped / "NT/b;x"},
                                         {"Любовь", user / "nt/mine"}};
  EXPECT_EQ(list.sections, expected);

  SectionChoice choice(list.sections);
  EXPECT_FALSE(choice.ChoosesItself());
  EXPECT_EQ(choice.Names()[3], "Любовь");
  choice.Select(3);
  EXPECT_EQ(choice.Accept()->folder, user / "nt/mine");
  choice.Select(17);
  EXPECT_EQ(choice.Selected(), 3u);
}

TEST(SectionsTest, MissingNameFileEndsTheList) {
  ScratchDir root;
  Write(root / "TR/a/Name.thm", "A");
  std::filesystem::create_directories(root / "TR/b");
  const SectionList list = ListSections({root.Path()}, "TR");
  EXPECT_TRUE(list.sections.empty());
  EXPECT_EQ(list.message, "Не найден файл " + (root / "TR/b/Name.thm").string());
  EXPECT_TRUE(ListSections({root / "nowhere"}, "TR").sections.empty());
}

}  // namespace
}  // namespace kelvara::interpretation
