// TProfile is header-only; this unit keeps the module's pair complete.
#include "users/UClassProfile.h"
