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

}  // namespace kelvara::app
