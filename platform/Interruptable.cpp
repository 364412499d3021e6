#include "platform/Interruptable.h"

#include "platform/Assert.h"

namespace platform {

TInterruptable::TInterruptable() = default;

TInterruptable::~TInterruptable() {
  // A waiting host must not sleep on an event that is about to vanish.
  if (WakeEvent) WakeEvent->SetEvent();
}

std::int32_t TInterruptable::Counter(int Kind) const {
  Assert(Kind >= 0 && Kind < CounterKindCount,
         "TInterruptable.Counter: Kind out of range, idx: ", Kind);
  return Counters[static_cast<size_t>(Kind)];
}

std::int32_t TInterruptable::Counter(const TInterruptable* Self, int Kind) {
  return Self != nullptr ? Self->Counter(Kind) : 0;
}

void TInterruptable::SetInterrupted(bool Value) {
  Interrupted = Value;
  if (WakeEvent) {
    if (Value) {
      WakeEvent->SetEvent();
    } else {
      WakeEvent->ResetEvent();
    }
  }
}

void TInterruptable::SetInterrupted(TInterruptable* Self, bool Value) {
  if (Self != nullptr) Self->SetInterrupted(Value);
}

}  // namespace platform
