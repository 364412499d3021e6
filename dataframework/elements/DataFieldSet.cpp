#include "dataframework/elements/DataFieldSet.h"

#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataTable.h"

namespace dataframework {

TDataFieldSet::TDataFieldSet() : FContainer(101, false) {}

TDataFieldSet::~TDataFieldSet() = default;

void TDataFieldSet::Add(TDataField* Field) {
  FContainer.Add(Field);
}

bool TDataFieldSet::Remove(TDataField* Field) {
  return Field != nullptr && FContainer.Delete(Field);
}

bool TDataFieldSet::Contains(const TDataField* Field) const {
  return Field != nullptr && FContainer.Contains(Field);
}

bool TDataFieldSet::Contains(const TDataFieldSet* Set, const TDataField* Field) {
  return Set == nullptr || Set->Contains(Field);
}

void TDataFieldSet::Clear() {
  FContainer.Clear();
}

bool TDataFieldSet::IsEmpty() const {
  return FContainer.IsEmpty();
}

int TDataFieldSet::Count() const {
  int count = 0;
  for (TIndexContainerIterator it(&FContainer); !it.Eof(); it.Next()) ++count;
  return count;
}

void TDataFieldSet::Assign(const TDataFieldSet& Other) {
  if (&Other == this) return;
  Clear();
  AddSet(Other);
}

void TDataFieldSet::AddSet(const TDataFieldSet& Other) {
  if (&Other == this) return;
  for (TIndexContainerIterator it(&Other.FContainer); !it.Eof(); it.Next()) {
    FContainer.Add(it.Index());
  }
}

void TDataFieldSet::AddTableFields(const TDataTable& Table, bool Keys, bool Fields, bool Ignored) {
  const int keys = Table.KeyCount();
  const int fields = Table.FieldCount();
  const int all = fields + Table.IgnoreFieldCount();
  for (int i = 0; i < all; ++i) {
    const bool wanted = i < keys ? Keys : (i < fields ? Fields : Ignored);
    if (wanted) Add(Table.GetField(i));
  }
}

bool TDataFieldSet::ContainsTableField(const TDataFieldSet* Set, const TDataTable& Table,
                                       int Index) {
  return Set == nullptr || Set->Contains(Table.GetField(Index));
}

TDataFieldSetIterator::TDataFieldSetIterator(const TDataFieldSet* Set) {
  if (Set != nullptr) FIterator = std::make_unique<TIndexContainerIterator>(&Set->Container());
}

TDataFieldSetIterator::~TDataFieldSetIterator() = default;

TDataField* TDataFieldSetIterator::Current() const {
  if (Eof()) return nullptr;
  return static_cast<TDataField*>(FIterator->Index());
}

void TDataFieldSetIterator::Next() {
  if (FIterator) FIterator->Next();
}

bool TDataFieldSetIterator::Eof() const {
  return !FIterator || FIterator->Eof();
}

}  // namespace dataframework
