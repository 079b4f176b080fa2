#include "app/command_menu.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "workspace/merged_chart.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;
using Kind = MenuEntry::Kind;

// "Caption*" for a checked entry, "-" for a separator, "Caption[...]" for a submenu.
std::string Flatten(const MenuTree& tree) {
  std::string text;
  for (const MenuEntry& entry : tree) {
    if (!text.empty()) text += ",";
    if (entry.kind == Kind::kSeparator) {
      text += "-";
      continue;
    }
    text += entry.caption;
    if (entry.checked) text += "*";
    if (entry.kind == Kind::kSubmenu) text += "[" + Flatten(entry.submenu) + "]";
  }
  return text;
}

const std::string kHouses =
    "Системы Домов[Placidus*,Koch,Regiomontanus,Brahmagupta,Morinus,Equal,Equal(MC),Equal(Sun)],";
const std::string kAppearance = "Внешний вид[Авестийская традиция,От Овна,От ASC*],";
const std::string kSwitches =
    "Сис.управ.,Пошаговый сдвиг,Развод стеллиума[Вдоль Зодиака,В шахматном порядке*],Сход.аспекты*,"
    "Расход.аспекты*,Планеты с градусами,Тык с аспектами,+И-Цзин]";
const std::string kChains = "Планетарные цепочки[по управлению,по экзальтации,по изгнанию,по падению]";
const std::string kCalendars =
    "Таблица аспектов,Таблица положений,Луна без курса,Календарь аспектов,Лунный календарь,Планетарные часы";
const std::string kNamedCalendars =
    "Таблица аспектов,Таблица положений,Календарь аспектов,Лунный календарь,Планетарные часы";
// With a second chart shown its position table is offered too.
const std::string kNamedCalendarsOfTwo =
    "Таблица аспектов,Таблица положений,Таблица положений 2-й карты,Календарь аспектов,Лунный календарь,"
    "Планетарные часы";

struct MenuCase {
  const char* what;
  std::string mainName;
  bool doubleChart = false;
  std::string secondName;
  bool secondAlone = false;
  int houseSystem = ws::kHousePlacidus;
  bool frozen = false;
  std::string expected;
};

Session SessionOf(const MenuCase& c) {
  Session session;
  session.charts.main.name = c.mainName;
  session.charts.main.houseSystem = c.houseSystem;
  session.charts.second.houseSystem = c.houseSystem;
  session.charts.doubleChart = c.doubleChart;
  session.charts.second.name = c.secondName;
  session.charts.secondAlone = c.secondAlone;
  return session;
}

Session SessionNamed(const std::string& name) {
  MenuCase c;
  c.mainName = name;
  return SessionOf(c);
}

TEST(CommandMenu, TheWheelMenuFollowsTheChartsShown) {
  const std::string settingsOfOne = "Настроить[" + kHouses + kAppearance + "Планеты,Аспекты," + kSwitches;
  const std::string settingsOfTwo = "Настроить[" + kHouses + kAppearance + "Планеты,Аспекты,Планеты2," + kSwitches;
  const std::vector<MenuCase> cases = {
      {"named", "Иван", false, "", false, ws::kHousePlacidus, false,
       settingsOfOne + ",-,Карта событий," + kChains + ",-," + kNamedCalendars + ",Сменить исх.данные"},
      {"unnamed", "", false, "", false, ws::kHousePlacidus, false,
       settingsOfOne + ",-," + kChains + ",-," + kCalendars + ",-,Останов."},
      {"now", "Сейчас", false, "", false, ws::kHousePlacidus, false,
       settingsOfOne + ",-," + kChains + ",-," + kCalendars + ",-,Останов."},
      {"stopped", "Останов", false, "", false, ws::kHousePlacidus, true,
       settingsOfOne + ",-," + kChains + ",-," + kCalendars + ",Сменить исх.данные,-,Останов.*"},
      {"two persons", "Иван", true, "Мария", false, ws::kHousePlacidus, false,
       settingsOfTwo + ",-,Карта событий," + kChains + ",-,Композитная карта,Средняя карта,-," + kNamedCalendarsOfTwo +
           ",Сменить исх.данные"},
      {"second alone", "Иван", true, "Мария", true, ws::kHousePlacidus, false,
       settingsOfTwo + ",-,Карта событий," + kChains + ",-," + kNamedCalendarsOfTwo + ",Сменить исх.данные"},
      {"second a progression", "Иван", true, std::string(ws::KindName(ws::ChartKind::kSecondaryProgression)), false,
       ws::kHousePlacidus, false,
       settingsOfTwo + ",-,Карта событий," + kChains + ",-," + kNamedCalendarsOfTwo + ",Сменить исх.данные"},
      {"second now", "Иван", true, "Сейчас", false, ws::kHousePlacidus, false,
       settingsOfTwo + ",-,Карта событий," + kChains + ",-," + kNamedCalendarsOfTwo + ",Сменить исх.данные,-,Останов."},
      {"double, second empty", "Иван", true, "", false, ws::kHousePlacidus, false,
       settingsOfOne + ",-,Карта событий," + kChains + ",-," + kNamedCalendars + ",Сменить исх.данные"},
      {"composite", ws::CompositeName("Иван", "Мария"), false, "", false, ws::kHousePlacidus, false,
       settingsOfOne + ",-,Карта событий," + kChains + ",-,Композитная карта*,-," + kNamedCalendars +
           ",Сменить исх.данные"},
      {"midpoint", ws::MidpointName("Иван", "Мария"), false, "", false, ws::kHousePlacidus, false,
       settingsOfOne + ",-,Карта событий," + kChains + ",-,Средняя карта*,-," + kNamedCalendars +
           ",Сменить исх.данные"},
      {"no houses", "Иван", true, "Мария", false, ws::kNoHouses, false,
       "Настроить[" + kAppearance + "Планеты,Аспекты,Планеты2," + kSwitches + ",-,Карта событий," + kChains + ",-," +
           kNamedCalendarsOfTwo + ",Сменить исх.данные"},
  };
  for (const MenuCase& c : cases) {
    const Session session = SessionOf(c);
    EXPECT_EQ(Flatten(BuildCommandMenu(session, {false, c.frozen})), c.expected) << c.what;
  }
}

