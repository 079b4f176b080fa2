#include "app/cli/cli.h"
#include "app/about.h"

#include <filesystem>
#include <sstream>
#include <utility>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/chart_output.h"
#include "app/cli/tests/cli_test_support.h"
#include "platform/file_io.h"

namespace kelvara::cli {
namespace {

using places::testing::Entry;
using places::testing::MakeCity;
using places::testing::ZoneOf;
using testing::Args;
using testing::Refusal;
using testing::Spoiled;
using testing::With;

const Args kPerson = {"chart", "--name", "Иван",   "--date", "12.07.1985", "--time", "14:05:30", "--gmt",
                      "+05:30", "--lat", "55n45", "--lon",  "037e35",     "--house", "21"};
const Args kSecondPerson = {"--name2", "Анна", "--date2", "01.01.1990", "--time2", "00:00",
                            "--gmt2", "-03:30", "--lat2", "47.5", "--lon2", "-52.7"};
const Args kProfection = {"--kind", "53", "--target", "12.07.1995"};

// Records of CSV text as an RFC 4180 reader sees them.
std::vector<std::vector<std::string>> CsvRecords(const std::string& text) {
  std::vector<std::vector<std::string>> records;
  std::vector<std::string> record(1);
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
      record.back() += text[++i];
    } else if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && c == ',') {
      record.emplace_back();
    } else if (!quoted && c == '\n') {
      records.push_back(std::exchange(record, {std::string()}));
    } else {
      record.back() += c;
    }
  }
  return records;
}

class CliTest : public testing::CliRun {
 protected:
  CliTest() {
    // Moscow-like: +3, summer time +4 from 1 April 1981 01:00 local.
    const places::TimeChangeList moscow = {Entry(1860, 1, 1, 0, 0, 0, 30000),
                                           Entry(1930, 6, 21, 0, 0, ZoneOf(3), 0),
                                           Entry(1981, 4, 1, 1, 0, ZoneOf(3), 1)};
    std::string bytes;
    for (const auto& city : {MakeCity("Москва", "", 55.75222, 37.61556, moscow),
                             MakeCity("Новый\n\"Город\"", "", 50.0, 30.0),
                             MakeCity("Москва", "(Idaho, US)", 46.73239, -117.00017),
                             MakeCity("Московский", "", 55.6, 37.35, moscow),
                             MakeCity("Kingston", "(Jamaica, JM)", 18.0, -76.8)}) {
      places::AppendCityRecord(city, bytes);
    }
    EXPECT_TRUE(platform::WriteFileAtomically(dir_ / places::kCityBaseFileName, bytes));
  }

  std::string FirstLine() const { return out_.str().substr(0, out_.str().find('\n')); }
};

TEST_F(CliTest, PlaceListsExactThenPrefixMatchesWithTheOffsetAtTheMoment) {
  EXPECT_EQ(Run({"place", "москва", "--at", "01.04.1981 01:30"}), kExitOk);
  EXPECT_EQ(out_.str(),
            "Москва,55.75222,37.61556,4\n"
            "\"Москва (Idaho, US)\",46.73239,-117.00017,\n");
  EXPECT_TRUE(err_.str().empty());
  EXPECT_EQ(Run({"place", "МОСК", "--at", "01.04.1981 00:59"}), kExitOk);
  EXPECT_EQ(out_.str(),
            "Москва,55.75222,37.61556,3\n"
            "\"Москва (Idaho, US)\",46.73239,-117.00017,\n"
            "Московский,55.60000,37.35000,3\n");
}

TEST_F(CliTest, GreenwichMomentsAndThePresentMoment) {
  // 31 March 1981 21:30 Greenwich is already summer time; 20:30 is not.
  Run({"place", "Москва", "--at", "31.03.1981 21:30", "--utc"});
  EXPECT_EQ(FirstLine(), "Москва,55.75222,37.61556,4");
  Run({"place", "Москва", "--utc", "--at", "31.03.1981 20:30"});
  EXPECT_EQ(FirstLine(), "Москва,55.75222,37.61556,3");
  Run({"place", "Московский"});
  EXPECT_EQ(out_.str(), "Московский,55.60000,37.35000,4\n");
  Run({"place", "Москва", "--at", "01.01.1900 00:00"});
  EXPECT_EQ(FirstLine(), "Москва,55.75222,37.61556,2.507704");
}

