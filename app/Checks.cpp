#include "app/Checks.h"

#include "login/DirectoryBind.h"
#include "login/SystemLogon.h"
#include "platform/Conversions.h"

namespace app {

std::string DirectoryCheck(const std::string& Account, const std::string& Password,
                           const std::string& Path, const std::string& SecurityText,
                           std::string* Diagnostic) {
  const int32_t security = platform::StrToInt(SecurityText);
  return login::DirectoryLogin(Account, Password, Path, security, Diagnostic) ? kDirectorySuccess
                                                                              : kDirectoryFailure;
}

std::string SystemCheck(const std::string& Name, const std::string& Domain,
                        const std::string& Password, std::string* Diagnostic) {
  return login::SystemLogon(Name, Domain, Password, Diagnostic) ? kSystemSuccess : kSystemFailure;
}

}  // namespace app
