#include "users/UClassUsers.h"

namespace users {

// Owned objects go in a fixed order: the profile, the superior, the lookups
// from Department to UserStatus, then the caller's object.
TUser::~TUser() {
  FProfile.reset();
  FJefeInm.reset();
  FDepartment.reset();
  FNumberDep.reset();
  FCountry.reset();
  FCity.reset();
  FSite.reset();
  FBuilding.reset();
  FFloor.reset();
  FCompany.reset();
  FCargo.reset();
  FUserStatus.reset();
  FData.reset();
}

}  // namespace users
