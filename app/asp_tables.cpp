#include "app/asp_tables.h"

#include "app/stored_file.h"

namespace kelvara::app {

std::vector<std::string> LoadAspectTables(const std::string& dataPrefix, AspectTables& tables) {
  std::vector<std::string> messages;
  tables.single = DefaultSingleChartAspects();
  LoadStoredFileInto(dataPrefix + std::string(kAspectTable1File), DecodeAspectTable, tables.single, messages);
  tables.between = DefaultTwoChartAspects();
  LoadStoredFileInto(dataPrefix + std::string(kAspectTable2File), DecodeAspectTable, tables.between, messages);
  return messages;
}

std::vector<std::string> SaveAspectTables(const std::string& dataPrefix, const AspectTables& tables) {
  return WriteStoredFiles({{dataPrefix + std::string(kAspectTable1File), EncodeAspectTable(tables.single)},
                           {dataPrefix + std::string(kAspectTable2File), EncodeAspectTable(tables.between)}});
}

}  // namespace kelvara::app
