// The data framework's one error routine and its process-wide hook.
//
// DataError(Severity, Context, Message) first calls DataErrorHook when it is
// set; then esFatal raises platform::Exception with Message as its text and
// esWarning returns, so the caller goes on. Context is a short word naming
// the operation ("Duplicates", "SetAuxTable"); it is not part of the
// exception text. The hook is empty by default; a host sets it to log
// warnings, tests through TDataErrorCapture.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

enum TErrorSeverity : int { esFatal = 1, esWarning = 2 };

using TDataErrorHook = std::function<void(TErrorSeverity Severity, const std::string& Context,
                                          const std::string& Message)>;

// Process-wide; single-threaded like the rest of the framework.
extern TDataErrorHook DataErrorHook;

void DataError(TErrorSeverity Severity, const std::string& Context, const std::string& Message);

// Records every DataError call while it lives (the hook set to record, the
// previous hook restored on destruction). Scopes nest.
class TDataErrorCapture {
 public:
  struct TEntry {
    TErrorSeverity Severity;
    std::string Context;
    std::string Message;
  };

  TDataErrorCapture();
  TDataErrorCapture(const TDataErrorCapture&) = delete;
  TDataErrorCapture& operator=(const TDataErrorCapture&) = delete;
  ~TDataErrorCapture();

  const std::vector<TEntry>& Entries() const { return FEntries; }
  // The entries of severity esWarning.
  std::vector<TEntry> Warnings() const;
  void Clear() { FEntries.clear(); }

 private:
  TDataErrorHook FPrevious;
  std::vector<TEntry> FEntries;
};

}  // namespace platform
