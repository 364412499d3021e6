#include "db/SqlServerAccess.h"

#include "platform/TextUtils.h"

namespace db {
std::string TMSConnection::ConnectionString() const {
  using odbc::QuoteValue;
  std::string s =
      odbc::DriverAttribute(odbc::DriverFromEnvironment("CLAVIRA_ODBC_SQLSERVER", "FreeTDS"));
  // "host,port" names a port of its own.
  size_t comma = FServer.find(',');
  if (comma == std::string::npos) {
    s += ";SERVER=" + QuoteValue(platform::Trim(FServer));
  } else {
    s += ";SERVER=" + QuoteValue(platform::Trim(FServer.substr(0, comma)));
    s += ";PORT=" + QuoteValue(platform::Trim(FServer.substr(comma + 1)));
  }
  s += ";DATABASE=" + QuoteValue(FDatabase);
  s += ";UID=" + QuoteValue(FUsername) + ";PWD=" + QuoteValue(FPassword);
  return s;
}

TParam* TMSStoredProc::FindParam(const std::string& name) {
  if (!name.empty() && name[0] == '@') return Params().FindParam(name.substr(1));
  return Params().FindParam(name);
}

std::string TMSStoredProc::EngineParamName(const std::string& catalogName) const {
  if (!catalogName.empty() && catalogName[0] == '@') return catalogName.substr(1);
  return catalogName;
}

}  // namespace db
