// TFieldRegistry: a process-wide register of named framework objects, kept
// sorted by name, that refuses a second object under a name already taken.
//
// Two instances exist, both made by the DataElements module start and freed
// at its end (DataElements.h): FieldRegistry() for data fields (an entry is
// made when a field gets a non-empty name) and TableRegistry() for data
// tables (only tables with a table type). Names compare byte for byte.
//
// Ownership: the registry owns its entries, never the objects they name.
// Objects unregister themselves before they die.
#pragma once

#include <string>

#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/types/ValueList.h"

namespace dataframework {

class TFieldRegistry {
 public:
  TFieldRegistry();
  TFieldRegistry(const TFieldRegistry&) = delete;
  TFieldRegistry& operator=(const TFieldRegistry&) = delete;

  // Registers Object under Name; false (and nothing stored) when the name is
  // taken. REQUIRES: Name is not empty, Object is given.
  bool Add(const std::string& Name, platform::TObject* Object);
  // Removes Object's entry: looked up under Name; when the entry found there
  // names another object (or there is none), looked up by identity. True
  // when an entry was removed.
  bool Remove(const std::string& Name, const platform::TObject* Object);
  // Removes Object's entry wherever it stands; true when found.
  bool RemoveObject(const platform::TObject* Object);
  // The object registered under exactly Name, or null.
  platform::TObject* Find(const std::string& Name) const;
  int Count() const { return FList.Count(); }
  // Entry Index in name order (for diagnostics and tests).
  std::string NameAt(int Index) const { return FList.Get(Index); }
  platform::TObject* ObjectAt(int Index) const { return FList.GetObject(Index); }

 private:
  TValueList FList;
};

// The registered field with exactly this name, or null.
TDataField* FindFieldByName(const std::string& Name);

}  // namespace dataframework
