// A manual-reset event: set or reset, and asked whether it is set.
//
// Nothing in the system waits on events (one thread); the progress record of
// long operations (Interruptable.h) owns one when a host wants to be woken.
#pragma once

#include "platform/Object.h"

namespace platform {

class TEvent : public TObject {
 public:
  explicit TEvent(bool InitialState = false) : FSignaled(InitialState) {}

  void SetEvent() { FSignaled = true; }
  void ResetEvent() { FSignaled = false; }
  bool IsSet() const { return FSignaled; }

 private:
  bool FSignaled;
};

}  // namespace platform
