// The user catalogue against a real PostgreSQL holding the reference
// database, on both engines' procedure shapes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "db/DBManagerClass.h"
#include "db/Vesquin.h"
#include "testsupport/LoginWorld.h"
#include "users/UCatalogueUsers.h"

namespace users {
namespace {

using testsupport::LoginWorld;

LoginWorld& World() {
  return testsupport::SharedTestWorld();
}

class UserCatalogue : public ::testing::TestWithParam<std::string> {
 protected:
  void Connect(const std::string& language) {
    UsersCatalogue().Clear();
    db::FreeDBManager();
    setenv("VESQUIN_LANGUAGE", language.c_str(), 1);
    World().Connect(GetParam());
  }
  void SetUp() override { Connect("Ing"); }
  void TearDown() override {
    UsersCatalogue().Clear();
    db::FreeDBManager();
  }
};

// Days since 30 December 1899 of a date at noon or midnight.
double Days(int y, int m, int d, double fraction) {
  // Days from civil (Howard Hinnant), shifted to the 1899-12-30 epoch.
  y -= m <= 2;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int>(doe) - 719468 + 25569 + fraction;
}

TEST_P(UserCatalogue, LoadsEveryColumnOfAFullRecord) {
  std::unique_ptr<TUser> u = UsersCatalogue().LoadUser(10);
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(u->GetCodUsuario(), 10);
  EXPECT_EQ(u->GetUName(), "Ana Pereira");
  EXPECT_EQ(u->GetUserName(), "ana");
  ASSERT_NE(u->GetProfile(), nullptr);
  EXPECT_EQ(u->GetProfile()->GetCodPerfil(), 5);
  EXPECT_EQ(u->GetProfile()->GetDesPerfil(), "Operator");
  EXPECT_EQ(u->GetClave(), db::EncryptDB("ana-pw"));  // as the shared world stores it
  EXPECT_DOUBLE_EQ(u->GetFecExpiracion(), Days(2030, 12, 31, 0.5));
  EXPECT_EQ(u->GetAddress1(), "Calle 1");
  EXPECT_EQ(u->GetAddress2(), "Depto 2");
  EXPECT_EQ(u->GetAddress3(), "Santiago");
  EXPECT_EQ(u->GetPhone1(), "+56 2 1111");
  EXPECT_EQ(u->GetPhone2(), "+56 2 2222");
  EXPECT_EQ(u->GetPhone3(), "+56 2 3333");
  EXPECT_EQ(u->GetExt(), "42");
  EXPECT_EQ(u->GetFax(), "+56 2 4444");
  EXPECT_EQ(u->GetMobil(), "+56 9 5555");
  EXPECT_EQ(u->GetEMail(), "ana@clavira.test");
  ASSERT_NE(u->GetJefeInm(), nullptr);
  EXPECT_EQ(u->GetJefeInm()->GetCodUsuario(), 1);
  EXPECT_EQ(u->GetJefeInm()->GetUName(), "La Jefa");
  EXPECT_EQ(u->GetJefeInm()->GetJefeInm(), nullptr);
  EXPECT_EQ(u->GetUsuaComments(), "sin comentarios");
  EXPECT_EQ(u->GetULA(), 7);
  EXPECT_EQ(u->GetNivel(), 3);
  EXPECT_EQ(u->GetUserActive(), 1);
  EXPECT_DOUBLE_EQ(u->GetUserBirthDate(), Days(1990, 5, 17, 0.0));
  EXPECT_EQ(u->GetUserImage(), "ana.png");
  EXPECT_EQ(u->GetUserLanguage(), "Esp");
  EXPECT_EQ(u->GetProfileId(), 12);
  EXPECT_EQ(u->GetIdentityType(), "RUT");
  EXPECT_EQ(u->GetRol1(), 21);
  EXPECT_EQ(u->GetRol2(), 22);
  struct Lookup {
    TReferenceLookup* Got;
    const char* Id;
    const char* Description;
  } lookups[] = {
      {u->GetDepartment(), "10", "Systems"},
      {u->GetNumberDep(), "1", ""},
      {u->GetCountry(), "CL", "Chile"},
      {u->GetCity(), "SCL", ""},
      {u->GetSite(), "S1", ""},
      {u->GetBuilding(), "B1", ""},
      {u->GetFloor(), "3", ""},
      {u->GetCompany(), "100", ""},
      {u->GetCargo(), "7", ""},
      {u->GetUserStatus(), "A", "Current"},
  };
  for (const Lookup& l : lookups) {
    ASSERT_NE(l.Got, nullptr) << l.Id;
    EXPECT_EQ(l.Got->GetId(), l.Id);
    EXPECT_EQ(l.Got->GetDescription(), l.Description) << l.Id;
  }
}

TEST_P(UserCatalogue, NullColumnsReadAsEmptyZeroAndDateZero) {
  std::unique_ptr<TUser> u = UsersCatalogue().LoadUser(18);
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(u->GetUName(), "");
  EXPECT_EQ(u->GetFecExpiracion(), 0.0);  // not the unset marker
  EXPECT_EQ(u->GetUserBirthDate(), 0.0);
  EXPECT_EQ(u->GetULA(), 0);
  ASSERT_NE(u->GetProfile(), nullptr);
  EXPECT_EQ(u->GetProfile()->GetCodPerfil(), 0);
  ASSERT_NE(u->GetJefeInm(), nullptr);  // a superior record in every case
  EXPECT_EQ(u->GetJefeInm()->GetCodUsuario(), 0);
  EXPECT_EQ(u->GetJefeInm()->GetUName(), "");
  ASSERT_NE(u->GetUserStatus(), nullptr);
  EXPECT_EQ(u->GetUserStatus()->GetId(), "");
  EXPECT_EQ(u->GetUserStatus()->GetDescription(), "");
}

TEST_P(UserCatalogue, UnknownUserGivesNoRecord) {
  EXPECT_EQ(UsersCatalogue().LoadUser(999), nullptr);
  EXPECT_EQ(UsersCatalogue().LoadUser(-1), nullptr);
  // The catalogue keeps no user data: the next load works as the first.
  ASSERT_NE(UsersCatalogue().LoadUser(11), nullptr);
  EXPECT_EQ(UsersCatalogue().LoadUser(11)->GetUserActive(), 0);
}

TEST_P(UserCatalogue, DescriptionsFollowTheManagersLanguage) {
  struct Case {
    const char* Language;
    const char* Department;
  } cases[] = {
      {"Esp", "Sistemas"},
      {"Ing", "Systems"},
      {"Por", "Sistemas PT"},
      // No number: "i_language" goes as null and the procedure uses its default (1).
      {"esp", "Sistemas"},
      {"Xyz", "Sistemas"},
      {"", "Sistemas"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Language);
    Connect(c.Language);
    std::unique_ptr<TUser> u = UsersCatalogue().LoadUser(10);
    ASSERT_NE(u, nullptr);
    EXPECT_EQ(u->GetDepartment()->GetDescription(), c.Department);
  }
}

INSTANTIATE_TEST_SUITE_P(Engines, UserCatalogue, ::testing::ValuesIn(LoginWorld::Engines()),
                         [](const auto& info) { return info.param; });

TEST(LanguageCode, MapsTheThreeLanguagesExactly) {
  EXPECT_EQ(LanguageCode("Esp"), 1);
  EXPECT_EQ(LanguageCode("Ing"), 2);
  EXPECT_EQ(LanguageCode("Por"), 3);
  for (const char* other : {"esp", "ING", "Por ", "", "Eng"}) {
    EXPECT_EQ(LanguageCode(other), std::nullopt) << other;
  }
}

}  // namespace
}  // namespace users
