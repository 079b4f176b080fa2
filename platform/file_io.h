// Whole-file reading with a size limit, and writing that never leaves a half-written
// file behind: files the user keeps are written beside the old one and renamed over it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace kelvara::platform {

// What the user is told when a file cannot be written, before the file's name.
inline constexpr const char* kCannotWriteFile = "Не удается записать файл ";

// Larger than any document, place file or table the programs keep.
inline constexpr std::uintmax_t kDefaultFileSizeLimit = 64u * 1024u * 1024u;

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Opens a regular file for reading; a FIFO, device or folder in its place is refused at
// once (errc::not_supported / is_a_directory) instead of blocking the open or the reads.
FileHandle OpenRegularFile(const std::filesystem::path& path, std::error_code& error);

// The file's bytes, or nothing (with the reason in `error`) when it cannot be read
// or is larger than `limit`.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path, std::error_code& error,
                                         std::uintmax_t limit = kDefaultFileSizeLimit);

// Writes `bytes` to a temporary file in the target's folder, flushes it to disk and
// renames it over `path`. On failure the old file is untouched and no temporary remains.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::error_code& error);

// The same for callers that only need to know whether it worked.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path,
                                         std::uintmax_t limit = kDefaultFileSizeLimit);
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace kelvara::platform
