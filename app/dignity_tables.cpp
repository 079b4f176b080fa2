#include "app/dignity_tables.h"

#include <filesystem>

#include "app/stored_file.h"

namespace kelvara::app {
namespace {

std::filesystem::path DignityPath(const std::string& dataPrefix) {
  return dataPrefix + std::string(kDignityFile);
}

}  // namespace

DignityLoad LoadDignityTables(const std::string& dataPrefix, Tradition tradition) {
  DignityLoad load{DefaultDignityTables(tradition), {}};
  if (auto stored = LoadStoredFile(DignityPath(dataPrefix), DecodeDignityTables, load.message)) {
    load.tables = *stored;
  }
  return load;
}

std::optional<std::string> SaveDignityTables(const std::string& dataPrefix, const DignityTables& tables) {
  return WriteStoredFile(DignityPath(dataPrefix), EncodeDignityTables(tables));
}

std::optional<std::string> RemoveDignityTables(const std::string& dataPrefix) {
  const std::filesystem::path path = DignityPath(dataPrefix);
  std::error_code error;
  std::filesystem::remove(path, error);
  if (!error) return std::nullopt;
  return std::string(kCannotRemoveFile) + path.string() + ": " + WriteFailureReason(error);
}

}  // namespace kelvara::app
