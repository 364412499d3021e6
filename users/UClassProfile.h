// A user's profile: its code and description, as the user catalogue loads it.
//
// Owns nothing but its text.
#pragma once

#include <cstdint>
#include <string>

namespace users {

class TProfile {
 public:
  TProfile() = default;

  int32_t GetCodPerfil() const { return FCodPerfil; }
  const std::string& GetDesPerfil() const { return FDesPerfil; }
  void SetCodPerfil(int32_t value) { FCodPerfil = value; }
  void SetDesPerfil(const std::string& value) { FDesPerfil = value; }

 private:
  int32_t FCodPerfil = 0;
  std::string FDesPerfil;
};

}  // namespace users
