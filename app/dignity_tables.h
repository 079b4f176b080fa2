// The file "upr." under the data-file prefix that holds the user's edited dignity tables;
// the tables themselves and their file form live in the chart workspace.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "workspace/dignity_tables.h"

namespace kelvara::app {

inline constexpr std::string_view kDignityFile = "upr.";

using workspace::ChainObject;
using enum workspace::ChainObject;
using workspace::DecodeDignityTables;
using workspace::DefaultDignityTables;
using workspace::DignityTable;
using workspace::DignityTables;
using workspace::EncodeDignityTables;
using workspace::kChainObjectCount;
using workspace::kSignCount;
using workspace::Tradition;

struct DignityLoad {
  DignityTables tables;
  std::string message;  // set when the file exists but could not be used
};

// The tradition's defaults, overridden by the file when it exists and is sound.
DignityLoad LoadDignityTables(const std::string& dataPrefix, Tradition tradition);
// Written to a temporary file and renamed; the message when that failed.
std::optional<std::string> SaveDignityTables(const std::string& dataPrefix, const DignityTables& tables);

inline constexpr std::string_view kCannotRemoveFile = "Не удается удалить файл ";
// Removes the file, so that each tradition reads its own defaults again; the message
// when it stays. A file that was not there is no failure.
std::optional<std::string> RemoveDignityTables(const std::string& dataPrefix);

}  // namespace kelvara::app
