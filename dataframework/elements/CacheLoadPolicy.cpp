#include "dataframework/elements/CacheLoadPolicy.h"

#include <algorithm>

#include "dataframework/conditions/Condition.h"
#include "dataframework/conditions/QuiltField.h"
#include "dataframework/conditions/QuiltPatch.h"
#include "dataframework/elements/AbstractRow.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataFieldSet.h"
#include "dataframework/elements/DataTable.h"
#include "platform/Errors.h"
#include "platform/PropInfo.h"

namespace dataframework {

const platform::TClass& TCacheLoadPolicy::StaticClass() {
  static const platform::TClass Class("TCacheLoadPolicy", &TSingleton::StaticClass(),
                                      "DataElements");
  return Class;
}

TCacheLoadPolicy::TCacheLoadPolicy(platform::TComponent* Owner) : TSingleton(Owner) {}

TCacheLoadPolicy::~TCacheLoadPolicy() = default;

std::unique_ptr<TCommonQuilt> TCacheLoadPolicy::PatchForCondition(const TDataTable&,
                                                                  const TCondition*,
                                                                  const TDataFieldSet*) const {
  throw platform::EAbstractError();
}

std::unique_ptr<TQuiltPatch> TCacheLoadPolicy::PatchForKeyTexts(
    const TDataTable&, const std::vector<std::string>&) const {
  throw platform::EAbstractError();
}

std::unique_ptr<TQuiltPatch> TCacheLoadPolicy::PatchForRow(const TDataTable&, const TAbstractRow&,
                                                           const TDataFieldSet*,
                                                           const std::vector<TDataField*>&) const {
  throw platform::EAbstractError();
}

const platform::TClass& TDefaultCacheLoadPolicy::StaticClass() {
  using namespace platform;
  using P = TDefaultCacheLoadPolicy;
  static const TClass Class(
      "TDefaultCacheLoadPolicy", &TCacheLoadPolicy::StaticClass(), "DataElements",
      {IntProp<P>("NoCriteriaKeyCount", &P::NoCriteriaKeyCount, &P::SetNoCriteriaKeyCount)});
  return Class;
}

TDefaultCacheLoadPolicy::TDefaultCacheLoadPolicy(platform::TComponent* Owner)
    : TCacheLoadPolicy(Owner) {}

TDefaultCacheLoadPolicy::~TDefaultCacheLoadPolicy() = default;

int TDefaultCacheLoadPolicy::KeptKeyCount(const TDataTable& Table) const {
  return std::max(Table.KeyCount() - FNoCriteriaKeyCount, 1);
}

std::unique_ptr<TCommonQuilt> TDefaultCacheLoadPolicy::PatchForCondition(
    const TDataTable& Table, const TCondition* Condition, const TDataFieldSet* FieldSet) const {
  if (Condition == nullptr) return std::make_unique<TQuiltPatch>();
  const int n = KeptKeyCount(Table);
  TDataFieldSet kept;
  for (int i = 0; i < Table.FieldCount(); ++i) {
    TDataField* field = Table.GetField(i);
    if (i < n || TDataFieldSet::Contains(FieldSet, field)) kept.Add(field);
  }
  std::unique_ptr<TCommonQuilt> patch = QuiltCopyOf(*Condition);
  patch->ProjectOn(&kept);
  return patch;
}

std::unique_ptr<TQuiltPatch> TDefaultCacheLoadPolicy::PatchForKeyTexts(
    const TDataTable& Table, const std::vector<std::string>& Keys) const {
  auto patch = std::make_unique<TQuiltPatch>();
  const int last =
      std::min({static_cast<int>(Keys.size()), KeptKeyCount(Table), Table.FieldCount()});
  for (int i = 0; i < last; ++i) {
    patch->FieldFor(Table.GetField(i), true)->AddValue(StringValue(Keys[static_cast<size_t>(i)]));
  }
  return patch;
}

std::unique_ptr<TQuiltPatch> TDefaultCacheLoadPolicy::PatchForRow(
    const TDataTable& Table, const TAbstractRow& Row, const TDataFieldSet* FieldSet,
    const std::vector<TDataField*>& ExtraFields) const {
  auto patch = std::make_unique<TQuiltPatch>();
  const int n = KeptKeyCount(Table);
  TValue value;
  if (Row.Table() == &Table) {
    for (int i = 0; i < Table.KeyCount() && i < n; ++i) {
      Row.GetIndexValue(i, value);
      patch->FieldFor(Table.GetField(i), true)->AddValue(value);
    }
    return patch;
  }
  for (int i = 0; i < Table.FieldCount(); ++i) {
    TDataField* target = Table.GetField(i);
    if (i >= n && !TDataFieldSet::Contains(FieldSet, target)) continue;
    TDataField* source = target;
    auto extra = std::find_if(ExtraFields.begin(), ExtraFields.end(), [&](TDataField* e) {
      return e != nullptr && e->LookupKey() == target;
    });
    if (extra != ExtraFields.end()) source = *extra;
    try {
      Row.GetFieldValue(source, value);
    } catch (const platform::EAssertionFailed&) {
      throw;
    } catch (const std::exception&) {
      continue;  // the row cannot give this value: no restriction on it
    }
    patch->FieldFor(target, true)->AddValue(value);
  }
  return patch;
}

}  // namespace dataframework
