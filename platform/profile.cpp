#include "platform/profile.h"

#include <algorithm>

namespace kelvara::platform {

Profile::Profile(Registry& registry, std::string applicationKey)
    : registry_(registry), applicationKey_(std::move(applicationKey)) {}

std::string Profile::SectionPath(std::string_view section) const {
  return applicationKey_ + kRegPathSeparator + std::string(section);
}

bool Profile::Read(std::string_view section, std::string_view entry, RegType type,
                   std::string* data) const {
  ScopedRegKey key(registry_);
  RegType stored = REG_NONE;
  return registry_.OpenKey(HKEY_CURRENT_USER, SectionPath(section), key.Out()) ==
             RegStatus::Success &&
         registry_.QueryValue(key.Get(), entry, &stored, data) == RegStatus::Success &&
         stored == type;
}

bool Profile::Write(std::string_view section, std::string_view entry, RegType type,
                    std::string_view data) {
  ScopedRegKey key(registry_);
  return registry_.CreateKey(HKEY_CURRENT_USER, SectionPath(section), key.Out()) ==
             RegStatus::Success &&
         registry_.SetValue(key.Get(), entry, type, data) == RegStatus::Success;
}

int Profile::GetInt(std::string_view section, std::string_view entry, int defaultValue) const {
  std::string data;
  std::uint32_t number = 0;
  if (!Read(section, entry, REG_DWORD, &data) || !DecodeRegDword(data, &number)) {
    return defaultValue;
  }
  return static_cast<int>(number);
}

std::string Profile::GetString(std::string_view section, std::string_view entry,
                               std::string_view defaultValue) const {
  std::string data;
  std::string text;
  if (!Read(section, entry, REG_SZ, &data) || !DecodeRegSz(data, &text)) {
    return std::string(defaultValue);
  }
  return text;
}

bool Profile::WriteInt(std::string_view section, std::string_view entry, int value) {
  return Write(section, entry, REG_DWORD, RegDwordData(static_cast<std::uint32_t>(value)));
}

bool Profile::WriteString(std::string_view section, std::string_view entry,
                          std::string_view value) {
  return Write(section, entry, REG_SZ, RegSzData(value));
}

bool Profile::DeleteEntry(std::string_view section, std::string_view entry) {
  ScopedRegKey key(registry_);
  return registry_.OpenKey(HKEY_CURRENT_USER, SectionPath(section), key.Out()) ==
             RegStatus::Success &&
         registry_.DeleteValue(key.Get(), entry) == RegStatus::Success;
}

RecentFileList::RecentFileList(std::size_t capacity) : capacity_(capacity) {}

std::string RecentFileList::EntryName(std::size_t index) {
  return "File" + std::to_string(index + 1);
}

void RecentFileList::Load(const Profile& profile) {
  files_.clear();
  for (std::size_t i = 0; i < capacity_; ++i) {
    const std::string path = profile.GetString(kRecentFileSection, EntryName(i), "");
    if (!path.empty() && std::find(files_.begin(), files_.end(), path) == files_.end()) {
      files_.push_back(path);
    }
  }
}

bool RecentFileList::Save(Profile& profile) const {
  bool stored = true;
  for (std::size_t i = 0; i < capacity_; ++i) {
    if (i < files_.size()) {
      stored = profile.WriteString(kRecentFileSection, EntryName(i), files_[i]) && stored;
    } else {
      // A missing entry is what we want here, so its absence is no failure.
      profile.DeleteEntry(kRecentFileSection, EntryName(i));
    }
  }
  return stored;
}

void RecentFileList::Add(const std::string& path) {
  if (path.empty()) return;
  files_.erase(std::remove(files_.begin(), files_.end(), path), files_.end());
  files_.insert(files_.begin(), path);
  if (files_.size() > capacity_) files_.resize(capacity_);
}

void RecentFileList::Remove(std::size_t index) {
  if (index < files_.size()) files_.erase(files_.begin() + std::ptrdiff_t(index));
}

}  // namespace kelvara::platform
