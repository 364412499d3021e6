#include "users/UCatalogueUsers.h"

#include "db/DBManagerClass.h"
#include "platform/NoDestructor.h"

namespace users {

std::optional<int32_t> LanguageCode(const std::string& Text) {
  if (Text == "Esp") return 1;
  if (Text == "Ing") return 2;
  if (Text == "Por") return 3;
  return std::nullopt;
}

namespace {

std::unique_ptr<TReferenceLookup> ReadLookup(db::TDataSet& row, const char* idColumn,
                                             const char* descriptionColumn) {
  auto lookup = std::make_unique<TReferenceLookup>();
  lookup->SetId(row.FieldByName(idColumn).AsString());
  lookup->SetDescription(row.FieldByName(descriptionColumn).AsString());
  return lookup;
}

// Columns are read by name, in this order, so that a missing column is
// reported by the first one the row lacks.
std::unique_ptr<TUser> ReadUser(db::TDataSet& row) {
  auto user = std::make_unique<TUser>();
  user->SetCodUsuario(row.FieldByName("CodUsuario").AsInteger());
  user->SetUName(row.FieldByName("UName").AsString());
  user->SetUserName(row.FieldByName("UserName").AsString());
  auto profile = std::make_unique<TProfile>();
  profile->SetCodPerfil(row.FieldByName("CodPerfil").AsInteger());
  profile->SetDesPerfil(row.FieldByName("DES_PERFIL").AsString());
  user->SetProfile(std::move(profile));
  user->SetClave(row.FieldByName("Clave").AsString());
  user->SetFecExpiracion(row.FieldByName("FecExpiracion").AsDateTime());
  user->SetAddress1(row.FieldByName("Address1").AsString());
  user->SetAddress2(row.FieldByName("Address2").AsString());
  user->SetAddress3(row.FieldByName("Address3").AsString());
  user->SetPhone1(row.FieldByName("Phone1").AsString());
  user->SetPhone2(row.FieldByName("Phone2").AsString());
  user->SetPhone3(row.FieldByName("Phone3").AsString());
  user->SetExt(row.FieldByName("Ext").AsString());
  user->SetFax(row.FieldByName("Fax").AsString());
  user->SetMobil(row.FieldByName("Mobil").AsString());
  user->SetEMail(row.FieldByName("EMail").AsString());
  auto superior = std::make_unique<TUser>();
  superior->SetCodUsuario(row.FieldByName("CodJefeInm").AsInteger());
  superior->SetUName(row.FieldByName("DES_JEFEINMEDATO").AsString());
  user->SetJefeInm(std::move(superior));
  user->SetUsuaComments(row.FieldByName("UsuaComments").AsString());
  user->SetULA(row.FieldByName("ULA").AsInteger());
  user->SetNivel(row.FieldByName("Nivel").AsInteger());
  user->SetUserActive(row.FieldByName("USER_ACTIVE").AsInteger());
  user->SetUserBirthDate(row.FieldByName("USER_BIRTHDATE").AsDateTime());
  user->SetUserImage(row.FieldByName("USER_IMAGE").AsString());
  user->SetUserLanguage(row.FieldByName("USER_LANGUAGE").AsString());
  user->SetProfileId(row.FieldByName("PROFILEID").AsInteger());
  user->SetIdentityType(row.FieldByName("identity_type").AsString());
  user->SetRol1(row.FieldByName("ROL1").AsInteger());
  user->SetRol2(row.FieldByName("ROL2").AsInteger());
  user->SetDepartment(ReadLookup(row, "CodDepto", "DES_DEPARTAMENTO"));
  user->SetNumberDep(ReadLookup(row, "NUMBERDEPID", "DES_NUMBERDEP"));
  user->SetCountry(ReadLookup(row, "COUNTRYID", "DES_COUNTRY"));
  user->SetCity(ReadLookup(row, "CITYID", "DES_CITY"));
  user->SetSite(ReadLookup(row, "SITEID", "DES_SITE"));
  user->SetBuilding(ReadLookup(row, "BUILDINGID", "DES_BUILDING"));
  user->SetFloor(ReadLookup(row, "FLOORID", "DES_FLOOR"));
  user->SetCompany(ReadLookup(row, "COMPANYID", "DES_COMPANY"));
  user->SetCargo(ReadLookup(row, "Cha_id", "DES_CARGO"));
  user->SetUserStatus(ReadLookup(row, "USS_ID", "DES_USER_STATUS"));
  return user;
}

}  // namespace

void TUsersCatalogue::Clear() {
  FResultSet = nullptr;
  FStoredProc.reset();
}

std::unique_ptr<TUser> TUsersCatalogue::LoadUser(int32_t UserCode) {
  Clear();
  FStoredProc = db::DBManager()->CreateStoredProc("PRC_USERS");
  db::TParams& params = FStoredProc->GetParams();
  params.ParamByName("i_operation").SetAsString("S");
  params.ParamByName("i_option").SetAsString("C");
  params.ParamByName("i_codusuario").SetAsInteger(UserCode);
  // A language without a number goes as null: the procedure picks its default.
  db::TParam& language = params.ParamByName("i_language");
  if (auto code = LanguageCode(db::DBManager()->GetLanguage())) {
    language.SetAsInteger(*code);
  } else {
    language.Clear();
  }
  FResultSet = FStoredProc->OpenProc();
  if (FResultSet->IsEmpty()) return nullptr;
  return ReadUser(*FResultSet);
}

TUsersCatalogue& UsersCatalogue() {
  // Never destroyed: its last stored procedure refers to the manager's
  // connection, whose lifetime at exit is not ordered with this one.
  static platform::TNoDestructor<TUsersCatalogue> catalogue;
  return *catalogue;
}

}  // namespace users
