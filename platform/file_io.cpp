#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>

namespace kelvara::platform {
namespace {

std::error_code LastSystemError() { return {errno, std::generic_category()}; }

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(std::size_t(written));
  }
  return true;
}

}  // namespace

FileHandle OpenRegularFile(const std::filesystem::path& path, std::error_code& error) {
  error.clear();
  FileHandle none(nullptr, std::fclose);
  // Without O_NONBLOCK the open of a FIFO waits for a writer that never comes.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = LastSystemError();
    return none;
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    error = S_ISDIR(status.st_mode) ? std::make_error_code(std::errc::is_a_directory)
                                    : std::make_error_code(std::errc::not_supported);
    ::close(fd);
    return none;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  FileHandle file(::fdopen(fd, "rb"), std::fclose);
  if (!file) {
    error = LastSystemError();
    ::close(fd);
  }
  return file;
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path, std::error_code& error,
                                         std::uintmax_t limit) {
  const FileHandle file = OpenRegularFile(path, error);
  if (!file) return std::nullopt;
  struct stat status {};
  ::fstat(::fileno(file.get()), &status);
  const auto size = static_cast<std::uintmax_t>(status.st_size);
  if (size > limit) {
    error = std::make_error_code(std::errc::file_too_large);
    return std::nullopt;
  }
  std::string bytes(std::size_t(size), '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
  if (std::ferror(file.get())) {
    error = std::make_error_code(std::errc::io_error);
    return std::nullopt;
  }
  return bytes;
}

namespace {

constexpr std::string_view kSaveScratchPrefix = ".kelvara-save-";
constexpr int kMostLinksFollowed = 40;
// A save still running in another process is younger than this; older scratch files were
// left by a save that was killed.
constexpr auto kStaleScratchAge = std::chrono::minutes(10);

// The file a save replaces: a symbolic link is followed to its target, so the link stays
// and the chart it points to is the one updated.
std::filesystem::path SaveTarget(std::filesystem::path path) {
  std::error_code error;
  for (int i = 0; i < kMostLinksFollowed && std::filesystem::is_symlink(path, error); ++i) {
    const std::filesystem::path link = std::filesystem::read_symlink(path, error);
    if (error) break;
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  return path;
}

void RemoveStaleScratchFiles(const std::filesystem::path& folder) {
  std::error_code error;
  const auto now = std::filesystem::file_time_type::clock::now();
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (!entry.path().filename().string().starts_with(kSaveScratchPrefix)) continue;
    std::error_code ignored;
    if (!entry.is_regular_file(ignored) || now - entry.last_write_time(ignored) < kStaleScratchAge) continue;
    std::filesystem::remove(entry.path(), ignored);
  }
}

// The rename itself reaches the disk only when the folder is synced too.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Beyond the file-size limit the write is to fail with EFBIG, not to end the program.
void IgnoreFileSizeSignal() {
  static const bool ignored = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
  static_cast<void>(ignored);
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& requested, std::string_view bytes, std::error_code& error) {
  error.clear();
  IgnoreFileSizeSignal();
  const std::filesystem::path path = SaveTarget(requested);
  // A short fixed name, so that a target name of the full 255 bytes still leaves room.
  const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
  RemoveStaleScratchFiles(folder);
  std::string scratch = (folder / (std::string(kSaveScratchPrefix) + "XXXXXX")).string();
  const int fd = ::mkstemp(scratch.data());
  if (fd < 0) {
    error = LastSystemError();
    return false;
  }
  // mkstemp makes the file private to the user; a replaced file keeps its own mode,
  // a new one gets the usual one. Other hard links of a replaced file keep the old bytes.
  struct stat existing {};
  ::fchmod(fd, ::stat(path.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644);
  const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  if (!written) error = LastSystemError();
  if (::close(fd) != 0 && written) error = LastSystemError();
  if (!error && std::rename(scratch.c_str(), path.c_str()) != 0) error = LastSystemError();
  if (error) {
    ::unlink(scratch.c_str());
    return false;
  }
  SyncFolder(folder);
  return true;
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path, std::uintmax_t limit) {
  std::error_code ignored;
  return ReadFileBytes(path, ignored, limit);
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  std::error_code ignored;
  return WriteFileAtomically(path, bytes, ignored);
}

}  // namespace kelvara::platform
