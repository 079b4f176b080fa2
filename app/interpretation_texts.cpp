#include "app/interpretation_texts.h"

#include <cstdlib>
#include <system_error>

#include "display/chart_wheel.h"
#include "interpretation/report.h"
#include "workspace/aspect_finder.h"

namespace kelvara::app {
namespace {

namespace fs = std::filesystem;
namespace in = interpretation;
namespace ws = workspace;

constexpr std::string_view kNameSeparator = " — ";
constexpr std::string_view kChartsJoint = ", ";
constexpr std::string_view kTextExtension = ".txt";

bool IsInside(const fs::path& folder, const fs::path& root) {
  const fs::path relative = folder.lexically_normal().lexically_relative(root.lexically_normal());
  return !relative.empty() && *relative.begin() != "..";
}

// "DirIDz" names the folder under whichever library holds it.
std::string StoredFolder(const fs::path& folder, const std::vector<fs::path>& roots) {
  for (const fs::path& root : roots)
    if (IsInside(folder, root)) return folder.lexically_normal().lexically_relative(root.lexically_normal()).string();
  return {};
}

fs::path RememberedFolder(const std::string& stored, const std::vector<fs::path>& roots) {
  if (stored.empty() || fs::path(stored).is_absolute()) return {};
  std::error_code ignored;
  for (const fs::path& root : roots) {
    const fs::path folder = root / stored;
    if (IsInside(folder, root) && fs::is_directory(folder, ignored)) return folder;
  }
  return {};
}

bool AnyRootExists(const std::vector<fs::path>& roots) {
  std::error_code ignored;
  for (const fs::path& root : roots)
    if (fs::is_directory(root, ignored)) return true;
  return false;
}

std::vector<fs::path> SessionRoots(const Session& session) { return TextLibraryRoots(session.textFolder); }

// The section taken without the dialog is the kind folder's only one.
std::string OnlySectionName(const std::vector<fs::path>& roots, std::string_view request,
                            const ws::WorkspaceState& charts) {
  const in::SectionList list = in::ListSections(roots, in::KindFolderOfRequest(request, charts));
  return list.sections.size() == 1 ? list.sections.front().name : std::string();
}

std::string FileNameSafe(std::string name) {
  for (char& c : name)
    if (c == '/' || c == '\\') c = '-';
  return name;
}

}  // namespace

fs::path UserTextLibrary() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  const fs::path base = dataHome && *dataHome ? fs::path(dataHome) : fs::path(home ? home : ".") / ".local/share";
  return base / "kelvara" / in::kLibraryFolderName;
}

std::vector<fs::path> TextLibraryRoots(const fs::path& shippedLibrary) { return {shippedLibrary, UserTextLibrary()}; }

std::vector<std::string> WheelAspectDescriptions(const ws::WorkspaceState& charts, const AspectTables& tables) {
  // The wheel's input may mark its objects; the charts on screen stay as they are.
  ws::ObjectTable inner = charts.secondAlone ? charts.second.objects : charts.main.objects;
  ws::ObjectTable outer = charts.second.objects;
  display::WheelInput wheel;
  const bool both = charts.doubleChart && !charts.secondAlone;
  wheel.inner = &inner;
  wheel.outer = both ? &outer : nullptr;
  wheel.outerName = both ? charts.second.name : std::string();
  wheel.aspects = both ? &tables.between : &tables.single;
  const ws::AspectFinderInput finder = display::WheelAspectFinder(wheel);
  std::vector<std::string> descriptions;
  for (const ws::FoundAspect& found : ws::FindAspects(finder))
    descriptions.push_back(display::WheelAspectEntry(finder, found).text);
  return descriptions;
}

const ws::ChartRecord& ReportedChart(const ws::WorkspaceState& charts) {
  return charts.doubleChart && charts.secondAlone ? charts.second : charts.main;
}

in::InterpretContext MakeInterpretContext(const TextSources& sources) {
  in::InterpretContext context;
  context.libraryRoots = sources.roots;
  context.keys = {&sources.charts, &sources.rulership, WheelAspectDescriptions(sources.charts, sources.aspects), {}};
  const ws::ChartRecord& shown = ReportedChart(sources.charts);
  const ws::AspectTable& aspects = sources.aspects.single;
  const fs::path root = sources.roots.empty() ? fs::path() : sources.roots.front();
  context.builtInSection = [&shown, &aspects, root] {
    in::ReportResult report = in::Report(shown, aspects, root);
    return std::make_pair(std::move(report.pieces), std::move(report.messages));
  };
  return context;
}

bool InterpretationListsTexts(const Session& session) {
  const std::vector<fs::path> roots = SessionRoots(session);
  if (!AnyRootExists(roots)) return false;
  const in::SectionList list = in::ListSections(roots, in::KindFolderOf(session.charts).folder);
  return !list.sections.empty() || !list.message.empty();
}

TextRun RunTextRequest(Session& session, std::string_view request, const in::PickSection& pick,
                       const fs::path& temporaryFile) {
  const std::vector<fs::path> roots = SessionRoots(session);
  in::InterpretContext context =
      MakeInterpretContext({session.charts, session.aspectTables, session.dignityTables.rulership, roots});
  context.iChingFolder = RememberedFolder(session.settings.iChingFolder, roots);
  context.temporaryFile = temporaryFile;

  TextRun run;
  bool picked = false;
  const in::PickSection remembering = [&](const in::SectionChoice& choice) -> std::optional<std::size_t> {
    picked = true;
    const auto index = pick ? pick(choice) : std::nullopt;
    if (index && *index < choice.Sections().size()) run.sectionName = choice.Sections()[*index].name;
    return index;
  };
  run.result = in::Interpret(request, context, remembering);
  if (!picked && !run.result.writtenFile.empty()) run.sectionName = OnlySectionName(roots, request, session.charts);
  if (!run.result.chosenIChingFolder.empty())
    session.settings.iChingFolder = StoredFolder(run.result.chosenIChingFolder, roots);
  return run;
}

std::string ShownChartsName(const ws::WorkspaceState& charts) {
  if (!charts.doubleChart || charts.secondAlone) return ReportedChart(charts).name;
  return charts.main.name + std::string(kChartsJoint) + charts.second.name;
}

std::string TextViewerTitle(const std::string& chartName, const std::string& sectionName) {
  if (chartName.empty()) return sectionName;
  return sectionName + std::string(kNameSeparator) + chartName;
}

std::string TextSaveName(const std::string& chartName, const std::string& sectionName) {
  const std::string stem = chartName.empty() ? sectionName : chartName + std::string(kNameSeparator) + sectionName;
  return FileNameSafe(stem) + std::string(kTextExtension);
}

}  // namespace kelvara::app
