#include "interpretation/library_check.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <system_error>
#include <utility>

#include "interpretation/text_files.h"
#include "interpretation/text_library.h"
#include "interpretation/text_request.h"
#include "platform/codepage.h"
#include "workspace/aspect_finder.h"

namespace kelvara::interpretation {
namespace {

namespace fs = std::filesystem;
namespace ws = workspace;

// The charts a kind folder is chosen for: what decides which keys can be built there.
enum class Scope { kSingle, kComposite, kDouble, kLunarDays, kDegrees, kIChing };

constexpr std::array<std::pair<std::string_view, Scope>, 16> kScopes = {{
    {"NT", Scope::kSingle},        {"TR", Scope::kSingle},         {"DR", Scope::kSingle},
    {"PR", Scope::kSingle},        {"SOLAR_TR", Scope::kSingle},   {"LUNAR_TR", Scope::kSingle},
    {"COMP", Scope::kComposite},   {"TR_NT", Scope::kDouble},      {"NT_NT", Scope::kDouble},
    {"DR_NT", Scope::kDouble},     {"PR_NT", Scope::kDouble},      {"SOLAR_TN", Scope::kDouble},
    {"LUNAR_TN", Scope::kDouble},  {"MOON_DAYS", Scope::kLunarDays}, {"DEGREES", Scope::kDegrees},
    {"ICHING", Scope::kIChing},
}};

constexpr int kLastLunarDay = 30;
constexpr int kHexagramCount = 64;
constexpr int kNoSign = 0;
constexpr double kCuspOffsetDeg = 10.0;   // cusps off the sign borders
constexpr double kObjectOffsetDeg = 25.0;  // objects well inside a house and a sign
constexpr std::string_view kLunarDayRowEnd = "-й день луны";
constexpr std::string_view kKeyJoint = ": ";

std::optional<Scope> ScopeOf(std::string_view kindFolder) {
  const std::string upper = UpperCp1251(kindFolder);
  for (const auto& [name, scope] : kScopes)
    if (name == upper) return scope;
  return std::nullopt;
}

// Cusps rotated by `cuspTurn` signs, every object of 1-16 in sign `objectSign` (0-11):
// over all turns every object visits every sign and house, every cusp every sign.
ws::ChartRecord TurnedChart(int cuspTurn, int objectSign, std::string name) {
  ws::ChartRecord chart;
  chart.name = std::move(name);
  for (int slot = ws::kFirstSlot; slot <= ws::kLastSlot; ++slot) {
    ws::ChartObject& object = chart.objects[slot];
    object.visible = 1;
    const double longitude = ws::IsCuspSlot(slot)
        ? ((slot - ws::kSlotFirstCusp + cuspTurn) % ws::kSignCount) * ws::kDegreesPerSign + kCuspOffsetDeg
        : objectSign * ws::kDegreesPerSign + kObjectOffsetDeg;
    object.SetLongitude(longitude);
  }
  return chart;
}

// Ruler keys do not name the ruler, so one object ruling every sign builds them all.
ws::DignityTable SunRulesEverySign() {
  ws::DignityTable table{};
  for (auto& sign : table) sign[ws::kSlotSun - 1] = 1;
  return table;
}

std::vector<std::string> AllDescriptions(bool twoCharts, const std::vector<double>& angles) {
  std::vector<std::string> descriptions;
  for (double angle : angles)
    for (int a = ws::kFirstSlot; a <= ws::kLastSlot; ++a)
      for (int b = twoCharts ? ws::kFirstSlot : a + 1; b <= ws::kLastSlot; ++b)
        descriptions.push_back(ws::AspectDescription(ws::SlotName(a), angle, ws::SlotName(b)));
  return descriptions;
}

void MergeInto(KeySets& into, KeySets from) {
  for (auto& [file, keys] : from) into[file].merge(keys);
}

class KeyCollector {
 public:
  KeyCollector() : rulers_(SunRulesEverySign()) {}

  void Add(const ws::WorkspaceState& state, std::vector<std::string> descriptions = {}, std::string request = {}) {
    MergeInto(keys_, BuildKeySets({&state, &rulers_, std::move(descriptions), std::move(request)}));
  }

  void AddSingle(const std::vector<double>& angles) {
    for (int turn = 0; turn < ws::kSignCount; ++turn)
      for (int sign = 0; sign < ws::kSignCount; ++sign) Add(State(TurnedChart(turn, sign, {})));
    Add(State(TurnedChart(0, 0, {})), AllDescriptions(false, angles));
  }

  void AddComposite(const std::vector<double>& angles) {
    for (int turn = 0; turn < ws::kSignCount; ++turn)
      for (int sign = 0; sign < ws::kSignCount; ++sign) {
        ws::WorkspaceState state = State(TurnedChart(turn, sign, std::string(ws::kCompositePrefix)));
        state.merged = ws::MergedSaves{TurnedChart(0, sign, "1"), TurnedChart(0, sign, "2")};
        Add(state);
      }
    Add(State(TurnedChart(0, 0, {})), AllDescriptions(false, angles));
  }

  void AddDouble(const std::vector<double>& angles) {
    for (int turn = 0; turn < ws::kSignCount; ++turn)
      for (int sign = 0; sign < ws::kSignCount; ++sign) {
        ws::WorkspaceState state = State(TurnedChart(0, 0, "1"));
        state.doubleChart = true;
        state.second = TurnedChart(turn, sign, "2");
        Add(state, turn == 0 && sign == 0 ? AllDescriptions(true, angles) : std::vector<std::string>{});
      }
  }