TEST(CommandMenu, TheSwitchesAndTraditionsShowTheirState) {
  Session session = SessionNamed("Иван");
  session.settings.avesta = true;
  session.settings.west = false;
  session.settings.fromAries = true;
  session.settings.sortAlongZodiac = true;
  session.settings.applyingShown = false;
  session.settings.stepShift = true;
  session.settings.iChing = true;
  session.charts.main.houseSystem = ws::kHouseMorinus;
  const std::string menu = Flatten(BuildCommandMenu(session, {true, false}));
  EXPECT_NE(menu.find("Morinus*"), std::string::npos);
  EXPECT_NE(menu.find("Внешний вид[Западная традиция,От Овна*,От ASC]"), std::string::npos);
  EXPECT_NE(menu.find("Пошаговый сдвиг*,Развод стеллиума[Вдоль Зодиака*,В шахматном порядке],Сход.аспекты,"),
            std::string::npos);
  EXPECT_NE(menu.find("+И-Цзин*"), std::string::npos);
  EXPECT_NE(menu.find(",-,Текст интерпретации,Таблица аспектов,"), std::string::npos) << menu;
}

TEST(CommandMenu, TheEventMapAndChainsMenus) {
  Session session = SessionNamed("Иван");
  session.displayMode = DisplayMode::kEventMap;
  EXPECT_EQ(Flatten(BuildCommandMenu(session, {})),
            "Настроить[ПланетыNt,Аспекты,ПланетыTr,Часы сего дня*],-,Гороскоп,-,Список аспектов,Лунный календарь,"
            "Планетарные часы,-,Сменить исх.данные");
  session.displayMode = DisplayMode::kChains;
  session.chainKind = ChainKind::kExile;
  EXPECT_EQ(Flatten(BuildCommandMenu(session, {})),
            "Карта событий,Гороскоп,Планетарные цепочки[по управлению,по экзальтации,по изгнанию*,по падению],-,"
            "Лунный календарь,Планетарные часы,-,Сменить исх.данные");
  session.charts.main.name = "Сейчас";
  EXPECT_EQ(Flatten(BuildCommandMenu(session, {})),
            "Карта событий,Гороскоп,Планетарные цепочки[по управлению,по экзальтации,по изгнанию*,по падению],-,"
            "Лунный календарь,Планетарные часы");
}

TEST(CommandMenu, FileMenuTimeFormatAndToolBar) {
  Session session = SessionNamed("Иван");
  for (int i = 0; i < 12; ++i) session.recentFiles.Add("/charts/c" + std::to_string(i) + ".kvd");
  const MenuTree file = BuildFileMenu(session);
  EXPECT_EQ(Flatten({file.begin(), file.begin() + 6}),
            "Ввести новые данные,Загрузить из файла...,Сохранить,Сохранить как...,-,1 c11.kvd");
  const std::vector<CommandId> commands = CommandsOf(file);
  EXPECT_EQ(std::count(commands.begin(), commands.end(), CommandId::kRecentFile), 10);
  EXPECT_EQ(file.back().command, CommandId::kExit);

  EXPECT_EQ(Flatten(BuildTimeFormatMenu(session)), "Наш (11, 12, 13,..)*,Не наш (11am, 12am, 1pm,..)");
  session.settings.twelveHourClock = true;
  EXPECT_EQ(Flatten(BuildTimeFormatMenu(session)), "Наш (11, 12, 13,..),Не наш (11am, 12am, 1pm,..)*");

  EXPECT_EQ(Flatten(BuildToolBar(session)), "Двойные карты");
  session.charts.doubleChart = true;
  session.charts.second.name = "Мария";
  session.charts.secondAlone = true;
  EXPECT_EQ(Flatten(BuildToolBar(session)), "Двойные карты*,Вторая карта*");
  session.charts.main.name = ws::MidpointName("Иван", "Мария");
  EXPECT_EQ(Flatten(BuildToolBar(session)), "Двойные карты*");
  session.displayMode = DisplayMode::kEventMap;
  EXPECT_TRUE(BuildToolBar(session).empty());
}

}  // namespace
}  // namespace kelvara::app
