// One application user as the user catalogue loads it: identity, profile,
// contact data, organisation, roles and status.
//
// A TUser owns its profile, its superior's record (JefeInm, in which only
// CodUsuario and UName are filled), its ten lookups and the caller's extra
// object (Data); setters of those fields take over ownership, getters hand
// out non-owning pointers (null when not set). The login service reads only
// the active flag.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "users/UClassProfile.h"
#include "users/UClassReferenceLookUp.h"

namespace users {

// Days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;

// Marks a date that is not set; it lies before 1 January of year 1.
inline constexpr TDateTime kNoDate = -700000.0;

// Base of an object a caller hangs on a user record; the record owns it.
class TUserData {
 public:
  virtual ~TUserData() = default;
};

class TUser {
 public:
  TUser() = default;
  ~TUser();
  TUser(const TUser&) = delete;
  TUser& operator=(const TUser&) = delete;

  int32_t GetCodUsuario() const { return FCodUsuario; }
  void SetCodUsuario(int32_t value) { FCodUsuario = value; }
  const std::string& GetUName() const { return FUName; }
  void SetUName(const std::string& value) { FUName = value; }
  const std::string& GetUserName() const { return FUserName; }
  void SetUserName(const std::string& value) { FUserName = value; }
  TProfile* GetProfile() const { return FProfile.get(); }
  void SetProfile(std::unique_ptr<TProfile> value) { FProfile = std::move(value); }
  const std::string& GetClave() const { return FClave; }
  void SetClave(const std::string& value) { FClave = value; }
  TDateTime GetFecExpiracion() const { return FFecExpiracion; }
  void SetFecExpiracion(TDateTime value) { FFecExpiracion = value; }
  const std::string& GetAddress1() const { return FAddress1; }
  void SetAddress1(const std::string& value) { FAddress1 = value; }
  const std::string& GetAddress2() const { return FAddress2; }
  void SetAddress2(const std::string& value) { FAddress2 = value; }
  const std::string& GetAddress3() const { return FAddress3; }
  void SetAddress3(const std::string& value) { FAddress3 = value; }
  const std::string& GetPhone1() const { return FPhone1; }
  void SetPhone1(const std::string& value) { FPhone1 = value; }
  const std::string& GetPhone2() const { return FPhone2; }
  void SetPhone2(const std::string& value) { FPhone2 = value; }
  const std::string& GetPhone3() const { return FPhone3; }
  void SetPhone3(const std::string& value) { FPhone3 = value; }
  const std::string& GetExt() const { return FExt; }
  void SetExt(const std::string& value) { FExt = value; }
  const std::string& GetFax() const { return FFax; }
  void SetFax(const std::string& value) { FFax = value; }
  const std::string& GetMobil() const { return FMobil; }
  void SetMobil(const std::string& value) { FMobil = value; }
  const std::string& GetEMail() const { return FEMail; }
  void SetEMail(const std::string& value) { FEMail = value; }
  TUser* GetJefeInm() const { return FJefeInm.get(); }
  void SetJefeInm(std::unique_ptr<TUser> value) { FJefeInm = std::move(value); }
  const std::string& GetUsuaComments() const { return FUsuaComments; }
  void SetUsuaComments(const std::string& value) { FUsuaComments = value; }
  int32_t GetULA() const { return FULA; }
  void SetULA(int32_t value) { FULA = value; }
  int32_t GetNivel() const { return FNivel; }
  void SetNivel(int32_t value) { FNivel = value; }
  int32_t GetUserActive() const { return FUserActive; }
  void SetUserActive(int32_t value) { FUserActive = value; }
  TDateTime GetUserBirthDate() const { return FUserBirthDate; }
  void SetUserBirthDate(TDateTime value) { FUserBirthDate = value; }
  const std::string& GetUserImage() const { return FUserImage; }
  void SetUserImage(const std::string& value) { FUserImage = value; }
  const std::string& GetUserLanguage() const { return FUserLanguage; }
  void SetUserLanguage(const std::string& value) { FUserLanguage = value; }
  int32_t GetProfileId() const { return FProfileId; }
  void SetProfileId(int32_t value) { FProfileId = value; }
  const std::string& GetIdentityType() const { return FIdentityType; }
  void SetIdentityType(const std::string& value) { FIdentityType = value; }
  int32_t GetRol1() const { return FRol1; }
  void SetRol1(int32_t value) { FRol1 = value; }
  int32_t GetRol2() const { return FRol2; }
  void SetRol2(int32_t value) { FRol2 = value; }
  TReferenceLookup* GetDepartment() const { return FDepartment.get(); }
  void SetDepartment(std::unique_ptr<TReferenceLookup> value) { FDepartment = std::move(value); }
  TReferenceLookup* GetNumberDep() const { return FNumberDep.get(); }
  void SetNumberDep(std::unique_ptr<TReferenceLookup> value) { FNumberDep = std::move(value); }
  TReferenceLookup* GetCountry() const { return FCountry.get(); }
  void SetCountry(std::unique_ptr<TReferenceLookup> value) { FCountry = std::move(value); }
  TReferenceLookup* GetCity() const { return FCity.get(); }
  void SetCity(std::unique_ptr<TReferenceLookup> value) { FCity = std::move(value); }
  TReferenceLookup* GetSite() const { return FSite.get(); }
  void SetSite(std::unique_ptr<TReferenceLookup> value) { FSite = std::move(value); }
  TReferenceLookup* GetBuilding() const { return FBuilding.get(); }
  void SetBuilding(std::unique_ptr<TReferenceLookup> value) { FBuilding = std::move(value); }
  TReferenceLookup* GetFloor() const { return FFloor.get(); }
  void SetFloor(std::unique_ptr<TReferenceLookup> value) { FFloor = std::move(value); }
  TReferenceLookup* GetCompany() const { return FCompany.get(); }
  void SetCompany(std::unique_ptr<TReferenceLookup> value) { FCompany = std::move(value); }
  TReferenceLookup* GetCargo() const { return FCargo.get(); }
  void SetCargo(std::unique_ptr<TReferenceLookup> value) { FCargo = std::move(value); }
  TReferenceLookup* GetUserStatus() const { return FUserStatus.get(); }
  void SetUserStatus(std::unique_ptr<TReferenceLookup> value) { FUserStatus = std::move(value); }
  TUserData* GetData() const { return FData.get(); }
  void SetData(std::unique_ptr<TUserData> value) { FData = std::move(value); }
  int32_t GetTag() const { return FTag; }
  void SetTag(int32_t value) { FTag = value; }

