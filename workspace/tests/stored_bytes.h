// Helpers for the tests of stored file forms: damaged copies of a file from a fixed
// seed and little-endian fields written into or read from a byte string.
#pragma once

#include <cstdint>
#include <cstring>
#include <random>
#include <string>

namespace kelvara::workspace::testing {

inline constexpr int kMutationRounds = 500;

// Random byte changes, cuts, insertions and 0xFF runs (huge or negative numbers).
inline std::string Mutate(std::string bytes, std::mt19937& random) {
  const int edits = 1 + static_cast<int>(random() % 6);
  for (int i = 0; i < edits && !bytes.empty(); ++i) {
    const std::size_t at = random() % bytes.size();
    switch (random() % 4) {
      case 0: bytes[at] = static_cast<char>(random() & 0xFF); break;
      case 1: bytes.resize(at); break;
      case 2: bytes.insert(at, 1, static_cast<char>(random() & 0xFF)); break;
      default: bytes.replace(at, 4, 4, static_cast<char>(0xFF)); break;
    }
  }
  return bytes;
}

template <typename T>
T ReadAt(const std::string& bytes, std::size_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

template <typename T>
void WriteAt(std::string& bytes, std::size_t offset, T value) {
  std::memcpy(bytes.data() + offset, &value, sizeof(T));
}

// A copy of bytes with one field overwritten: a file damaged in one known place.
template <typename T>
std::string WithFieldAt(std::string bytes, std::size_t offset, T value) {
  WriteAt(bytes, offset, value);
  return bytes;
}

}  // namespace kelvara::workspace::testing
