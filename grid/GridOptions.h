// The command line of clavira-grid and its headless export.
//
//   clavira-grid [--table NAME] [--group COLUMNS] [--filter CRITERIA-TEXT]
//                [--subtotals] [--grand-total] [--export FILE|-] [--translations]
//
// With --export the program opens no window: it loads the table (through
// the filter), groups it by COLUMNS (comma-separated leading key columns),
// writes it as CSV (with the group rows when --subtotals) to FILE or to
// standard output, and ends. Errors (unknown table or column, a filter that
// does not parse, no database) are one line on standard error and exit
// code 1; a bad command line exit code 2.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "dataframework/bridge/DbDataBridge.h"

namespace grid {

struct TGridOptions {
  std::string Table;
  std::vector<std::string> Group;
  std::string Filter;
  bool Subtotals = false;
  bool GrandTotal = false;
  bool Export = false;
  std::string ExportFile;  // "-": standard output
  bool Translations = false;
  bool Help = false;
};

// Raises EGridError for an unknown option or a missing value.
TGridOptions ParseGridOptions(const std::vector<std::string>& Args);
extern const char* const GridUsage;

// The bridge over the database the shared runtime library configures (its
// engine and connection string, reached over ODBC). Raises EGridError with
// what is wrong with the configuration, or the driver's error.
std::unique_ptr<dataframework::bridge::TDbDataBridge> ConnectConfiguredDatabase();

// The headless run over Bridge; answers the exit code. Err gets the errors.
int RunExport(const TGridOptions& Options, dataframework::bridge::TDbDataBridge& Bridge,
              std::ostream& Out, std::ostream& Err);

}  // namespace grid
