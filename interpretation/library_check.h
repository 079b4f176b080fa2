// A check of a text library folder tree: listed files that are missing, sections
// without a name, and keys that no chart can ever build for their kind folder.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "interpretation/text_keys.h"

namespace kelvara::interpretation {

// Every key the key builder can produce in a kind folder (any case), per kind of file,
// over all objects of both traditions, signs, houses, rulers of any table and the given
// aspect angles, enabled or not; Windows-1251. In() is empty for a folder the library
// does not know.
class BuildableKeys {
 public:
  explicit BuildableKeys(std::vector<double> aspectAngles) : angles_(std::move(aspectAngles)) {}
  const KeySets& In(std::string_view kindFolder);

 private:
  const KeySets& OfScope(int scope);
  KeySets Build(int scope);

  std::vector<double> angles_;
  std::map<int, KeySets> byScope_;  // each chart scope built once: a point request may come from any chart
};

struct LibraryFindings {
  std::vector<std::string> missingFiles;     // "NT/Basics/PL_ZS.TXT"
  std::vector<std::string> unnamedSections;  // "NT/Basics"
  std::vector<std::string> unbuildableKeys;  // "NT/Basics/PL_ZS.TXT: Солнце -> Овен"
  bool Clean() const { return missingFiles.empty() && unnamedSections.empty() && unbuildableKeys.empty(); }
};

// Checks the sections of every kind folder under `root`; texts of the findings are UTF-8.
LibraryFindings CheckLibrary(const std::filesystem::path& root, const std::vector<double>& aspectAngles);

}  // namespace kelvara::interpretation
