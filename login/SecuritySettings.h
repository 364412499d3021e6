// The security settings lookup: reads one numbered settings record of the
// application database into the login service's state.
#pragma once

#include <cstdint>
#include <string>

namespace login {

// Reads settings record SettingsId through "PRC_VKT_AUTHENTICATION" (option
// "E"). On entry AccountName holds the typed name. All three columns null (or
// no row): AccountName and Path become empty, Security -1. Otherwise
// AccountName becomes "USER_STRING" filled with the typed name, Path "PATH",
// Security "SECURITY", in that order. Never raises: on any error each output
// keeps the value it had when the error struck. The opened result set becomes
// the login state's current one.
void LoadSecuritySettings(std::string& AccountName, std::string& Path, int32_t& Security,
                          int32_t SettingsId);

// Puts Name in place of every "{0}" of Pattern (the inserted text is not
// searched again). When Pattern is a distinguished name (it holds "="), Name
// is escaped as an attribute value, so that no typed name can change the
// structure of the bind name; other patterns (name@domain, DOMAIN\name) take
// it as typed.
std::string FillAccountPattern(const std::string& Pattern, const std::string& Name);

// Escapes Text for use inside an attribute value of a distinguished name.
std::string EscapeDnValue(const std::string& Text);

}  // namespace login
