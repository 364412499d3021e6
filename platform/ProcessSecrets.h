// Keeping the secrets a program holds (passwords typed or given) out of core
// files and out of other processes' reach.
#pragma once

namespace platform {

// Makes the calling process non-dumpable (PR_SET_DUMPABLE 0): a crash writes
// no core file, and processes of the same user can neither attach to it nor
// read its memory or environment through /proc. It lasts until the process
// ends (or execs). Call it first thing in main, before any secret is read:
// the argument vector may already hold one. Returns false when the system
// refused.
bool KeepSecretsOutOfCoreFiles();

}  // namespace platform
