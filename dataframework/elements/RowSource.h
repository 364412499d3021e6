// TRowSource: something rows can be read from one by one (First / Next) —
// the base of the row storages.
//
// Ownership: borrows its table. Rows answered by Next stay owned by the
// source.
#pragma once

#include <cstdint>
#include <string>

#include "dataframework/elements/ElementsFwd.h"
#include "platform/Object.h"

namespace platform {
class TStrings;
}

namespace dataframework {

class TRowSource : public platform::TObject {
 public:
  TRowSource(TDataTable* Table, uint8_t SourceKind);
  ~TRowSource() override;
  TRowSource(const TRowSource&) = delete;
  TRowSource& operator=(const TRowSource&) = delete;

  // Starts a walk over the source's rows.
  virtual void First() = 0;
  // The next row of the walk, or none at its end.
  virtual TAbstractRow* Next() = 0;
  // A hook for subclasses; does nothing.
  virtual void SourceHook() {}
  // The order rows come in; none here.
  virtual TRowSortOrder* SortOrder() const { return nullptr; }
  virtual bool IsStorage() const = 0;
  // The table's name.
  virtual void Description(std::string& Text) const;
  // Debugging listing of sources: a source not yet in Sources is added with
  // the text of (Sources' count + 1) as its number, and the line
  //   Indent*2 blanks + class name + "(" + table name + ") Output: " +
  //   OutputCount + " [" + number + "]"
  // is appended to Lines; answers true. A listed source appends only
  // Indent*2 blanks + "[" + its number + "]" and answers false.
  virtual bool WriteTrace(platform::TStrings& Sources, platform::TStrings& Lines, int Indent);

  int OutputCount() const noexcept { return FOutputCount; }
  uint8_t SourceKind() const noexcept { return FSourceKind; }
  TDataTable* Table() const noexcept { return FTable; }

 protected:
  int FOutputCount = 0;
  uint8_t FSourceKind;
  TDataTable* FTable;
};

}  // namespace dataframework