 private:
  int32_t FCodUsuario = 0;
  std::string FUName;
  std::string FUserName;
  std::unique_ptr<TProfile> FProfile;
  std::string FClave;
  TDateTime FFecExpiracion = kNoDate;
  std::string FAddress1;
  std::string FAddress2;
  std::string FAddress3;
  std::string FPhone1;
  std::string FPhone2;
  std::string FPhone3;
  std::string FExt;
  std::string FFax;
  std::string FMobil;
  std::string FEMail;
  std::unique_ptr<TUser> FJefeInm;
  std::string FUsuaComments;
  int32_t FULA = 0;
  int32_t FNivel = 0;
  int32_t FUserActive = 0;
  TDateTime FUserBirthDate = kNoDate;
  std::string FUserImage;
  std::string FUserLanguage;
  int32_t FProfileId = 0;
  std::string FIdentityType;
  int32_t FRol1 = 0;
  int32_t FRol2 = 0;
  std::unique_ptr<TReferenceLookup> FDepartment;
  std::unique_ptr<TReferenceLookup> FNumberDep;
  std::unique_ptr<TReferenceLookup> FCountry;
  std::unique_ptr<TReferenceLookup> FCity;
  std::unique_ptr<TReferenceLookup> FSite;
  std::unique_ptr<TReferenceLookup> FBuilding;
  std::unique_ptr<TReferenceLookup> FFloor;
  std::unique_ptr<TReferenceLookup> FCompany;
  std::unique_ptr<TReferenceLookup> FCargo;
  std::unique_ptr<TReferenceLookup> FUserStatus;
  std::unique_ptr<TUserData> FData;
  int32_t FTag = 0;
};

}  // namespace users
