#include "interpretation/collect.h"

#include <algorithm>

#include "platform/codepage.h"
#include "workspace/chart_record.h"

namespace kelvara::interpretation {
namespace {

using platform::Utf8ToCp1251;

constexpr std::string_view kHeaderStart = "Тематический раздел: ";
constexpr std::string_view kHeaderEnd = "\r\n\r\n";

TextEntry EmptyLine(std::string text) { return {Utf8ToCp1251(kEmptyLineKey), std::move(text)}; }

bool Matches(const KeySets& keys, KeyFile file, const std::string& key) {
  const auto set = keys.find(file);
  return set != keys.end() && set->second.count(key) != 0;
}

// Appends the matching entries of one listed file; false (with the message) when the
// file cannot be read.
bool CollectFile(const Section& section, const std::string& name, const KeySets& keys,
                 std::vector<TextEntry>& entries, std::string& message) {
  const FileBytes read = ReadFolderFile(section.folder, name, name);
  if (!read.bytes) {
    message = read.message;
    return false;
  }
  const auto file = KeyFileOfName(name);
  if (!file) return true;
  for (TextEntry& entry : ReadKeyedEntries(*read.bytes))
    if (!IsPlaceholderEntry(entry) && Matches(keys, *file, entry.key)) entries.push_back(std::move(entry));
  return true;
}

}  // namespace

std::string SectionHeader(const Section& section) {
  const std::string caption(KindCaption(section.folder.parent_path().filename().string()));
  return Utf8ToCp1251(std::string(kHeaderStart) + "\"" + section.name + "\" (" + caption + ")") +
         std::string(kHeaderEnd);
}

void OrderByPlanets(std::vector<TextEntry>& entries) {
  std::vector<TextEntry> ordered;
  for (int slot = workspace::kFirstSlot; slot <= workspace::kLastSlot; ++slot) {
    const std::string name = Utf8ToCp1251(workspace::SlotName(slot));
    const auto about = std::stable_partition(entries.begin(), entries.end(), [&](const TextEntry& entry) {
      return !entry.key.starts_with(name);
    });
    std::move(about, entries.end(), std::back_inserter(ordered));
    entries.erase(about, entries.end());
  }
  std::move(entries.begin(), entries.end(), std::back_inserter(ordered));
  entries = std::move(ordered);
}

CollectResult Collect(const Section& section, const KeySets& keys) {
  const FileBytes listBytes =
      ReadFolderFile(section.folder, kListFileName, (section.folder / kListFileName).string());
  if (!listBytes.bytes) return {{}, listBytes.message};
  const FileList files = ParseFileList(*listBytes.bytes);
  std::vector<TextEntry> entries;
  std::string message;
  for (const std::string& name : files.files)
    if (!CollectFile(section, name, keys, entries, message)) return {{}, message};
  if (entries.empty())
    entries.push_back(EmptyLine(Utf8ToCp1251(kNoTextMessage)));
  else if (files.byPlanets)
    OrderByPlanets(entries);
  entries.insert(entries.begin(), EmptyLine(SectionHeader(section)));
  return {std::move(entries), {}};
}

}  // namespace kelvara::interpretation
