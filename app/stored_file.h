// Reading and writing the files the user keeps (documents, aspect and dignity tables),
// with the messages the program shows when that fails.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kelvara::app {

struct StoredFile {
  enum class Status { kRead, kMissing, kUnreadable };
  Status status = Status::kMissing;
  std::string bytes;
  std::string error;  // the message for kUnreadable
};

StoredFile ReadStoredFile(const std::filesystem::path& path);

// Written to a temporary file and renamed over the old one; the message when that
// failed (the old file is then untouched), nothing when it worked.
std::optional<std::string> WriteStoredFile(const std::filesystem::path& path, std::string_view bytes);

// "Файл поврежден: <path>\n<reason>".
std::string DamagedFileMessage(const std::filesystem::path& path, std::string_view reason);

}  // namespace kelvara::app
