// Progress and cancellation record handed to long bridge operations
// (module Interruptable).
//
// The operation counts its work in Counters (indexed by a counter kind
// 0 … 5), may honour Limits, checks Interrupted every CheckInterval steps
// and is woken through WakeEvent when a host sets one. The record owns its
// WakeEvent. Counter and SetInterrupted have static forms that accept a
// missing record (counter 0; nothing set), for operations called without
// progress.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "platform/Event.h"
#include "platform/Object.h"

namespace platform {

class TInterruptable : public TObject {
 public:
  static constexpr int CounterKindCount = 6;

  TInterruptable();
  TInterruptable(const TInterruptable&) = delete;
  TInterruptable& operator=(const TInterruptable&) = delete;
  // Sets WakeEvent, when there is one, then frees it.
  ~TInterruptable() override;

  // REQUIRES: 0 <= Kind < CounterKindCount (EAssertionFailed otherwise).
  std::int32_t Counter(int Kind) const;
  static std::int32_t Counter(const TInterruptable* Self, int Kind);  // 0 for null

  // Stores the flag; sets WakeEvent for true and resets it for false.
  void SetInterrupted(bool Value);
  static void SetInterrupted(TInterruptable* Self, bool Value);  // nothing for null

  std::int32_t CheckInterval = 10;
  std::array<std::int32_t, 4> Reserved{};  // four further words, kept zero
  std::array<std::int32_t, CounterKindCount> Counters{};
  std::array<std::int32_t, CounterKindCount> Limits{};
  bool Interrupted = false;
  std::unique_ptr<TEvent> WakeEvent;  // none unless a host sets one
};

}  // namespace platform
