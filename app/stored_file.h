// Reading and writing the files the user keeps (documents, aspect and dignity tables),
// with the messages the program shows when that fails.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace kelvara::app {

struct StoredFile {
  enum class Status { kRead, kMissing, kUnreadable };
  Status status = Status::kMissing;
  std::string bytes;
  std::string error;  // the message for kUnreadable
};

StoredFile ReadStoredFile(const std::filesystem::path& path);

// Why a write failed, in the program's words ("нет места на диске").
std::string WriteFailureReason(const std::error_code& error);

// Written to a temporary file and renamed over the old one; the message when that
// failed, with the reason (the old file is then untouched), nothing when it worked.
std::optional<std::string> WriteStoredFile(const std::filesystem::path& path, std::string_view bytes);

// "Файл поврежден: <path>\n<reason>".
std::string DamagedFileMessage(const std::filesystem::path& path, std::string_view reason);

// The file read and decoded by `decode`; else nothing, with the message for the user
// in `message`. A missing file leaves `message` empty, as callers treat it each in
// their own way.
template <typename T>
std::optional<T> LoadStoredFile(const std::filesystem::path& path,
                                std::optional<T> (*decode)(std::string_view, std::string&),
                                std::string& message) {
  const StoredFile file = ReadStoredFile(path);
  if (file.status != StoredFile::Status::kRead) {
    message = file.error;
    return std::nullopt;
  }
  std::string reason;
  std::optional<T> value = decode(file.bytes, reason);
  if (!value) message = DamagedFileMessage(path, reason);
  return value;
}

// The file decoded into `value`. A missing file leaves `value` as it is; a damaged or
// unreadable one leaves it too and adds its message.
template <typename T>
void LoadStoredFileInto(const std::filesystem::path& path,
                        std::optional<T> (*decode)(std::string_view, std::string&), T& value,
                        std::vector<std::string>& messages) {
  std::string message;
  if (auto loaded = LoadStoredFile(path, decode, message)) {
    value = std::move(*loaded);
  } else if (!message.empty()) {
    messages.push_back(std::move(message));
  }
}

// Each file written as WriteStoredFile writes it; the messages of those that failed.
std::vector<std::string> WriteStoredFiles(
    const std::vector<std::pair<std::filesystem::path, std::string>>& files);

}  // namespace kelvara::app
