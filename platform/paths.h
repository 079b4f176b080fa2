// Where the programs find their files, and how the handheld's paths map onto them.
//   program's folder   the folder of the executable; data/ lies beside it
//   state folder       $XDG_STATE_HOME/kelvara/, else ~/.local/state/kelvara/; the
//                      current directory while the programs run, so scratch files
//                      never land in a read-only folder
// Device paths: "\" (the device root) is the state folder, "Windows\Fonts\" is
// data/fonts/, "Storage Card\" is the user's fonts folder; backslashes become slashes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace kelvara::platform {

std::filesystem::path ProgramFolder();
std::filesystem::path DataFolder();
// The data folder as a string ending in a separator, for names made by appending.
std::string DataPrefix();
std::filesystem::path StateFolder();
// $XDG_DATA_HOME/fonts, else ~/.local/share/fonts.
std::filesystem::path UserFontsFolder();

// Creates the state folder and makes it the current directory.
bool EnterStateFolder(std::error_code& error);

struct DeviceFolders {
  std::filesystem::path state;
  std::filesystem::path systemFonts;
  std::filesystem::path storageCard;
};
DeviceFolders CurrentDeviceFolders();

// A relative path that names no mapped folder stays relative (to the state folder,
// the current directory). An absolute host path (with a forward slash and more than
// one component) is left as it is. ".." never climbs out of a mapped folder.
std::filesystem::path MapDevicePath(std::string_view devicePath, const DeviceFolders& folders);
std::filesystem::path MapDevicePath(std::string_view devicePath);

}  // namespace kelvara::platform
