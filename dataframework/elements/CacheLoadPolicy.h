// Cache load policies: which rows of a table a cache should load, as a quilt
// patch built from a condition, from key texts or from another row's values.
//
// TDefaultCacheLoadPolicy keeps the leading N = max(KeyCount -
// NoCriteriaKeyCount, 1) keys of the table in a restriction; the other
// fields only when the caller's field set asks for them.
//
// Ownership: every patch (or quilt) answered is new and owned by the caller. Policies
// borrow tables, conditions, rows and fields. The process-wide default
// policy is reached through DefaultCacheLoadPolicy() (DataElements.h).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dataframework/conditions/ConditionsFwd.h"
#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/elements/Singleton.h"

namespace dataframework {

class TCacheLoadPolicy : public TSingleton {
  CLAVIRA_DECLARE_CLASS()

 public:
  explicit TCacheLoadPolicy(platform::TComponent* Owner);
  ~TCacheLoadPolicy() override;

  // ---- Virtual operations, in their fixed order (abstract here: "Abstract
  // Error").
  // 1: the part of Condition that a cache of Table can use (a patch, or a
  // quilt when Condition is a quilt of several patches).
  virtual std::unique_ptr<TCommonQuilt> PatchForCondition(const TDataTable& Table,
                                                          const TCondition* Condition,
                                                          const TDataFieldSet* FieldSet) const;
  // 2: a patch fixing Table's leading keys to Keys.
  virtual std::unique_ptr<TQuiltPatch> PatchForKeyTexts(const TDataTable& Table,
                                                        const std::vector<std::string>& Keys) const;
  // 3: a patch fixing Table's fields to the values Row has for them.
  virtual std::unique_ptr<TQuiltPatch> PatchForRow(
      const TDataTable& Table, const TAbstractRow& Row, const TDataFieldSet* FieldSet,
      const std::vector<TDataField*>& ExtraFields) const;
};

class TDefaultCacheLoadPolicy : public TCacheLoadPolicy {
  CLAVIRA_DECLARE_CLASS()

 public:
  explicit TDefaultCacheLoadPolicy(platform::TComponent* Owner);
  ~TDefaultCacheLoadPolicy() override;

  // None: a new empty patch. Otherwise a private quilt copy of Condition
  // projected onto Table's fields i < FieldCount with i < N or in FieldSet
  // (FieldSet none: all).
  std::unique_ptr<TCommonQuilt> PatchForCondition(const TDataTable& Table,
                                                  const TCondition* Condition,
                                                  const TDataFieldSet* FieldSet) const override;
  // Field i (i < N, i < Keys.size()) accepts the text value Keys[i].
  std::unique_ptr<TQuiltPatch> PatchForKeyTexts(
      const TDataTable& Table, const std::vector<std::string>& Keys) const override;
  // Row of Table: keys i < N accept Row's value at i. Another row: fields
  // i < FieldCount with i < N or in FieldSet accept Row's value of the field
  // (or of the first extra field standing for it), when Row can give one.
  std::unique_ptr<TQuiltPatch> PatchForRow(
      const TDataTable& Table, const TAbstractRow& Row, const TDataFieldSet* FieldSet,
      const std::vector<TDataField*>& ExtraFields) const override;

  int NoCriteriaKeyCount() const { return FNoCriteriaKeyCount; }
  void SetNoCriteriaKeyCount(int Value) { FNoCriteriaKeyCount = Value; }
  // N for Table.
  int KeptKeyCount(const TDataTable& Table) const;

 private:
  int FNoCriteriaKeyCount = 0;
};

}  // namespace dataframework