  void AddRequests(const std::vector<std::string>& requests) {
    const ws::WorkspaceState state = State(TurnedChart(0, 0, {}));
    for (const std::string& request : requests) Add(state, {}, RecogniseRequest(request).key);
  }

  KeySets Take() { return std::move(keys_); }

 private:
  static ws::WorkspaceState State(ws::ChartRecord main) {
    ws::WorkspaceState state;
    state.main = std::move(main);
    return state;
  }

  ws::DignityTable rulers_;
  KeySets keys_;
};

std::vector<std::string> RequestsOf(Scope scope) {
  std::vector<std::string> requests;
  if (scope == Scope::kLunarDays)
    for (int day = 1; day <= kLastLunarDay; ++day)
      requests.push_back(LunarDayRequest(std::to_string(day) + std::string(kLunarDayRowEnd)));
  if (scope == Scope::kDegrees)
    for (int sign = kNoSign; sign <= ws::kSignCount; ++sign)
      for (int degree = 1; degree <= static_cast<int>(ws::kDegreesPerSign); ++degree)
        requests.push_back(DegreeRequest(degree, sign));
  if (scope == Scope::kIChing)
    for (int number = 1; number <= kHexagramCount; ++number) requests.push_back(HexagramRequest(number, false));
  return requests;
}

std::string Relative(const fs::path& path, const fs::path& root) {
  return platform::Cp1251ToUtf8(path.lexically_relative(root).generic_string());
}

std::vector<fs::path> Subfolders(const fs::path& folder) {
  std::vector<fs::path> folders;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error))
    if (entry.is_directory(error) && !entry.path().filename().string().starts_with('.'))
      folders.push_back(entry.path());
  std::sort(folders.begin(), folders.end());
  return folders;
}

class LibraryChecker {
 public:
  LibraryChecker(fs::path root, const std::vector<double>& angles) : root_(std::move(root)), buildable_(angles) {}

  LibraryFindings Run() {
    for (const fs::path& kindFolder : Subfolders(root_)) {
      if (!ScopeOf(kindFolder.filename().string())) continue;
      for (const fs::path& section : Subfolders(kindFolder)) CheckSection(kindFolder.filename().string(), section);
    }
    return std::move(findings_);
  }

 private:
  void CheckSection(const std::string& kindFolder, const fs::path& section) {
    if (!FindFileNoCase(section, kSectionNameFile)) findings_.unnamedSections.push_back(Relative(section, root_));
    const FileBytes list = ReadFolderFile(section, kListFileName, kListFileName);
    if (!list.bytes) {
      findings_.missingFiles.push_back(Relative(section / kListFileName, root_));
      return;
    }
    for (const std::string& name : ParseFileList(*list.bytes).files) CheckFile(kindFolder, section, name);
  }

  void CheckFile(const std::string& kindFolder, const fs::path& section, const std::string& name) {
    const std::string shown = Relative(section / name, root_);
    const FileBytes file = ReadFolderFile(section, name, name);
    if (!file.bytes) {
      findings_.missingFiles.push_back(shown);
      return;
    }
    const std::optional<KeyFile> kind = KeyFileOfName(name);
    const KeySets& sets = buildable_.In(kindFolder);
    const auto keys = kind ? sets.find(*kind) : sets.end();
    for (const TextEntry& entry : ReadKeyedEntries(*file.bytes))
      if (keys == sets.end() || !keys->second.contains(entry.key))
        findings_.unbuildableKeys.push_back(shown + std::string(kKeyJoint) + platform::Cp1251ToUtf8(entry.key));
  }

  fs::path root_;
  BuildableKeys buildable_;
  LibraryFindings findings_;
};

}  // namespace

const KeySets& BuildableKeys::In(std::string_view kindFolder) {
  static const KeySets kNone;
  const std::optional<Scope> scope = ScopeOf(kindFolder);
  return scope ? OfScope(static_cast<int>(*scope)) : kNone;
}

const KeySets& BuildableKeys::OfScope(int scope) {
  auto found = byScope_.find(scope);
  if (found != byScope_.end()) return found->second;
  KeySets keys = Build(scope);
  return byScope_.emplace(scope, std::move(keys)).first->second;
}

KeySets BuildableKeys::Build(int scopeNumber) {
  const auto scope = static_cast<Scope>(scopeNumber);
  KeyCollector collector;
  if (scope == Scope::kSingle) collector.AddSingle(angles_);
  if (scope == Scope::kComposite) collector.AddComposite(angles_);
  if (scope == Scope::kDouble) collector.AddDouble(angles_);
  collector.AddRequests(RequestsOf(scope));
  KeySets keys = collector.Take();
  if (scope == Scope::kSingle || scope == Scope::kComposite || scope == Scope::kDouble) return keys;
  for (Scope chart : {Scope::kSingle, Scope::kComposite, Scope::kDouble})
    for (const auto& [file, chartKeys] : OfScope(static_cast<int>(chart))) keys[file].insert(chartKeys.begin(), chartKeys.end());
  return keys;
}

LibraryFindings CheckLibrary(const fs::path& root, const std::vector<double>& aspectAngles) {
  return LibraryChecker(root, aspectAngles).Run();
}

}  // namespace kelvara::interpretation
