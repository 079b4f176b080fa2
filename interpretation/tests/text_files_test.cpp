#include "interpretation/text_files.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/codepage.h"
#include "platform/tests/scratch_dir.h"

namespace kelvara::interpretation {
namespace {

using platform::Utf8ToCp1251;
using platform::test_support::ScratchDir;

std::vector<std::pair<std::string, std::string>> Pairs(std::string_view bytes) {
  std::vector<std::pair<std::string, std::string>> pairs;
  for (const auto& entry : ReadKeyedEntries(bytes)) pairs.emplace_back(entry.key, entry.text);
  return pairs;
}

using PairList = std::vector<std::pair<std::string, std::string>>;

TEST(KeyedEntries, LineEndsStopsAndEmptyKeys) {
  EXPECT_EQ(Pairs("free\r\n#A\r\nalpha\r\n#B\r\nbeta"), (PairList{{"A", "alpha\r\n"}, {"B", "beta"}}));
  // LF-only files keep every letter of the key and of the text; a one-letter key too.
  EXPECT_EQ(Pairs("#Key\nx\n#K\ny"), (PairList{{"Key", "x\n"}, {"K", "y"}}));
  EXPECT_EQ(Pairs("#A\rone#B"), (PairList{{"A", "one"}, {"B", ""}}));
  EXPECT_EQ(Pairs("#A\r\none\r\n##stop\r\n#B\r\nnever"), (PairList{{"A", "one\r\n"}}));
  EXPECT_EQ(Pairs("#\r\nlost\r\n#A\r\nkept"), (PairList{{"A", "kept"}}));
  EXPECT_TRUE(Pairs("no marks at all").empty());
  EXPECT_TRUE(Pairs("").empty());
  EXPECT_EQ(Pairs(std::string("#\0K\n\0\0#", 7)), (PairList{{std::string("\0K", 2), std::string("\0\0", 2)}}));
  EXPECT_EQ(Pairs("junk#"), PairList{});
}

TEST(KeyedEntries, PlaceholderIsRecognised) {
  const std::string file = Utf8ToCp1251("#Солнце -> Овен\r\n") + Utf8ToCp1251(kPlaceholderText) + "\r\n#X\r\ntext";
  const auto entries = ReadKeyedEntries(file);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_TRUE(IsPlaceholderEntry(entries[0]));
  EXPECT_FALSE(IsPlaceholderEntry(entries[1]));
}

TEST(FileListTest, LinesMarkersAndCase) {
  const FileList crlf = ParseFileList("pl_zs.txt; ON\r\nBy Planets\r\n  hs_zs.txt ; on  \r\nignored.txt\r\n; ON\r\n");
  EXPECT_TRUE(crlf.byPlanets);
  EXPECT_EQ(crlf.files, (std::vector<std::string>{"PL_ZS.TXT", "HS_ZS.TXT"}));
  const FileList lf = ParseFileList(Utf8ToCp1251("свои.txt; on\nrl_hs.txt; on"));
  EXPECT_FALSE(lf.byPlanets);
  EXPECT_EQ(lf.files, (std::vector<std::string>{Utf8ToCp1251("СВОИ.TXT"), "RL_HS.TXT"}));
}

void Write(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(LibraryFiles, NoCaseLookupStaysInFolder) {
  ScratchDir dir;
  std::filesystem::create_directories(dir / "sec");
  Write(dir / "sec" / "Pl_Zs.txt", "x");
  Write(dir / "secret.txt", "x");
  Write(dir.Path() / "sec" / "Свои.txt", "y");
  EXPECT_EQ(FindFileNoCase(dir / "sec", "PL_ZS.TXT"), dir / "sec" / "Pl_Zs.txt");
  EXPECT_EQ(FindFileNoCase(dir / "sec", Utf8ToCp1251("СВОИ.TXT")), dir.Path() / "sec" / "Свои.txt");
  for (std::string_view hostile : std::initializer_list<std::string_view>{
           "../secret.txt", "..\\secret.txt", "..", "/etc/passwd", "", "sub/x", std::string_view("Pl_Zs.txt\0x", 11)})
    EXPECT_FALSE(FindFileNoCase(dir / "sec", hostile)) << hostile;
  EXPECT_FALSE(FindFileNoCase(dir / "missing", "X"));
}

TEST(LibraryFiles, ReadMessages) {
  ScratchDir dir;
  EXPECT_EQ(ReadLibraryFile(dir / "none", Utf8ToCp1251("ФАЙЛ.TXT")).message, "Не найден файл ФАЙЛ.TXT");
  Write(dir / "big", "");
  std::filesystem::resize_file(dir / "big", kTextFileSizeLimit + 1);
  EXPECT_EQ(ReadLibraryFile(dir / "big", "BIG").message, "Не хватило памяти!");
  Write(dir / "ok", "#A\r\nb");
  EXPECT_EQ(ReadLibraryFile(dir / "ok", "OK").bytes, "#A\r\nb");
}

}  // namespace
}  // namespace kelvara::interpretation
