#include "platform/ProcessSecrets.h"

#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstring>

#include "platform/Exception.h"

namespace platform {

bool KeepSecretsOutOfCoreFiles() {
  return prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0;
}

bool ProcessIsDumpable() {
  return prctl(PR_GET_DUMPABLE, 0, 0, 0, 0) == 1;
}

void WipeString(std::string& Text) {
  if (!Text.empty()) explicit_bzero(Text.data(), Text.size());
  Text.clear();
}

TSecretBuffer::TSecretBuffer(size_t Capacity) : FCapacity(Capacity) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  FMapped = (Capacity + page) / page * page;  // at least one page, room for a final zero
  void* pages = mmap(nullptr, FMapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pages == MAP_FAILED) throw Exception("Cannot map memory for a secret");
  FData = static_cast<char*>(pages);
  FExcluded = madvise(pages, FMapped, MADV_DONTDUMP) == 0;
  FLocked = mlock(pages, FMapped) == 0;
}

TSecretBuffer::~TSecretBuffer() {
  Clear();
  if (FLocked) munlock(FData, FMapped);
  munmap(FData, FMapped);
}

bool TSecretBuffer::Append(char C) {
  if (FSize == FCapacity) return false;
  FData[FSize++] = C;
  return true;
}

void TSecretBuffer::Clear() {
  explicit_bzero(FData, FMapped);
  FSize = 0;
}

}  // namespace platform
