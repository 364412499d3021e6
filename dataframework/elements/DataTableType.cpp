#include "dataframework/elements/DataTableType.h"

#include "dataframework/elements/DataTable.h"
#include "platform/DataError.h"
#include "platform/PropInfo.h"

namespace dataframework {

const platform::TClass& TDataTableType::StaticClass() {
  using namespace platform;
  using T = TDataTableType;
  static const TClass Class("TDataTableType", &TSingleton::StaticClass(), "DataElements",
                            {BoolProp<T>("SortTables", &T::SortTables, &T::SetSortTables),
                             ClassProp<T, TLangArray>(
                                 "Descriptions", [](const T& t) { return &t.Descriptions(); },
                                 [](T& t, TLangArray* v) {
                                   if (v != nullptr) t.SetDescriptions(*v);
                                 })});
  return Class;
}

TDataTableType::TDataTableType(platform::TComponent* Owner)
    : TSingleton(Owner),
      FTableList(std::make_unique<platform::TStringList>()),
      FDescriptions(std::make_unique<platform::TLangArray>()) {
  BindLanguage(*FDescriptions);
  // Table names compare as the registry does: byte for byte.
  FTableList->SetCaseSensitive(true);
  FTableList->SetDuplicates(platform::dupAccept);
}

TDataTableType::~TDataTableType() {
  if (TableCount() > 0) {
    platform::DataError(platform::esWarning, "TDataTableType",
                        "TDataTableType.Destroy: TableList still contains " +
                            std::to_string(TableCount()) + " table(s). The first one is " +
                            GetTable(0)->TableName());
    // Each entry leaves the list before its table forgets the type, so the
    // table's own RemoveTable finds nothing more to do.
    while (TableCount() > 0) {
      TDataTable* table = GetTable(TableCount() - 1);
      FTableList->Delete(TableCount() - 1);
      if (table->TableType() == this) table->SetTableType(nullptr);
    }
  }
}

TDataTable* TDataTableType::GetTable(int Index) const {
  return static_cast<TDataTable*>(FTableList->GetObject(Index));
}

void TDataTableType::AddTable(TDataTable* Table) {
  if (Table == nullptr || FTableList->IndexOfObject(Table) >= 0) return;
  FTableList->AddObject(Table->TableName(), Table);
}

void TDataTableType::RemoveTable(TDataTable* Table) {
  for (int i = TableCount() - 1; i >= 0; --i) {
    if (FTableList->GetObject(i) == Table) FTableList->Delete(i);
  }
}

void TDataTableType::TableRenamed(TDataTable* Table) {
  const int index = FTableList->IndexOfObject(Table);
  if (index < 0) return;
  if (FTableList->Sorted()) {
    FTableList->Delete(index);
    FTableList->AddObject(Table->TableName(), Table);
  } else {
    FTableList->Put(index, Table->TableName());
  }
}

void TDataTableType::SetSortTables(bool Value) {
  FTableList->SetSorted(Value);
}

void TDataTableType::SetDescriptions(const platform::TLangArray& Value) {
  FDescriptions->Assign(&Value);
}

}  // namespace dataframework
