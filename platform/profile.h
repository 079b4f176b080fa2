// The per-application profile: integer and string entries grouped in sections, kept in
// the registry under HKEY_CURRENT_USER\Software\Kelvara\Kelvara\<section>, and the
// list of recently used files kept in the same way.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace kelvara::platform {

inline constexpr std::string_view kApplicationProfileKey = "Software\\Kelvara\\Kelvara";
inline constexpr std::string_view kRecentFileSection = "Recent File List";
inline constexpr std::size_t kRecentFileCount = 10;

class Profile {
 public:
  explicit Profile(Registry& registry,
                   std::string applicationKey = std::string(kApplicationProfileKey));

  // A missing entry, or one of another type, gives the default.
  int GetInt(std::string_view section, std::string_view entry, int defaultValue) const;
  std::string GetString(std::string_view section, std::string_view entry,
                        std::string_view defaultValue) const;

  // Integers are stored as REG_DWORD, strings as REG_SZ; false when the store refused.
  bool WriteInt(std::string_view section, std::string_view entry, int value);
  bool WriteString(std::string_view section, std::string_view entry, std::string_view value);
  bool DeleteEntry(std::string_view section, std::string_view entry);

 private:
  std::string SectionPath(std::string_view section) const;
  bool Read(std::string_view section, std::string_view entry, RegType type,
            std::string* data) const;
  bool Write(std::string_view section, std::string_view entry, RegType type, std::string_view data);

  Registry& registry_;
  std::string applicationKey_;
};

// Most recent first; a file added again moves to the front instead of appearing twice.
class RecentFileList {
 public:
  explicit RecentFileList(std::size_t capacity = kRecentFileCount);

  // Entries "File1", "File2", … of the section "Recent File List".
  static std::string EntryName(std::size_t index);

  void Load(const Profile& profile);
  bool Save(Profile& profile) const;

  void Add(const std::string& path);
  void Remove(std::size_t index);
  const std::vector<std::string>& Files() const { return files_; }

 private:
  std::size_t capacity_;
  std::vector<std::string> files_;
};

}  // namespace kelvara::platform
