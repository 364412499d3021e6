// TTranslatorRowStorage: a row storage that knows the translated strings it
// belongs to. A row's storage being one is how the translator's fields find
// the translation context of a row.
//
// Ownership: as TRowStorage; Owner is borrowed (the TTranslatedStrings that
// owns the storage, or none).
// REQUIRES: the table outlives the storage.
#pragma once

#include "dataframework/elements/RowStorage.h"

namespace dataframework {

class TTranslatedStrings;

class TTranslatorRowStorage : public TRowStorage {
 public:
  TTranslatorRowStorage(TDataTable* Table, TTranslatedStrings* Owner);
  ~TTranslatorRowStorage() override;

  TTranslatedStrings* Owner() const { return FOwner; }

 private:
  TTranslatedStrings* FOwner;
};

}  // namespace dataframework
