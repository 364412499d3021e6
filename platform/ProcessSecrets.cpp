#include "platform/ProcessSecrets.h"

#include <sys/prctl.h>

namespace platform {

bool KeepSecretsOutOfCoreFiles() {
  return prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0;
}

}  // namespace platform
