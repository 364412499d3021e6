// Keeping the secrets a program holds (passwords typed or given) out of core
// files, out of swap and out of memory once they are used.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Makes the calling process non-dumpable (PR_SET_DUMPABLE 0): a crash writes
// no core file, and processes of the same user can neither attach to it nor
// read its memory or environment through /proc. It lasts until the process
// ends (or execs). Call it first thing in main, before any secret is read:
// the argument vector may already hold one. Returns false when the system
// refused.
bool KeepSecretsOutOfCoreFiles();
// Whether a crash of the process would write a core file (PR_GET_DUMPABLE).
bool ProcessIsDumpable();

// Overwrites the characters of Text with zeros (a write the compiler keeps)
// and empties it; its buffer stays allocated until Text goes.
void WipeString(std::string& Text);

// Wipes a string when the scope ends, however it ends.
// REQUIRES: Text outlives the guard.
class TWipeOnExit {
 public:
  explicit TWipeOnExit(std::string& Text) : FText(Text) {}
  ~TWipeOnExit() { WipeString(FText); }
  TWipeOnExit(const TWipeOnExit&) = delete;
  TWipeOnExit& operator=(const TWipeOnExit&) = delete;

 private:
  std::string& FText;
};

// Memory for one secret while it is read: pages of its own, locked in memory
// (never written to swap, when the system allows it) and excluded from core
// dumps (MADV_DONTDUMP); wiped by Clear and on destruction. Reading a secret
// into it byte by byte leaves no partial copies behind, as a growing string's
// reallocations do. The buffer owns its pages.
class TSecretBuffer {
 public:
  // Throws platform::Exception when no memory can be mapped.
  explicit TSecretBuffer(size_t Capacity);
  ~TSecretBuffer();
  TSecretBuffer(const TSecretBuffer&) = delete;
  TSecretBuffer& operator=(const TSecretBuffer&) = delete;

  // Adds one byte; false when the buffer is full (nothing added).
  bool Append(char C);
  void PopBack() {
    if (FSize) FData[--FSize] = 0;
  }
  std::string_view View() const { return {FData, FSize}; }
  const char* Data() const { return FData; }
  size_t Size() const { return FSize; }
  size_t Capacity() const { return FCapacity; }
  // Zeros the whole buffer and empties it.
  void Clear();
  bool Locked() const { return FLocked; }
  bool ExcludedFromDumps() const { return FExcluded; }

 private:
  char* FData = nullptr;
  size_t FSize = 0;
  size_t FCapacity = 0;
  size_t FMapped = 0;
  bool FLocked = false;
  bool FExcluded = false;
};

}  // namespace platform
