#include "db/Odbc.h"

#include <cctype>
#include <cstdlib>
#include <mutex>

namespace db::odbc {

THandle& THandle::operator=(THandle&& o) noexcept {
  if (this != &o) {
    Reset();
    FType = o.FType;
    FHandle = o.FHandle;
    o.FHandle = SQL_NULL_HANDLE;
  }
  return *this;
}

void THandle::Reset() {
  if (FHandle != SQL_NULL_HANDLE) {
    if (FType == SQL_HANDLE_DBC) SQLDisconnect(FHandle);
    SQLFreeHandle(FType, FHandle);
    FHandle = SQL_NULL_HANDLE;
  }
}

SQLHENV Environment() {
  static THandle env;
  static std::once_flag once;
  std::call_once(once, [] {
    SQLHANDLE h = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h)))
      throw EDatabaseError("Cannot allocate the ODBC environment");
    env = THandle(SQL_HANDLE_ENV, h);
    SQLSetEnvAttr(h, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  });
  return env.Get();
}

THandle Allocate(SQLSMALLINT type, SQLHANDLE parent) {
  SQLHANDLE h = SQL_NULL_HANDLE;
  SQLRETURN rc = SQLAllocHandle(type, parent, &h);
  if (!SQL_SUCCEEDED(rc)) {
    SQLSMALLINT parentType = type == SQL_HANDLE_DBC ? SQL_HANDLE_ENV : SQL_HANDLE_DBC;
    throw EDatabaseError("Cannot allocate an ODBC handle: " + Diagnostics(parentType, parent));
  }
  return THandle(type, h);
}

std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle, std::string* sqlState, int* nativeError,
                        std::string_view secret) {
  std::string text;
  for (SQLSMALLINT i = 1;; ++i) {
    SQLCHAR state[6] = {0};
    SQLINTEGER native = 0;
    SQLCHAR message[SQL_MAX_MESSAGE_LENGTH + 1] = {0};
    SQLSMALLINT length = 0;
    SQLRETURN rc = SQLGetDiagRec(type, handle, i, state, &native, message, sizeof message, &length);
    if (!SQL_SUCCEEDED(rc)) break;
    if (i == 1) {
      if (sqlState) *sqlState = reinterpret_cast<char*>(state);
      if (nativeError) *nativeError = native;
    }
    if (!text.empty()) text += "; ";
    text += "[";
    text += reinterpret_cast<char*>(state);
    text += "] ";
    text += reinterpret_cast<char*>(message);
  }
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return MaskSecret(std::move(text), secret);
}

namespace {

bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Replaces the occurrences of `form` that stand alone.
void MaskForm(std::string& text, const std::string& form) {
  if (form.empty()) return;
  const bool wordStart = IsWordChar(form.front());
  const bool wordEnd = IsWordChar(form.back());
  for (size_t at = text.find(form); at != std::string::npos;) {
    const size_t end = at + form.size();
    const bool alone = (!wordStart || at == 0 || !IsWordChar(text[at - 1])) &&
                       (!wordEnd || end == text.size() || !IsWordChar(text[end]));
    if (alone) {
      text.replace(at, form.size(), "***");
      at = text.find(form, at + 3);
    } else {
      at = text.find(form, at + 1);
    }
  }
}

}  // namespace

std::string MaskSecret(std::string text, std::string_view secret) {
  if (secret.empty()) return text;
  std::string braced;  // as QuoteValue writes it inside braces
  for (char c : secret) {
    braced += c;
    if (c == '}') braced += '}';
  }
  if (braced != secret) MaskForm(text, braced);
  MaskForm(text, std::string(secret));
  return text;
}

void Check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, std::string_view context,
           std::string_view secret) {
  if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO || rc == SQL_NO_DATA) return;
  std::string state;
  int native = 0;
  std::string diag = Diagnostics(type, handle, &state, &native, secret);
  std::string message(context);
  if (!diag.empty()) message += (message.empty() ? "" : ": ") + diag;
  if (message.empty()) message = "ODBC call failed";
  throw EDatabaseError(message, state, native);
}

std::string QuoteValue(std::string_view value) {
  // Plain values go as they are: some drivers keep braces around values
  // other than the password.
  bool plain = value.find_first_of(";{}[](),=?*!@") == std::string_view::npos &&
               (value.empty() || (value.front() != ' ' && value.back() != ' '));
  if (plain) return std::string(value);
  std::string out = "{";
  for (char c : value) {
    out += c;
    if (c == '}') out += '}';
  }
  out += '}';
  return out;
}

std::string DriverAttribute(std::string_view driver) {
  return "DRIVER=" + QuoteValue(driver);
}

std::string DriverFromEnvironment(const char* variable, const char* fallback) {
  const char* v = std::getenv(variable);
  return v && *v ? v : fallback;
}

}  // namespace db::odbc
