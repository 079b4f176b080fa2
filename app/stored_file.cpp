#include "app/stored_file.h"

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
    file.error = std::string(kCannotOpenFile) + path.string();
    return file;
  }
  file.status = StoredFile::Status::kRead;
  file.bytes = std::move(*bytes);
  return file;
}

std::optional<std::string> WriteStoredFile(const std::filesystem::path& path, std::string_view bytes) {
  std::error_code error;
  if (platform::WriteFileAtomically(path, bytes, error)) return std::nullopt;
  return std::string(kCannotWriteFile) + path.string();
}

std::string DamagedFileMessage(const std::filesystem::path& path, std::string_view reason) {
  return std::string(kDamagedFile) + path.string() + "\n" + std::string(reason);
}

}  // namespace kelvara::app
