// TDataFieldSet: a set of data fields by identity, and its iterator.
//
// Conditions and storages take a field set to say which fields an operation
// looks at; a set pointer that is null means "all fields" wherever an
// operation accepts one (use the static Contains(Set, Field) for that rule).
//
// Ownership: the set owns its index container, never the fields. The
// iterator owns its container iterator and borrows the set, which must
// outlive it and must not change while it is walked (except by deleting the
// field the iterator stands on).
#pragma once

#include <memory>

#include "dataframework/conditions/IndexContainer.h"
#include "dataframework/elements/ElementsFwd.h"

namespace dataframework {

class TDataFieldSet : public platform::TObject {
 public:
  TDataFieldSet();
  ~TDataFieldSet() override;
  TDataFieldSet(const TDataFieldSet&) = delete;
  TDataFieldSet& operator=(const TDataFieldSet&) = delete;

  // Adds Field unless it is present. REQUIRES: Field is given.
  void Add(TDataField* Field);
  // Removes Field; true when it was present.
  bool Remove(TDataField* Field);
  bool Contains(const TDataField* Field) const;
  // A null set contains every field.
  static bool Contains(const TDataFieldSet* Set, const TDataField* Field);
  void Clear();
  bool IsEmpty() const;
  // Number of fields (walks the container).
  int Count() const;
  // Nothing when Other is this set; otherwise clear, then add Other's fields.
  void Assign(const TDataFieldSet& Other);
  // Nothing when Other is this set; otherwise add Other's fields.
  void AddSet(const TDataFieldSet& Other);
  // Adds the table's key fields (Keys), ordinary fields (Fields) and ignored
  // fields (Ignored).
  void AddTableFields(const TDataTable& Table, bool Keys, bool Fields, bool Ignored);
  // True when Set is null, else whether Set holds the table's field at Index.
  static bool ContainsTableField(const TDataFieldSet* Set, const TDataTable& Table, int Index);

  const TIndexContainer& Container() const noexcept { return FContainer; }

 private:
  TIndexContainer FContainer;
};

// Walks a field set in the container's order (not insertion order).
//   for (TDataFieldSetIterator it(set); !it.Eof(); it.Next()) use(it.Current());
class TDataFieldSetIterator : public platform::TObject {
 public:
  // Positions on the first field; a null Set gives an iterator that is at
  // its end at once.
  explicit TDataFieldSetIterator(const TDataFieldSet* Set);
  ~TDataFieldSetIterator() override;
  TDataFieldSetIterator(const TDataFieldSetIterator&) = delete;
  TDataFieldSetIterator& operator=(const TDataFieldSetIterator&) = delete;

  // The field at the position; null at the end.
  TDataField* Current() const;
  void Next();
  bool Eof() const;

 private:
  std::unique_ptr<TIndexContainerIterator> FIterator;
};

}  // namespace dataframework
