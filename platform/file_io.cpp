#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>

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

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path, std::error_code& error,
                                         std::uintmax_t limit) {
  error.clear();
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  if (size > limit) {
    error = std::make_error_code(std::errc::file_too_large);
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = std::make_error_code(std::errc::permission_denied);
    return std::nullopt;
  }
  std::string bytes(std::size_t(size), '\0');
  in.read(bytes.data(), std::streamsize(size));
  bytes.resize(std::size_t(in.gcount()));
  if (in.bad()) {
    error = std::make_error_code(std::errc::io_error);
    return std::nullopt;
  }
  return bytes;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::error_code& error) {
  error.clear();
  // A short fixed name, so that a target name of the full 255 bytes still leaves room.
  const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
  std::string scratch = (folder / ".kelvara-save-XXXXXX").string();
  const int fd = ::mkstemp(scratch.data());
  if (fd < 0) {
    error = LastSystemError();
    return false;
  }
  // mkstemp makes the file private to the user; a replaced file keeps its own mode,
  // a new one gets the usual one.
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
