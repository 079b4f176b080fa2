// The shipped sample library against the key builder: nothing in it is unreachable,
// every key a chart builds for its complete files has a real text, and the report's
// substring lookups land on the entries they mean.
#include "interpretation/library_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "interpretation/collect.h"
#include "interpretation/report.h"
#include "platform/codepage.h"
#include "platform/file_io.h"
#include "workspace/aspect_tables.h"

namespace kelvara::interpretation {
namespace {

namespace fs = std::filesystem;
namespace ws = workspace;

const fs::path kLibrary = fs::path(KELVARA_SOURCE_DIR) / "data" / "TXT_ST";

std::vector<double> DefaultAngles() {
  std::vector<double> angles;
  for (const ws::AspectTable& table : {ws::DefaultSingleChartAspects(), ws::DefaultTwoChartAspects()})
    for (const ws::AspectRecord& aspect : table) angles.push_back(aspect.angle);
  return angles;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST(LibraryCoverageTest, TheCheckFindsNothingInTheSample) {
  const LibraryFindings findings = CheckLibrary(kLibrary, DefaultAngles());
  EXPECT_TRUE(findings.missingFiles.empty()) << Joined(findings.missingFiles);
  EXPECT_TRUE(findings.unnamedSections.empty()) << Joined(findings.unnamedSections);
  EXPECT_TRUE(findings.unbuildableKeys.empty()) << Joined(findings.unbuildableKeys);
}

TEST(LibraryCoverageTest, TheCheckTellsEachKindOfFault) {
  const fs::path root = fs::path(::testing::TempDir()) / "kelvara-library-check";
  fs::remove_all(root);
  fs::create_directories(root / "NT/a");
  fs::create_directories(root / "COMP/b");
  ASSERT_TRUE(platform::WriteFileAtomically(root / "NT/a/List.fls", "PL_ZS.TXT; ON\r\nSO1_HS.TXT; ON\r\nGONE.TXT; ON\r\n"));
  ASSERT_TRUE(platform::WriteFileAtomically(root / "NT/a/PL_ZS.TXT",
                                            platform::Utf8ToCp1251("#Солнце -> Рак\r\nx\r\n#Солнце -> Рыба\r\nx\r\n")));
  // Persons in houses are built for composite and double charts, never for a natal one.
  const std::string persons = platform::Utf8ToCp1251("#Луна 2 -> в 3-ом Доме композита\r\nx\r\n");
  ASSERT_TRUE(platform::WriteFileAtomically(root / "NT/a/SO1_HS.TXT", persons));
  ASSERT_TRUE(platform::WriteFileAtomically(root / "COMP/b/Name.thm", "b"));
  ASSERT_TRUE(platform::WriteFileAtomically(root / "COMP/b/List.fls", "SO1_HS.TXT; ON\r\n"));
  ASSERT_TRUE(platform::WriteFileAtomically(root / "COMP/b/SO1_HS.TXT", persons));

  const LibraryFindings findings = CheckLibrary(root, DefaultAngles());
  EXPECT_EQ(findings.missingFiles, std::vector<std::string>{"NT/a/GONE.TXT"});
  EXPECT_EQ(findings.unnamedSections, std::vector<std::string>{"NT/a"});
  EXPECT_EQ(findings.unbuildableKeys, (std::vector<std::string>{"NT/a/PL_ZS.TXT: Солнце -> Рыба",
                                                                "NT/a/SO1_HS.TXT: Луна 2 -> в 3-ом Доме композита"}));
  fs::remove_all(root);
}

// The files that tell one fact per key: the sample covers every key a chart builds for
// them (aspect files cover a chosen part of the aspects, degree files leave a degree
// without a sign to the user).
constexpr KeyFile kCompleteFiles[] = {KeyFile::kPlanetInSign,  KeyFile::kCuspInSign,    KeyFile::kPlanetInHouse,
                                      KeyFile::kRulerInHouse,  KeyFile::kCuspInHouse,   KeyFile::kFirstInHouse,
                                      KeyFile::kSecondInHouse, KeyFile::kIChing,        KeyFile::kMoonDays,
                                      KeyFile::kDegrees};

std::set<std::string> TextedKeys(const fs::path& path) {
  std::set<std::string> keys;
  for (const TextEntry& entry : ReadKeyedEntries(platform::ReadFileBytes(path).value_or("")))
    if (!IsPlaceholderEntry(entry) && entry.text.find_first_not_of(" \r\n") != std::string::npos)
      keys.insert(entry.key);
  return keys;
}

TEST(LibraryCoverageTest, EveryBuildableKeyOfACompleteFileHasAText) {
  int checked = 0;
  BuildableKeys buildableIn(DefaultAngles());
  for (const auto& kind : fs::directory_iterator(kLibrary)) {
    if (!kind.is_directory()) continue;
    KeySets buildable = buildableIn.In(kind.path().filename().string());
    for (const auto& section : fs::directory_iterator(kind.path())) {
      const auto list = platform::ReadFileBytes(section.path() / kListFileName);
      ASSERT_TRUE(list) << section.path();
      for (const std::string& name : ParseFileList(*list).files) {
        const std::optional<KeyFile> file = KeyFileOfName(name);
        if (!file || std::find(std::begin(kCompleteFiles), std::end(kCompleteFiles), *file) == std::end(kCompleteFiles))
          continue;
        const std::set<std::string> texted = TextedKeys(*FindFileNoCase(section.path(), name));
        for (const std::string& key : buildable[*file])
          if (key.back() != ' ') {
            EXPECT_TRUE(texted.contains(key)) << section.path() / name << ": " << platform::Cp1251ToUtf8(key);
          }
        ++checked;
      }
    }
  }
  EXPECT_GE(checked, 20);
}

// The report finds an entry by its key anywhere after the file's first byte: the first
// hit must be the entry itself, right after its "#".
void ExpectKeysStartEntries(std::string_view file, const std::vector<std::string>& utf8Keys) {
  const std::string bytes = platform::ReadFileBytes(kLibrary / file).value_or("");
  ASSERT_FALSE(bytes.empty()) << file;
  for (const std::string& key : utf8Keys) {
    const std::size_t at = bytes.find(platform::Utf8ToCp1251(key), 1);
    ASSERT_NE(at, std::string::npos) << file << ": " << key;
    EXPECT_EQ(bytes[at - 1], '#') << file << ": " << key;
  }
}

TEST(LibraryCoverageTest, ReportKeysFirstOccurAtTheirEntries) {
  std::vector<std::string> shortKeys, paragraphKeys{"Селена и Лилит"};
  for (int slot = ws::kFirstSlot; slot <= ws::kSlotLilith; ++slot)
    for (int sign = 1; sign <= ws::kSignCount; ++sign) {
      const std::string name(ws::SlotName(slot));
      const std::string where(SignPrepositional(sign));
      shortKeys.push_back(name + " " + where);
      if (slot == ws::kSlotSouthNode) continue;
      paragraphKeys.push_back(name + (slot == ws::kSlotNorthNode ? " (Раху) " : " ") + where);
    }
  ExpectKeysStartEntries(kShortFile, shortKeys);
  ExpectKeysStartEntries(kPlanetInSignFile, paragraphKeys);
}

}  // namespace
}  // namespace kelvara::interpretation