TEST_F(CliTest, ErrorsGoToStandardErrorWithAFailingExitCode) {
  const Args good = {"chart", "--name", "Иван", "--date", "12.07.1985", "--time", "14:05",
                     "--gmt", "+04:00", "--lat", "55n45", "--lon", "037e35"};
  auto spoiled = [&](const std::string& option, const std::string& value) { return Spoiled(good, option, value); };
  ASSERT_EQ(Run(good), kExitOk);
  const Refusal refusals[] = {
      {{}, kExitUsage, ""},
      {{"nosuch"}, kExitUsage, "неизвестная команда"},
      {{"place"}, kExitUsage, ""},
      {{"place", "Москва", "--at", "31.02.1981 10:00"}, kExitUsage, ""},
      {{"place", "Москва", "--at", "01.01.1859 10:00"}, kExitUsage, ""},
      {{"place", "Москва", "--at", "01.01.1990 10:00x"}, kExitUsage, ""},
      {{"place", "Москва", "Лондон"}, kExitUsage, ""},
      {{"place", "Атлантида"}, kExitFailure, "не найден"},
      // Charts carry the messages of the program's dialogs.
      {spoiled("--gmt", "+13:30"), kExitFailure, "Неправильные данные!"},
      {spoiled("--name", " "), kExitFailure, "Введите имя"},
      {spoiled("--lat", "95n00"), kExitFailure, ""},
      {spoiled("--lon", "nan"), kExitFailure, ""},
      {spoiled("--date", "01.01.1859"), kExitFailure, ""},
      {spoiled("--date", "31.02.1985"), kExitFailure, ""},
      {spoiled("--time", "25:00"), kExitFailure, ""},
      {spoiled("--date", "1985-07-12"), kExitUsage, ""},
      {{"chart", "--name", "Иван", "--date", "12.07.1985", "--time", "14:05", "--place", "Атлантида"},
       kExitFailure, "не найден"},
      {With(good, {"--kind", "60", "--target", "01.01.2000"}), kExitUsage, ""},
      {With(good, {"--house", "3"}), kExitUsage, ""},
      {With(good, {"--format", "xml"}), kExitUsage, ""},
      {With(good, {"--composite"}), kExitUsage, ""},  // the second person is missing
  };
  for (const Refusal& refusal : refusals) ExpectRefused(refusal);
  context_.dataDir = dir_ / "nowhere";
  EXPECT_EQ(Run({"place", "Москва"}), kExitFailure);
  EXPECT_NE(err_.str().find("нет базы городов"), std::string::npos);
}

TEST_F(CliTest, ABrokenCityBaseIsReportedAndEveryPlaceLookupFails) {
  const std::filesystem::path file = dir_ / places::kCityBaseFileName;
  const std::string whole = platform::ReadFileBytes(file).value_or("");
  const auto refuseBoth = [this](const std::string& message) {
    for (const Args& args : {Args{"place", "Москва"},
                             Args{"chart", "--name", "Иван", "--date", "12.07.1985", "--time", "14:05", "--place",
                                  "Москва"}}) {
      ExpectRefused({args, kExitFailure, message});
      EXPECT_EQ(err_.str().find("не найден"), std::string::npos) << err_.str();
    }
  };
  ASSERT_TRUE(platform::WriteFileAtomically(file, whole.substr(0, whole.size() - 3)));
  refuseBoth("База городов \"IndexFile\" повреждена: прочитано городов: 4.");
  ASSERT_TRUE(platform::WriteFileAtomically(file, ""));
  refuseBoth("База городов \"IndexFile\" повреждена: прочитано городов: 0.");
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);
  refuseBoth("Не удается открыть файл " + file.string());
}

TEST_F(CliTest, ChartCsvHasTheHeaderLineTheColumnsAndThirtyFourSlots) {
  EXPECT_EQ(Run({"chart", "--name", "Иван", "--date", "12.07.1985", "--time", "14:05:30", "--place",
                 "Москва", "--format", "csv"}),
            kExitOk)
      << err_.str();
  std::istringstream lines(out_.str());
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line,
            "# name=Иван;title=Натальная карта;local=12.07.1985 14:05:30;gmt=12.07.1985 10:05:30;"
            "offset=4;lat=55.752220;lon=37.615560;house=0");
  std::getline(lines, line);
  EXPECT_EQ(line, "slot,name,longitude,speed,retrograde,sign,house");
  int rows = 0;
  while (std::getline(lines, line)) {
    ++rows;
    EXPECT_EQ(line.substr(0, line.find(',')), std::to_string(rows));
  }
  EXPECT_EQ(rows, 34);
}

TEST_F(CliTest, ChartKindsAndMergedChartsAreNamedByTheirKind) {
  const std::pair<Args, std::string> cases[] = {
      {kProfection,
       "# name=Профекция (30°= 1ГодТроп);title=Директная карта;local=12.07.1995 12:00:00;"
       "gmt=12.07.1995 06:30:00;offset=5.5;lat=55.750000;lon=37.583333"},
      {With({"--midpoint"}, kSecondPerson), "# name=Ср.карта (Иван + Анна);"},
      {With({"--composite"}, kSecondPerson), "# name=Комп.карта (Иван + Анна);"},
  };
  for (const auto& [kind, header] : cases) {
    ASSERT_EQ(Run(With(With(kPerson, kind), {"--format", "csv"})), kExitOk) << err_.str();
    EXPECT_EQ(out_.str().rfind(header, 0), 0u) << out_.str();
  }
}

