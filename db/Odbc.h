// Shared ODBC (unixODBC) plumbing: handle ownership, diagnostics turned into
// EDatabaseError, connection-string quoting and driver selection.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <string_view>

#include "db/Errors.h"

namespace db::odbc {

// Owns one ODBC handle and frees it on destruction.
class THandle {
 public:
  THandle() = default;
  THandle(SQLSMALLINT type, SQLHANDLE handle) : FType(type), FHandle(handle) {}
  ~THandle() { Reset(); }
  THandle(THandle&& o) noexcept : FType(o.FType), FHandle(o.FHandle) {
    o.FHandle = SQL_NULL_HANDLE;
  }
  THandle& operator=(THandle&& o) noexcept;
  THandle(const THandle&) = delete;
  THandle& operator=(const THandle&) = delete;

  SQLHANDLE Get() const { return FHandle; }
  SQLSMALLINT Type() const { return FType; }
  bool Valid() const { return FHandle != SQL_NULL_HANDLE; }
  void Reset();

 private:
  SQLSMALLINT FType = 0;
  SQLHANDLE FHandle = SQL_NULL_HANDLE;
};

// The process-wide ODBC 3 environment.
SQLHENV Environment();

// Allocates a handle of `type` under `parent`.
THandle Allocate(SQLSMALLINT type, SQLHANDLE parent);

// The diagnostic records of a handle as one text ("[SQLSTATE] message; ...").
// `secret` (when not empty) is masked by MaskSecret.
std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle, std::string* sqlState = nullptr,
                        int* nativeError = nullptr, std::string_view secret = {});

// Text with every place where `secret` stands as a value replaced by "***":
// an occurrence (as it is, or braced with "}" doubled, as connection strings
// carry it) that does not run on into a letter, digit or "_" on either side
// ("PWD=pw;", "password \"pw\"", "{pw}"). Occurrences inside longer words
// are words, not the secret ("e" in "connection" stays).
std::string MaskSecret(std::string text, std::string_view secret);

// Raises EDatabaseError with `context` and the handle's diagnostics unless rc
// is SQL_SUCCESS, SQL_SUCCESS_WITH_INFO or SQL_NO_DATA.
void Check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, std::string_view context,
           std::string_view secret = {});

// A connection-string value quoted by ODBC's rules: a value holding any of
// ";{}[](),=?*!@" or edge blanks is braced, "}" doubled ({p;w}}d}); any other
// value goes as it is.
std::string QuoteValue(std::string_view value);

// "DRIVER=..." for an odbcinst.ini name or a driver path, quoted.
std::string DriverAttribute(std::string_view driver);

// The driver named by the environment variable, or the default.
std::string DriverFromEnvironment(const char* variable, const char* fallback);

}  // namespace db::odbc
