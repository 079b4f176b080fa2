// The folder tree of the interpretation text library: which kind folder fits the chart
// on screen, and the thematic sections a kind folder offers.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/workspace_state.h"

namespace kelvara::interpretation {

inline constexpr std::string_view kLibraryFolderName = "TXT_ST";
inline constexpr std::string_view kNatalFolder = "NT";
inline constexpr std::string_view kSynastryFolder = "NT_NT";
inline constexpr std::string_view kMoonDaysFolder = "Moon_Days";
inline constexpr std::string_view kDegreesFolder = "Degrees";
inline constexpr std::string_view kIChingFolder = "IChing";

inline constexpr std::string_view kBuiltInSectionName = "Кельвара";
inline constexpr std::string_view kChooseSectionCaption = "Выберите раздел";

struct KindFolder {
  std::string_view folder;   // "NT", "TR_NT", ...
  std::string_view caption;  // "Натал", ...
};

// The kind folder for the chart the user sees: a single chart, the second chart shown
// alone, or both rings of a double chart.
KindFolder KindFolderOf(const workspace::WorkspaceState& state);

// The header caption of a kind folder's name ("NT", "HR", ...; any case); empty for
// a folder the library does not know.
std::string_view KindCaption(std::string_view folderName);

// A thematic section: its display name (UTF-8) and folder. The built-in section has
// an empty folder.
struct Section {
  std::string name;
  std::filesystem::path folder;
  friend bool operator==(const Section&, const Section&) = default;
};

struct SectionList {
  std::vector<Section> sections;
  std::string message;  // set when a section folder has no "Name.thm"; no sections then
};

// The sections of a kind folder, found in each library root in turn (the shipped
// library first, then the user's): the built-in section first in the natal folder,
// then each root's subfolders by folder name, dot-folders skipped.
SectionList ListSections(const std::vector<std::filesystem::path>& roots, std::string_view kindFolder);

// The "Выберите раздел" dialog's model: the combo's names, the selected one, and the
// section accepted by index (names may repeat or hold any character).
class SectionChoice {
 public:
  explicit SectionChoice(std::vector<Section> sections);

  const std::vector<Section>& Sections() const { return sections_; }
  std::vector<std::string> Names() const;
  std::size_t Selected() const { return selected_; }
  void Select(std::size_t index);
  // A single section is taken without showing the dialog.
  bool ChoosesItself() const { return sections_.size() == 1; }
  std::optional<Section> Accept() const;

 private:
  std::vector<Section> sections_;
  std::size_t selected_ = 0;
};

}  // namespace kelvara::interpretation
