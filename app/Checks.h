// The window's two checks that need no database, as plain functions, so that
// the window and the command-line twin give the same answers.
//
// Each returns the message the window shows. Diagnostic, when given,
// receives why a check failed (never the password).
#pragma once

#include <string>

namespace app {

inline constexpr char kDirectorySuccess[] = "autenticado con exito";
inline constexpr char kDirectoryFailure[] = "autenticacion fallida";
inline constexpr char kSystemSuccess[] = "Exitoso";
inline constexpr char kSystemFailure[] = "Fallido";

// SecurityText is read by platform::StrToInt first: a text that is not an
// integer raises platform::EConvertError before any bind.
std::string DirectoryCheck(const std::string& Account, const std::string& Password,
                           const std::string& Path, const std::string& SecurityText,
                           std::string* Diagnostic = nullptr);

std::string SystemCheck(const std::string& Name, const std::string& Domain,
                        const std::string& Password, std::string* Diagnostic = nullptr);

}  // namespace app