TEST_F(CliTest, ChartTextIsARussianTable) {
  ASSERT_EQ(Run({"chart", "--name", "Иван", "--date", "12.07.1985", "--time", "14:05", "--gmt", "+04:00",
                 "--lat", "55.75", "--lon", "37.6", "--house", "21"}),
            kExitOk);
  for (const char* piece : {"Иван — Натальная карта", "GMT +04:00, по Гринвичу: 12.07.1985 10:05:00",
                            "дома: Equal(Sun)", "Прозерпина"}) {
    EXPECT_NE(out_.str().find(piece), std::string::npos) << piece;
  }
}

TEST_F(CliTest, ASavedChartOpensAgainAsTheSameChart) {
  ASSERT_EQ(Run(With(kPerson, {"--save", File("Иван.kvd")})), kExitOk) << err_.str();
  const Args outputs[] = {{"--format", "csv"}, {"--format", "text"}, With(kProfection, {"--format", "csv"})};
  for (const Args& output : outputs) {
    ASSERT_EQ(Run(With(kPerson, output)), kExitOk) << err_.str();
    const std::string computed = out_.str();
    ASSERT_EQ(Run(With({"chart", "--open", File("Иван.kvd")}, output)), kExitOk) << err_.str();
    EXPECT_EQ(out_.str(), computed) << output[1];
  }
}

TEST_F(CliTest, BadDocumentsAndRefusedSavesAreReported) {
  ASSERT_EQ(Run(With(kPerson, {"--save", File("a.kvd")})), kExitOk);
  const std::string bytes = *platform::ReadFileBytes(File("a.kvd"));
  ASSERT_TRUE(platform::WriteFileAtomically(File("cut.kvd"), bytes.substr(0, bytes.size() / 2)));
  const Refusal refusals[] = {
      {{"chart", "--open", File("cut.kvd")}, kExitFailure, "Файл поврежден: "},
      {{"chart", "--open", File("нет.kvd")}, kExitFailure, "Не удается открыть файл "},
      {{"chart", "--open", File("a.kvd"), "--name", "Пётр"}, kExitUsage, ""},
      {With(kPerson, With({"--midpoint", "--save", File("m.kvd")}, kSecondPerson)), kExitFailure,
       "C\xD1\x80едние карты не сохраняются."},
      {With(kPerson, With(kProfection, {"--save", File("k.kvd")})), kExitFailure, "Двойные карты не сохраняются."},
      {With(kPerson, {"--save", File("нет/a.kvd")}), kExitFailure, "Не удается записать файл "},
  };
  for (const Refusal& refusal : refusals) ExpectRefused(refusal);
  for (const char* name : {"m.kvd", "k.kvd"}) EXPECT_FALSE(std::filesystem::exists(dir_ / name));
}

