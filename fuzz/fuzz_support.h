// What the harnesses share: the input as bytes, a scratch folder of the process for the
// readers that take a path, and the check that ends the run when a reader breaks its word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace kelvara::fuzz {

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A broken promise of a reader is a finding like a crash: abort, so libFuzzer keeps the input.
inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}

// One folder per process, since libFuzzer's -jobs run several. It is not made the current
// directory: libFuzzer reads and writes the corpus by the paths it was given.
class ScratchFolder {
 public:
  ScratchFolder()
      : path_(std::filesystem::temp_directory_path() / ("kelvara_fuzz_" + std::to_string(getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline const std::filesystem::path& ScratchPath() {
  static const ScratchFolder folder;
  return folder.path();
}

inline std::filesystem::path WriteScratchFile(const std::string& name, std::string_view bytes) {
  const std::filesystem::path path = ScratchPath() / name;
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// A decoder that refuses must say why; one that accepts must read back what its encoder
// writes of the result. Encodings are compared, not values, since NaN never equals itself.
template <typename Decode, typename Encode>
void CheckCodec(std::string_view bytes, Decode decode, Encode encode) {
  std::string error;
  const auto value = decode(bytes, error);
  if (!value) {
    Require(!error.empty(), "a refused file without a reason");
    return;
  }
  const std::string written = encode(*value);
  std::string againError;
  const auto again = decode(written, againError);
  Require(again.has_value(), "the encoder's own bytes refused");
  Require(encode(*again) == written, "a value changed on its way through the file");
}

}  // namespace kelvara::fuzz
