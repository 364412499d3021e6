// The user catalogue: loads one user's full record from the application
// database through the stored procedure "PRC_USERS".
//
// One instance per process, reached through UsersCatalogue(); it lives until
// exit. The catalogue keeps the stored procedure object of the last load
// (which owns that load's result set) until the next load replaces it; the
// caller owns every TUser that LoadUser returns.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "db/MyStoredProc.h"
#include "users/UClassUsers.h"

namespace users {

// Language number of a language text: "Esp" 1, "Ing" 2, "Por" 3 (exact,
// case-sensitive); nothing for any other text.
std::optional<int32_t> LanguageCode(const std::string& Text);

class TUsersCatalogue {
 public:
  TUsersCatalogue() = default;
  TUsersCatalogue(const TUsersCatalogue&) = delete;
  TUsersCatalogue& operator=(const TUsersCatalogue&) = delete;

  // The record of user UserCode in the database manager's language, or null
  // when the procedure returns no row. Database errors, a missing column
  // ("Field '%s' not found") and conversion errors pass to the caller.
  std::unique_ptr<TUser> LoadUser(int32_t UserCode);

  // Releases the last load's stored procedure object and result set, e.g.
  // before the database manager's connection goes away.
  void Clear();

 private:
  std::unique_ptr<db::TMyStoredProc> FStoredProc;
  db::TDataSet* FResultSet = nullptr;  // owned by FStoredProc
};

// The process-wide catalogue, made on first use.
TUsersCatalogue& UsersCatalogue();

}  // namespace users
