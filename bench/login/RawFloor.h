// The floor of a login attempt: the same procedure calls made directly
// through ODBC with hand-bound parameters, and one libldap bind.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <string>

namespace bench {

class RawOdbc {
 public:
  explicit RawOdbc(const std::string& ConnectionString);
  ~RawOdbc();
  RawOdbc(const RawOdbc&) = delete;
  RawOdbc& operator=(const RawOdbc&) = delete;

  struct Settings {
    std::string Path, UserString;
    int32_t Security = -1;
    bool Any = false;
  };
  Settings LoadSettings(int32_t Id);
  // "CodUsuario" of option "B" (Password already encrypted) or "C"; 0 when no row.
  int32_t Authenticate(const char* Option, const std::string& User, const std::string* Password);
  // Reads every column of the user's row as text; the number of columns read.
  int LoadUser(int32_t Code, int32_t Language);

 private:
  SQLHENV FEnv = SQL_NULL_HENV;
  SQLHDBC FDbc = SQL_NULL_HDBC;
};

// One simple bind on ldap://HostPort with time-outs, as a directory check makes.
bool RawLdapBind(const std::string& HostPort, const std::string& Dn, const std::string& Password);

}  // namespace bench
