// The interpretation texts of the charts on screen: where the text library lies, whether
// it offers a section for them, and one request run for the session with its
// tradition, charts and aspect table.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/session.h"
#include "interpretation/interpret.h"

namespace kelvara::app {

// The user's own library: $XDG_DATA_HOME/kelvara/TXT_ST (~/.local/share when unset).
std::filesystem::path UserTextLibrary();
// The shipped library first, then the user's.
std::vector<std::filesystem::path> TextLibraryRoots(const std::filesystem::path& shippedLibrary);

// The aspect descriptions of the wheel as it draws them, the keys of aspect texts.
std::vector<std::string> WheelAspectDescriptions(const workspace::WorkspaceState& charts,
                                                 const AspectTables& tables);
// The chart the built-in report is written for: the second one when it is shown alone.
const workspace::ChartRecord& ReportedChart(const workspace::WorkspaceState& charts);

// What a request reads; everything referred to outlives the context made from it.
struct TextSources {
  const workspace::WorkspaceState& charts;
  const AspectTables& aspects;
  const workspace::DignityTable& rulership;
  std::vector<std::filesystem::path> roots;
};
interpretation::InterpretContext MakeInterpretContext(const TextSources& sources);

// True when the kind folder of the charts shown offers at least one section (or a
// section folder that cannot be read, so that the command can say so).
bool InterpretationListsTexts(const Session& session);

struct TextRun {
  interpretation::InterpretResult result;
  std::string sectionName;  // UTF-8; empty when no section was taken
};

// Runs the request ("" for the charts' own text) for the session; the I-Ching section
// chosen is kept in "DirIDz", relative to its library.
TextRun RunTextRequest(Session& session, std::string_view request, const interpretation::PickSection& pick,
                       const std::filesystem::path& temporaryFile = {});

// The names the viewer shows: "<section> — <chart>" as its title, and
// "<chart> — <section>.txt" as the file "Сохранить как..." suggests.
std::string ShownChartsName(const workspace::WorkspaceState& charts);
std::string TextViewerTitle(const std::string& chartName, const std::string& sectionName);
std::string TextSaveName(const std::string& chartName, const std::string& sectionName);

}  // namespace kelvara::app
