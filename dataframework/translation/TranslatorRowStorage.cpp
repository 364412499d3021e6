#include "dataframework/translation/TranslatorRowStorage.h"

namespace dataframework {

TTranslatorRowStorage::TTranslatorRowStorage(TDataTable* Table, TTranslatedStrings* Owner)
    : TRowStorage(Table), FOwner(Owner) {}

TTranslatorRowStorage::~TTranslatorRowStorage() = default;

}  // namespace dataframework
