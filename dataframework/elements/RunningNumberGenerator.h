// Running-number generators: where the provisional numbers of a table's
// running-number field come from when rows are put into a storage.
//
// TRunningNumberGenerator is the abstract contract; the default generator
// hands out -1, -2, -3 ... below every number present at the row's level, so
// that generated numbers never collide with real (positive) ones, which are
// meant to replace them when rows are stored.
//
// Ownership: generators own nothing. The process-wide default generator is
// reached through DefaultRunningNumberGenerator() (DataElements.h).
#pragma once

#include <vector>

#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/types/DataTypeCore.h"
#include "platform/Object.h"

namespace dataframework {

class TRunningNumberGenerator : public platform::TObject {
 public:
  TRunningNumberGenerator() = default;
  ~TRunningNumberGenerator() override = default;

  // True when Row still needs a generated number.
  virtual bool NeedsNumber(const TAbstractRow& Row) const = 0;
  // The next number for a row of Table whose level already holds the key
  // values in Siblings (the keys of a subtotal row's children).
  virtual void NextNumber(const TDataTable& Table, const std::vector<TValue>& Siblings,
                          TValue& Value) const = 0;
  // Hook for subclasses; does nothing here.
  virtual void Reserved() {}
};

class TDefaultRunningNumberGenerator : public TRunningNumberGenerator {
 public:
  // Row's value of its table's RunningNumberField, read as an integer, is
  // below 1. A table without a running-number field needs no number.
  bool NeedsNumber(const TAbstractRow& Row) const override;
  // Value := integer (min(0, smallest sibling as integer) - 1).
  void NextNumber(const TDataTable& Table, const std::vector<TValue>& Siblings,
                  TValue& Value) const override;
};

}  // namespace dataframework
