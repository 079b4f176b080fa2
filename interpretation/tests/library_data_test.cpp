// The sample text library shipped in data/TXT_ST, read straight from the files so a
// broken edit of the data shows up whatever the state of the readers.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kLibrary = fs::path(KELVARA_SOURCE_DIR) / "data" / "TXT_ST";
constexpr std::string_view kReadme = "README";  // UTF-8 notes, not read by the program

constexpr std::array<std::string_view, 16> kKindFolders = {
    "NT", "COMP", "TR", "DR", "PR", "SOLAR_TR", "LUNAR_TR", "TR_NT",
    "NT_NT", "DR_NT", "PR_NT", "SOLAR_TN", "LUNAR_TN", "Moon_Days", "Degrees", "IChing"};

constexpr std::array<std::string_view, 9> kReportFiles = {
    "cup.txt", "REFREN.txt", "midl1.txt", "SHORT.txt", "midl12.txt",
    "Pl_Zz.txt", "midl2.txt", "ASP.txt", "END.txt"};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The first byte that is no Windows-1251 text character or breaks CR LF pairing, or npos.
std::size_t FirstBadByte(std::string_view bytes) {
  constexpr unsigned char kUndefinedIn1251 = 0x98;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    const bool lineFeedAfterReturn = c == '\n' && i > 0 && bytes[i - 1] == '\r';
    const bool returnBeforeLineFeed = c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
    if (c == kUndefinedIn1251) return i;
    if (c < 0x20 && c != '\t' && !lineFeedAfterReturn && !returnBeforeLineFeed) return i;
  }
  return std::string_view::npos;
}

std::vector<std::string> Lines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    lines.emplace_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The keys of a "#"-keyed file: the rest of every line that starts with "#".
std::vector<std::string> Keys(std::string_view bytes) {
  std::vector<std::string> keys;
  for (const std::string& line : Lines(bytes))
    if (line.size() > 1 && line[0] == '#') keys.push_back(line.substr(1));
  return keys;
}

std::vector<fs::path> Sections(const fs::path& kindFolder) {
  std::vector<fs::path> sections;
  for (const auto& entry : fs::directory_iterator(kindFolder))
    if (entry.is_directory()) sections.push_back(entry.path());
  return sections;
}

TEST(LibraryData, EveryFileIsWindows1251WithCrLfLineEnds) {
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kLibrary)) {
    if (!entry.is_regular_file() || entry.path().filename() == kReadme) continue;
    ++files;
    const std::string bytes = ReadAll(entry.path());
    EXPECT_FALSE(bytes.empty()) << entry.path();
    EXPECT_EQ(FirstBadByte(bytes), std::string_view::npos) << entry.path();
  }
  EXPECT_GT(files, static_cast<int>(kReportFiles.size()));
}

TEST(LibraryData, ReportFilesLieInTheRoot) {
  for (std::string_view name : kReportFiles) EXPECT_TRUE(fs::is_regular_file(kLibrary / name)) << name;
}

TEST(LibraryData, EveryKindFolderHoldsASectionWhoseListedFilesExistWithUniqueKeys) {
  constexpr std::string_view kFileOn = "; ON";
  for (std::string_view kind : kKindFolders) {
    const fs::path folder = kLibrary / kind;
    ASSERT_TRUE(fs::is_directory(folder)) << kind;
    const auto sections = Sections(folder);
    ASSERT_FALSE(sections.empty()) << kind;
    for (const fs::path& section : sections) {
      EXPECT_FALSE(ReadAll(section / "Name.thm").empty()) << section;
      int listed = 0;
      for (std::string line : Lines(ReadAll(section / "List.fls"))) {
        const auto marker = line.find(kFileOn);
        if (marker == std::string::npos) continue;
        ++listed;
        const fs::path file = section / line.erase(marker, kFileOn.size());
        ASSERT_TRUE(fs::is_regular_file(file)) << file;
        const auto keys = Keys(ReadAll(file));
        EXPECT_FALSE(keys.empty()) << file;
        EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()).size(), keys.size()) << file;
      }
      EXPECT_GT(listed, 0) << section;
    }
  }
}

}  // namespace
