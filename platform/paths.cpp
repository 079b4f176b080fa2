#include "platform/paths.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <vector>

namespace kelvara::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kApplicationFolder = "kelvara";
constexpr std::string_view kSystemFontsPrefix = "windows/fonts/";
constexpr std::string_view kStorageCardPrefix = "storage card/";

// An XDG variable counts only when it holds an absolute path.
std::optional<fs::path> XdgFolder(const char* variable) {
  const char* value = std::getenv(variable);
  if (value == nullptr || value[0] != '/') return std::nullopt;
  return fs::path(value);
}

fs::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
    return entry->pw_dir;
  }
  return fs::temp_directory_path();
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

// Joins the components of `relative` under `root`, dropping "." and letting ".."
// remove only components that were added here.
fs::path JoinConfined(const fs::path& root, std::string_view relative) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t end = relative.find('/', start);
    if (end == std::string_view::npos) end = relative.size();
    const std::string_view part = relative.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.emplace_back(part);
    }
    start = end + 1;
  }
  fs::path result = root;
  for (const auto& part : parts) result /= part;
  return result;
}

}  // namespace

fs::path ProgramFolder() {
  std::error_code error;
  const fs::path executable = fs::read_symlink("/proc/self/exe", error);
  if (error) return fs::current_path(error);
  return executable.parent_path();
}

fs::path DataFolder() { return ProgramFolder() / "data"; }

std::string DataPrefix() { return (DataFolder() / "").string(); }

fs::path StateFolder() {
  const fs::path base = XdgFolder("XDG_STATE_HOME").value_or(HomeFolder() / ".local" / "state");
  return base / kApplicationFolder;
}

fs::path UserFontsFolder() {
  const fs::path base = XdgFolder("XDG_DATA_HOME").value_or(HomeFolder() / ".local" / "share");
  return base / "fonts";
}

bool EnterStateFolder(std::error_code& error) {
  const fs::path folder = StateFolder();
  fs::create_directories(folder, error);
  if (error) return false;
  fs::current_path(folder, error);
  return !error;
}

DeviceFolders CurrentDeviceFolders() { return {StateFolder(), DataFolder() / "fonts", UserFontsFolder()}; }

fs::path MapDevicePath(std::string_view devicePath, const DeviceFolders& folders) {
  std::string path(devicePath);
  const bool backslashRoot = !path.empty() && path.front() == '\\';
  std::replace(path.begin(), path.end(), '\\', '/');
  const bool rooted = !path.empty() && path.front() == '/';
  const std::string_view rest =
      std::string_view(path).substr(std::min(path.find_first_not_of('/'), path.size()));
  if (StartsWithNoCase(rest, kSystemFontsPrefix)) {
    return JoinConfined(folders.systemFonts, rest.substr(kSystemFontsPrefix.size()));
  }
  if (StartsWithNoCase(rest, kStorageCardPrefix)) {
    return JoinConfined(folders.storageCard, rest.substr(kStorageCardPrefix.size()));
  }
  if (!rooted) return fs::path(path);
  const bool singleComponent = rest.find('/') == std::string_view::npos;
  if (backslashRoot || singleComponent) return JoinConfined(folders.state, rest);
  return fs::path(path);
}

fs::path MapDevicePath(std::string_view devicePath) {
  return MapDevicePath(devicePath, CurrentDeviceFolders());
}

}  // namespace kelvara::platform
