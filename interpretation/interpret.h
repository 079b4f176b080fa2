// The entry point of every interpretation command: choose the section, collect it (or
// write the built-in report) and leave the texts in the temporary file for the viewer.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interpretation/text_keys.h"
#include "interpretation/text_library.h"

namespace kelvara::interpretation {

inline constexpr std::string_view kTemporaryFile = "/kelvara_tmp.txt";
inline constexpr std::string_view kFileBusyMessage =
    "Занят файл!\n По-видимому, у вас уже открыта, какая-то интерпретация.\nЗакройте ее и повторите команду.";

struct InterpretContext {
  std::vector<std::filesystem::path> libraryRoots;  // the shipped "TXT_ST" first, then the user's
  KeyInput keys;  // the chart on screen (its state must be set); the request key is set here
  // The built-in natal section's pieces (Windows-1251) and messages (UTF-8).
  std::function<std::pair<std::vector<std::string>, std::vector<std::string>>()> builtInSection;
  std::filesystem::path iChingFolder;               // "DirIDz": the I-Ching section last chosen
  std::filesystem::path temporaryFile;              // empty: "/kelvara_tmp.txt" on the device
};

// The dialog: the index of the chosen section, or none for "Отмена".
using PickSection = std::function<std::optional<std::size_t>(const SectionChoice&)>;

struct InterpretResult {
  std::vector<std::string> messages;   // UTF-8, one message box each
  std::filesystem::path writtenFile;   // the file to open in the text viewer; empty when none
  std::string shortText;               // UTF-8; the short I-Ching text
  std::filesystem::path chosenIChingFolder;  // to be kept as "DirIDz" when set
};

// The kind folder a request reads: its own for a point's text, the chart's otherwise.
std::string_view KindFolderOfRequest(std::string_view request, const workspace::WorkspaceState& state);

InterpretResult Interpret(std::string_view request, const InterpretContext& context, const PickSection& pickSection);

}  // namespace kelvara::interpretation
