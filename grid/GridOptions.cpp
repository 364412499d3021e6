#include "grid/GridOptions.h"

#include <fstream>
#include <iostream>

#include "dataframework/bridge/OdbcDataBridge.h"
#include "db/Connection.h"
#include "db/DBManagerClass.h"
#include "db/Vesquin.h"
#include "grid/GridDocument.h"

namespace grid {

const char* const GridUsage =
    "usage: clavira-grid [--table NAME] [--group COLUMNS] [--filter CRITERIA-TEXT]\n"
    "                    [--subtotals] [--grand-total] [--export FILE|-] [--translations]\n";

TGridOptions ParseGridOptions(const std::vector<std::string>& Args) {
  TGridOptions options;
  auto value = [&](size_t& i) -> std::string {
    if (i + 1 >= Args.size()) throw EGridError(Args[i] + " needs a value");
    return Args[++i];
  };
  for (size_t i = 0; i < Args.size(); ++i) {
    const std::string& a = Args[i];
    if (a == "--table") {
      options.Table = value(i);
    } else if (a == "--group") {
      const std::string list = value(i);
      size_t at = 0;
      while (at <= list.size()) {
        size_t end = list.find(',', at);
        if (end == std::string::npos) end = list.size();
        if (end > at) options.Group.push_back(list.substr(at, end - at));
        at = end + 1;
      }
    } else if (a == "--filter") {
      options.Filter = value(i);
    } else if (a == "--subtotals") {
      options.Subtotals = true;
    } else if (a == "--grand-total") {
      options.GrandTotal = true;
    } else if (a == "--export") {
      options.Export = true;
      options.ExportFile = value(i);
    } else if (a == "--translations") {
      options.Translations = true;
    } else if (a == "-h" || a == "--help") {
      options.Help = true;
    } else {
      throw EGridError("unknown option " + a);
    }
  }
  if (options.Export && options.Table.empty()) throw EGridError("--export needs --table");
  return options;
}

std::unique_ptr<dataframework::bridge::TDbDataBridge> ConnectConfiguredDatabase() {
  db::CheckConfigurationReadable();
  const std::string problem = db::ConfigurationProblem();
  if (!problem.empty()) throw EGridError(problem);
  // The manager builds the engine's ODBC string and proves it connects.
  db::TDBManager manager;
  manager.OpenConnection(db::LoadDirectConnection(), db::LoadEngine());
  const db::TCustomConnection* connection = manager.Connection();
  if (connection == nullptr) throw EGridError("No database connection");
  return std::make_unique<dataframework::bridge::TOdbcDataBridge>(
      nullptr, connection->ConnectionString(), connection->Secret());
}

int RunExport(const TGridOptions& Options, dataframework::bridge::TDbDataBridge& Bridge,
              std::ostream& Out, std::ostream& Err) {
  try {
    TGridDocument document(Bridge);
    document.SetFilterText(Options.Filter);
    document.Open(Options.Table);
    document.SetGrandTotal(Options.GrandTotal);
    document.SetGroupColumns(Options.Group);
    if (Options.ExportFile == "-") {
      document.ExportCsv(Out, Options.Subtotals);
      Out.flush();
      if (!Out) throw EGridError("Cannot write to standard output");
    } else {
      std::ofstream file(Options.ExportFile, std::ios::binary | std::ios::trunc);
      if (!file) throw EGridError("Cannot write " + Options.ExportFile);
      document.ExportCsv(file, Options.Subtotals);
      file.close();
      if (!file) throw EGridError("Cannot write " + Options.ExportFile);
    }
    return 0;
  } catch (const std::exception& e) {
    Err << "clavira-grid: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace grid