// The chart still comes, from the element model, and the refused file is named once.
TEST_F(CliTest, ADamagedEphemerisFileIsToldOnStandardErrorOnce) {
  const std::filesystem::path data = dir_ / "program" / "data";
  std::filesystem::create_directories(data);
  const std::filesystem::path shipped = std::filesystem::path(KELVARA_SOURCE_DIR) / "data";
  for (const char* name : {"1.st", "ephemeris.crc"}) std::filesystem::copy_file(shipped / name, data / name);
  {
    std::fstream file(data / "1.st", std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(34628);
    file.put('\x7f');
  }
  context_.dataDir = data / "";
  EXPECT_EQ(Run(kPerson), kExitOk);
  EXPECT_NE(err_.str().find("kelvara-cli: Файл эфемерид поврежден: 1.st\n"), std::string::npos) << err_.str();
  const std::string fromDamaged = out_.str();
  EXPECT_EQ(Run(kPerson), kExitOk);
  EXPECT_EQ(err_.str().find("поврежден"), std::string::npos);
  // The refused file counts as missing: the places are the element model's.
  std::filesystem::remove(data / "1.st");
  EXPECT_EQ(Run(kPerson), kExitOk);
  EXPECT_EQ(out_.str(), fromDamaged);
  // and differ from the file's.
  const std::filesystem::path whole = dir_ / "whole" / "data";
  std::filesystem::create_directories(whole);
  for (const char* name : {"1.st", "ephemeris.crc"}) std::filesystem::copy_file(shipped / name, whole / name);
  context_.dataDir = whole / "";
  EXPECT_EQ(Run(kPerson), kExitOk);
  EXPECT_NE(out_.str(), fromDamaged);
}

TEST_F(CliTest, HelpPrintsTheUsageOnStandardOutput) {
  for (const char* help : {"--help", "-h"}) {
    EXPECT_EQ(Run({help}), kExitOk) << help;
    EXPECT_TRUE(err_.str().empty()) << help;
    for (const char* piece : {"Использование: kelvara-cli", "place НАЗВАНИЕ", "--at", "--utc", "chart --name",
                              "--kind", "--target-time", "--format text|csv", "--open ФАЙЛ.kvd", "--save"}) {
      EXPECT_NE(out_.str().find(piece), std::string::npos) << help << ": " << piece;
    }
  }
}

TEST_F(CliTest, VersionPrintsTheAboutText) {
  ASSERT_EQ(Run({"--version"}), kExitOk);
  EXPECT_EQ(out_.str(), app::AboutText() + "\n");
  EXPECT_TRUE(out_.str().starts_with("Кельвара "));
  EXPECT_TRUE(err_.str().empty());
}

TEST_F(CliTest, ADateOrTimeOutOfFormIsRefusedByItsOption) {
  const Args merged = With(With(kPerson, {"--midpoint"}), kSecondPerson);
  const Args derived = With(With(kPerson, kProfection), {"--target-time", "10:00"});
  const std::pair<Args, std::string> cases[] = {
      {Spoiled(kPerson, "--time", "14:05x"), "--time"},
      {Spoiled(kPerson, "--time", "14:05 "), "--time"},
      {Spoiled(kPerson, "--time", "14:5"), "--time"},
      {Spoiled(kPerson, "--date", "12.07.85"), "--date"},
      {Spoiled(kPerson, "--date", " 12.07.1985"), "--date"},
      {Spoiled(merged, "--time2", "+0:00"), "--time2"},
      {Spoiled(merged, "--date2", "01.01.1990."), "--date2"},
      {Spoiled(derived, "--target", "12.07.95"), "--target"},
      {Spoiled(derived, "--target-time", "10:00x"), "--target-time"},
      {{"place", "Москва", "--at", "01.01.1990 10:00x"}, "--at"},
      {{"place", "Москва", "--at", "01.01.1990  10:00"}, "--at"},
  };
  for (const auto& [args, option] : cases) ExpectRefused({args, kExitUsage, "параметр " + option + " \""});
}

TEST(CsvField, QuotesByRfc4180) {
  const std::pair<std::string, std::string> cases[] = {
      {"Москва", "Москва"},          {"Москва (Idaho)", "Москва (Idaho)"},  {"", ""},
      {"a,b", "\"a,b\""},            {"say \"hi\"", "\"say \"\"hi\"\"\""},  {"a\nb", "\"a\nb\""},
      {"a\rb", "\"a\rb\""},
  };
  for (const auto& [text, field] : cases) EXPECT_EQ(app::CsvField(text), field) << text;
}

TEST_F(CliTest, NamesWithCommasQuotesAndLineBreaksStayInTheirFields) {
  ASSERT_EQ(Run({"place", "Новый"}), kExitOk);
  EXPECT_EQ(CsvRecords(out_.str()),
            (std::vector<std::vector<std::string>>{{"Новый\n\"Город\"", "50.00000", "30.00000", ""}}));
  const std::string name = "Иван, \"Ваня\"\n1,Солнце,0";
  ASSERT_EQ(Run(With(Spoiled(kPerson, "--name", name), {"--format", "csv"})), kExitOk) << err_.str();
  const auto records = CsvRecords(out_.str());
  ASSERT_EQ(records.size(), 36u);
  ASSERT_EQ(records[0].size(), 1u);
  EXPECT_EQ(records[0][0].rfind("# name=" + name + ";title=", 0), 0u) << records[0][0];
  for (int slot = 1; slot <= 34; ++slot) EXPECT_EQ(records[slot + 1].front(), std::to_string(slot));
}

TEST_F(CliTest, CuspsHaveNoSpeedInTheTableButKeepItInCsv) {
  ASSERT_EQ(Run(kPerson), kExitOk) << err_.str();
  std::vector<std::string> lines;
  std::istringstream text(out_.str());
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  constexpr int kFirstRow = 5;  // three heading lines, a blank, the column names
  ASSERT_EQ(lines.size(), kFirstRow + 34u);
  EXPECT_NE(lines[kFirstRow].find("+0.95"), std::string::npos) << lines[kFirstRow];  // the Sun moves
  for (int slot = 17; slot <= 28; ++slot) {
    const std::string& row = lines[kFirstRow + slot - 1];
    EXPECT_EQ(row.find_first_of("+-"), std::string::npos) << row;
  }
  ASSERT_EQ(Run(With(kPerson, {"--format", "csv"})), kExitOk);
  const auto records = CsvRecords(out_.str());
  for (int slot = 17; slot <= 28; ++slot) EXPECT_EQ(records[slot + 1][3].rfind("360.", 0), 0u) << slot;
}

}  // namespace
}  // namespace kelvara::cli
