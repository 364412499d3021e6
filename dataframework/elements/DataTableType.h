// TDataTableType: a group of data tables (by kind), with a description per
// language. The tables list themselves here through SetTableType; the list
// is unsorted unless SortTables is set, and follows renames (TableRenamed).
//
// Ownership: the type owns its list and Descriptions, never the tables. A
// type destroyed while tables are still listed warns and clears their type.
#pragma once

#include <memory>
#include <string>

#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/elements/Singleton.h"
#include "platform/StringList.h"

namespace dataframework {

class TDataTableType : public TSingleton {
  CLAVIRA_DECLARE_CLASS()

 public:
  explicit TDataTableType(platform::TComponent* Owner);
  ~TDataTableType() override;

  int TableCount() const { return FTableList->Count(); }
  // REQUIRES: 0 <= Index < TableCount (EListError otherwise).
  TDataTable* GetTable(int Index) const;
  // Appends the table under its name; nothing for none or a listed table.
  void AddTable(TDataTable* Table);
  // Removes every entry of Table.
  void RemoveTable(TDataTable* Table);
  // Sorted list: the entry is filed again under the new name; unsorted:
  // its text becomes the new name in place.
  void TableRenamed(TDataTable* Table);

  const platform::TStringList& TableList() const { return *FTableList; }
  bool SortTables() const { return FTableList->Sorted(); }
  void SetSortTables(bool Value);
  platform::TLangArray& Descriptions() const { return *FDescriptions; }
  // Copies Value's entries and default text.
  void SetDescriptions(const platform::TLangArray& Value);

 private:
  std::unique_ptr<platform::TStringList> FTableList;
  std::unique_ptr<platform::TLangArray> FDescriptions;
};

}  // namespace dataframework
