#include "dataframework/elements/RowSource.h"

#include "dataframework/elements/DataTable.h"
#include "platform/StringList.h"

namespace dataframework {

TRowSource::TRowSource(TDataTable* Table, uint8_t SourceKind)
    : FSourceKind(SourceKind), FTable(Table) {}

TRowSource::~TRowSource() = default;

void TRowSource::Description(std::string& Text) const {
  Text = FTable != nullptr ? FTable->TableName() : std::string();
}

bool TRowSource::WriteTrace(platform::TStrings& Sources, platform::TStrings& Lines, int Indent) {
  std::string blanks(static_cast<size_t>(Indent > 0 ? Indent * 2 : 0), ' ');
  int listed = Sources.IndexOfObject(this);
  if (listed >= 0) {
    Lines.Add(blanks + "[" + Sources.Get(listed) + "]");
    return false;
  }
  std::string number = std::to_string(Sources.Count() + 1);
  Sources.AddObject(number, this);
  std::string tableName = FTable != nullptr ? FTable->TableName() : std::string();
  Lines.Add(blanks + ClassName() + "(" + tableName + ") Output: " + std::to_string(FOutputCount) +
            " [" + number + "]");
  return true;
}

}  // namespace dataframework
