#include "interpretation/text_library.h"

#include <algorithm>
#include <array>

#include "interpretation/text_files.h"
#include "platform/codepage.h"
#include "workspace/text_trim.h"

namespace kelvara::interpretation {
namespace {

namespace ws = workspace;

constexpr std::array<KindFolder, 14> kKindFolders = {{
    {"NT", "Натал"},
    {"COMP", "Композит"},
    {"TR", "Транзит"},
    {"DR", "Дирекции"},
    {"PR", "Прогресии"},
    {"SOLAR_TR", "Соляр: транзит"},
    {"LUNAR_TR", "Лунар: транзит"},
    {"TR_NT", "Транзит-Натал"},
    {"NT_NT", "Синастрии"},
    {"DR_NT", "Дирекции-Натал"},
    {"PR_NT", "Прогресии-Натал"},
    {"SOLAR_TN", "Соляр: транзит-натал"},
    {"LUNAR_TN", "Лунар: транзит-натал"},
    {"HR", "Хорар"},
}};

// The families of derived charts, each with its folder alone and over the natal chart.
enum class Family { kNone, kNow, kDirection, kProgression, kSolar, kLunar };

struct FamilyFolders {
  Family family;
  std::string_view alone;
  std::string_view overNatal;
};

constexpr std::array<FamilyFolders, 6> kFamilyFolders = {{
    {Family::kNone, kNatalFolder, kSynastryFolder},
    {Family::kNow, "TR", "TR_NT"},
    {Family::kDirection, "DR", "DR_NT"},
    {Family::kProgression, "PR", "PR_NT"},
    {Family::kSolar, "SOLAR_TR", "SOLAR_TN"},
    {Family::kLunar, "LUNAR_TR", "LUNAR_TN"},
}};

Family FamilyOfName(std::string_view name) {
  if (ws::IsNowName(name)) return Family::kNow;
  const auto kind = ws::KindOfName(name);
  if (!kind) return Family::kNone;
  switch (*kind) {
    case ws::ChartKind::kNow: return Family::kNow;
    case ws::ChartKind::kSymbolicDirection:
    case ws::ChartKind::kProfection:
    case ws::ChartKind::kSolarArcDirection: return Family::kDirection;
    case ws::ChartKind::kSecondaryProgression:
    case ws::ChartKind::kSolarArcMidheaven: return Family::kProgression;
    case ws::ChartKind::kSolarReturnForward:
    case ws::ChartKind::kSolarReturnBackward: return Family::kSolar;
    case ws::ChartKind::kLunarReturnForward:
    case ws::ChartKind::kLunarReturnBackward: return Family::kLunar;
  }
  return Family::kNone;
}

const FamilyFolders& FoldersOf(Family family) {
  return *std::find_if(kFamilyFolders.begin(), kFamilyFolders.end(),
                       [family](const FamilyFolders& row) { return row.family == family; });
}

KindFolder KindFolderNamed(std::string_view folder) { return {folder, KindCaption(folder)}; }

std::string_view SingleChartFolder(std::string_view name) {
  if (ws::IsCompositeName(name)) return "COMP";
  if (name.empty() || ws::IsNowName(name)) return "TR";
  return kNatalFolder;
}

bool SameNoCase(std::string_view a, std::string_view b) { return UpperCp1251(a) == UpperCp1251(b); }

std::string RemoveLineEnds(std::string_view text) {
  std::string kept;
  std::copy_if(text.begin(), text.end(), std::back_inserter(kept), [](char c) { return c != '\r' && c != '\n'; });
  return kept;
}

std::vector<std::filesystem::path> SortedSubfolders(const std::filesystem::path& kindFolder) {
  std::vector<std::filesystem::path> folders;
  std::error_code error;
  for (std::filesystem::directory_iterator it(kindFolder, error), end; !error && it != end; it.increment(error)) {
    std::error_code typeError;
    if (it->path().filename().string().starts_with('.') || !it->is_directory(typeError)) continue;
    folders.push_back(it->path());
  }
  std::sort(folders.begin(), folders.end(),
            [](const auto& a, const auto& b) { return a.filename().string() < b.filename().string(); });
  return folders;
}

// The section of a folder, or the message that its "Name.thm" is missing.
std::optional<Section> ReadSection(const std::filesystem::path& folder, std::string& message) {
  const FileBytes read = ReadFolderFile(folder, kSectionNameFile, (folder / kSectionNameFile).string());
  if (!read.bytes) {
    message = read.message;
    return std::nullopt;
  }
  const std::string name = RemoveLineEnds(*read.bytes);
  return Section{platform::Cp1251ToUtf8(ws::TrimBlanks(name)), folder};
}

}  // namespace

std::string_view KindCaption(std::string_view folderName) {
  for (const KindFolder& row : kKindFolders)
    if (SameNoCase(row.folder, folderName)) return row.caption;
  return {};
}

KindFolder KindFolderOf(const ws::WorkspaceState& state) {
  const bool secondShown = state.doubleChart && !state.second.name.empty();
  if (!secondShown) return KindFolderNamed(SingleChartFolder(state.main.name));
  const FamilyFolders& folders = FoldersOf(FamilyOfName(state.second.name));
  return KindFolderNamed(state.secondAlone ? folders.alone : folders.overNatal);
}

SectionList ListSections(const std::vector<std::filesystem::path>& roots, std::string_view kindFolder) {
  SectionList list;
  if (SameNoCase(kindFolder, kNatalFolder)) list.sections.push_back({std::string(kBuiltInSectionName), {}});
  for (const auto& root : roots) {
    const auto folder = FindFileNoCase(root, kindFolder);
    if (!folder) continue;
    for (const auto& sub : SortedSubfolders(*folder)) {
      auto section = ReadSection(sub, list.message);
      if (!section) return {{}, list.message};
      list.sections.push_back(std::move(*section));
    }
  }
  return list;
}

SectionChoice::SectionChoice(std::vector<Section> sections) : sections_(std::move(sections)) {}

std::vector<std::string> SectionChoice::Names() const {
  std::vector<std::string> names;
  for (const Section& section : sections_) names.push_back(section.name);
  return names;
}

void SectionChoice::Select(std::size_t index) {
  if (index < sections_.size()) selected_ = index;
}

std::optional<Section> SectionChoice::Accept() const {
  if (selected_ >= sections_.size()) return std::nullopt;
  return sections_[selected_];
}

}  // namespace kelvara::interpretation
