// The two aspect-table files under the data-file prefix ("asp1.", "asp2."); the tables
// themselves and their file form live in the chart workspace.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "workspace/aspect_tables.h"

namespace kelvara::app {

inline constexpr std::string_view kAspectTable1File = "asp1.";
inline constexpr std::string_view kAspectTable2File = "asp2.";

using workspace::AspectRecord;
using workspace::AspectTable;
using workspace::AspectTables;
using workspace::DecodeAspectTable;
using workspace::DefaultSingleChartAspects;
using workspace::DefaultTwoChartAspects;
using workspace::EncodeAspectTable;
using workspace::kAspectCount;
using workspace::kOrbSlotCount;
using workspace::kPenDashes;
using workspace::kPenDots;
using workspace::kPenSolid;
using workspace::OrbArray;
using workspace::OrbOfSlot;
using workspace::PenStyle;

// Table 1 from "asp1.", then table 2 from "asp2." over its defaults. A missing file
// leaves its table at the defaults; a damaged one does too and adds a message.
std::vector<std::string> LoadAspectTables(const std::string& dataPrefix, AspectTables& tables);

// Both files, each written to a temporary file and renamed; the messages of the
// files that could not be written.
std::vector<std::string> SaveAspectTables(const std::string& dataPrefix, const AspectTables& tables);

}  // namespace kelvara::app
