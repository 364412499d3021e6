// Runs the database manager's connection-string parsing over arbitrary text:
// the SQL Server split and key parse, the Oracle split with its list error,
// the direct-mode test and the ODBC connection strings built from the parts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "db/DBManagerClass.h"
#include "db/OracleAccess.h"
#include "db/SqlServerAccess.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  std::vector<std::string> items;
  db::SplitByPattern("[^\\;]*", text, items);
  for (const auto& item : items)
    if (item.empty() || item.find(';') != std::string::npos) __builtin_trap();
  db::TOleDbConnection ole = db::ParseOleDbConnection(items);
  db::TMSConnection connection;
  connection.SetServer(ole.Server);
  connection.SetUsername(ole.User);
  connection.SetPassword(ole.Password);
  connection.SetDatabase(ole.Database);
  (void)connection.ConnectionString();

  items.clear();
  db::SplitByPattern("[^/@]*", text, items);
  try {
    db::TOracleConnection ora = db::ParseOracleConnection(items);
    std::vector<std::string> parts;
    db::SplitByPattern("[^:]*:[^:]*:[^:]*", ora.Server, parts);
    db::TOraSession session;
    session.SetUsername(ora.User);
    session.SetPassword(ora.Password);
    session.SetServer(ora.Server);
    session.SetDirect(!parts.empty());
    (void)session.ConnectionString();
  } catch (const platform::EListError&) {
    if (items.size() >= 3) __builtin_trap();
  }

  std::string word;
  for (int n = 1; n <= 3; ++n) db::ExtractWord(n, text, "=", '*', word);
  return 0;
}
