// TDBManager owns the program's single database connection and makes stored
// procedure objects for the configured engine ("SQL" or "ORACLE", exact case).
//
// One instance per process through DBManager() (created on first use);
// FreeDBManager() destroys it and its connection, so that a later DBManager()
// makes a fresh one. Not thread-safe: one caller at a time.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/MyStoredProc.h"

namespace db {

class TDBManager {
 public:
  TDBManager() = default;
  ~TDBManager();
  TDBManager(const TDBManager&) = delete;
  TDBManager& operator=(const TDBManager&) = delete;

  // Stores the engine and the language (LoadIdioma), takes the connection
  // string apart and connects. Connection errors (EDatabaseError) pass to the
  // caller; the unconnected connection object stays. An Oracle string of fewer
  // than three parts fails with platform::EListError before any session is made.
  void OpenConnection(const std::string& ConnectionString, const std::string& Engine);

  // A new stored procedure object, owned by the caller, its parameter list
  // already describing the procedure: TMySqlStoredProc when the engine is
  // exactly "SQL", TMyOracleStoredProc otherwise.
  std::unique_ptr<TMyStoredProc> CreateStoredProc(const std::string& ProcName);

  std::string GetLanguage() const { return FLanguage; }
  const std::string& Engine() const { return FEngine; }
  // The connection object (owned), or nullptr before OpenConnection made one.
  TCustomConnection* Connection() const { return FConnection.get(); }

 private:
  std::string FEngine;
  std::string FLanguage;
  std::unique_ptr<TCustomConnection> FConnection;
};

// The process-wide manager, created on first use.
TDBManager* DBManager();
// Destroys the process-wide manager (if any) and its connection.
void FreeDBManager();

// Appends to Items every non-empty match of Pattern in Text, left to right,
// case-insensitively; the search resumes after each match. Patterns are a
// small regular-expression subset: literals, ".", "\" escapes, bracket
// classes ("[^/@]", ranges), and the quantifiers "*", "+", "?". Other syntax
// fails with platform::Exception "Invalid pattern".
void SplitByPattern(const std::string& Pattern, const std::string& Text,
                    std::vector<std::string>& Items);

// The N-th word (from 1) of Text, words separated by runs of Delimiters;
// Quote toggles a quoted state in which delimiters belong to the word (quotes
// are kept). Returns false, leaving Word as it was, when there is no N-th word.
bool ExtractWord(int N, const std::string& Text, const std::string& Delimiters, char Quote,
                 std::string& Word);

// The four values of a SQL Server connection string's items.
struct TOleDbConnection {
  std::string User;
  std::string Password;
  std::string Server;
  std::string Database;
};
TOleDbConnection ParseOleDbConnection(const std::vector<std::string>& Items);

// user := Items[0], password := Items[1], server := Items[2]; fewer items fail
// with platform::EListError "List index out of bounds (%d)" holding the missing index.
struct TOracleConnection {
  std::string User;
  std::string Password;
  std::string Server;
};
TOracleConnection ParseOracleConnection(const std::vector<std::string>& Items);

}  // namespace db
