// THeaderField: a constant shown as a header, with a header level and a
// second word that the framework stores but does not read (module
// CommonCalcFields).
//
// Ownership: as TConstantField.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "dataframework/elements/ConstantField.h"

namespace dataframework {

class THeaderField : public TConstantField {
  CLAVIRA_DECLARE_CLASS()

 public:
  // Constant field defaults, both words 0.
  explicit THeaderField(platform::TComponent* Owner);
  // CreateHeader: CreateConst(Name, Value), HeaderLevel := Level.
  // REQUIRES: Value has a data type.
  THeaderField(const std::string& Name, const TValue& Value, int32_t Level);
  static std::unique_ptr<THeaderField> CreateHeader(const std::string& Name, const TValue& Value,
                                                    int32_t Level);
  ~THeaderField() override;

  int32_t HeaderLevel() const { return FHeaderLevel; }
  void SetHeaderLevel(int32_t Value) { FHeaderLevel = Value; }
  int32_t HeaderWord() const { return FHeaderWord; }
  void SetHeaderWord(int32_t Value) { FHeaderWord = Value; }

 private:
  int32_t FHeaderLevel = 0;
  int32_t FHeaderWord = 0;
};

}  // namespace dataframework
