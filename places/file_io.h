// Whole-file reading and safe replacement of the files the user keeps.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kelvara::places {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

// Writes to a temporary file beside the target, then renames it over the target,
// so a failed or interrupted write never leaves a damaged file behind.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes);

}  // namespace kelvara::places
