#include <gtest/gtest.h>

#include "users/UClassUsers.h"

namespace users {
namespace {

TEST(UserRecord, NewRecordIsEmptyWithUnsetDates) {
  TUser user;
  EXPECT_EQ(user.GetCodUsuario(), 0);
  EXPECT_EQ(user.GetUserActive(), 0);
  EXPECT_EQ(user.GetFecExpiracion(), -700000.0);
  EXPECT_EQ(user.GetUserBirthDate(), -700000.0);
  EXPECT_EQ(user.GetUName(), "");
  EXPECT_EQ(user.GetProfile(), nullptr);
  EXPECT_EQ(user.GetJefeInm(), nullptr);
  EXPECT_EQ(user.GetDepartment(), nullptr);
  EXPECT_EQ(user.GetUserStatus(), nullptr);
  EXPECT_EQ(user.GetData(), nullptr);

  TProfile profile;
  EXPECT_EQ(profile.GetCodPerfil(), 0);
  EXPECT_EQ(profile.GetDesPerfil(), "");
  TReferenceLookup lookup;
  EXPECT_EQ(lookup.GetTag(), 0);
  EXPECT_EQ(lookup.GetId(), "");
  EXPECT_EQ(lookup.GetWideText(), u"");
}

// Counts destructions so that ownership can be seen.
struct Tracked : TUserData {
  explicit Tracked(int& count) : FCount(count) {}
  ~Tracked() override { ++FCount; }
  int& FCount;
};

TEST(UserRecord, OwnsWhatItHoldsAndOnlyThat) {
  int released = 0;
  {
    auto user = std::make_unique<TUser>();
    auto superior = std::make_unique<TUser>();
    superior->SetCodUsuario(7);
    superior->SetData(std::make_unique<Tracked>(released));
    user->SetJefeInm(std::move(superior));
    user->SetData(std::make_unique<Tracked>(released));
    auto country = std::make_unique<TReferenceLookup>();
    country->SetId("CL");
    user->SetCountry(std::move(country));
    ASSERT_NE(user->GetJefeInm(), nullptr);
    EXPECT_EQ(user->GetJefeInm()->GetCodUsuario(), 7);
    EXPECT_EQ(user->GetJefeInm()->GetJefeInm(), nullptr);
    EXPECT_EQ(user->GetCountry()->GetId(), "CL");
    EXPECT_EQ(user->GetCity(), nullptr);

    // Replacing an owned object releases the one it held.
    user->SetData(std::make_unique<Tracked>(released));
    EXPECT_EQ(released, 1);
  }
  EXPECT_EQ(released, 3);  // the record's object and its superior's
}

}  // namespace
}  // namespace users
