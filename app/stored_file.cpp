#include "app/stored_file.h"

#include <cerrno>

#include "app/messages.h"
#include "platform/file_io.h"

namespace kelvara::app {

StoredFile ReadStoredFile(const std::filesystem::path& path) {
  StoredFile file;
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return file;
  auto bytes = platform::ReadFileBytes(path, error);
  if (!bytes) {
    file.status = StoredFile::Status::kUnreadable;
    file.error = error == std::errc::file_too_large ? DamagedFileMessage(path, kReasonTooLarge)
                                                    : std::string(kCannotOpenFile) + path.string();
    return file;
  }
  file.status = StoredFile::Status::kRead;
  file.bytes = std::move(*bytes);
  return file;
}

std::string WriteFailureReason(const std::error_code& error) {
  switch (error.value()) {
    case ENOSPC:
    case EDQUOT: return kWriteNoSpace;
    case EFBIG: return kWriteTooLarge;
    case EACCES:
    case EPERM: return kWriteNoAccess;
    case EROFS: return kWriteReadOnly;
    case ENOENT:
    case ENOTDIR: return kWriteNoFolder;
    default: return error.message();
  }
}

std::optional<std::string> WriteStoredFile(const std::filesystem::path& path, std::string_view bytes) {
  std::error_code error;
  if (platform::WriteFileAtomically(path, bytes, error)) return std::nullopt;
  return std::string(kCannotWriteFile) + path.string() + ": " + WriteFailureReason(error);
}

std::vector<std::string> WriteStoredFiles(
    const std::vector<std::pair<std::filesystem::path, std::string>>& files) {
  std::vector<std::string> messages;
  for (const auto& [path, bytes] : files) {
    if (auto failure = WriteStoredFile(path, bytes)) messages.push_back(std::move(*failure));
  }
  return messages;
}

std::string DamagedFileMessage(const std::filesystem::path& path, std::string_view reason) {
  return std::string(kDamagedFile) + path.string() + "\n" + std::string(reason);
}

}  // namespace kelvara::app
