#include "dataframework/elements/RowSource.h"

#include "dataframework/Unbuilt.h"

namespace dataframework {

TRowSource::TRowSource(TDataTable* Table, uint8_t SourceKind)
    : FSourceKind(SourceKind), FTable(Table) {}
TRowSource::~TRowSource() = default;
void TRowSource::Description(std::string&) const { CLAVIRA_UNBUILT(); }
bool TRowSource::WriteTrace(platform::TStrings&, platform::TStrings&, int) { CLAVIRA_UNBUILT(); }

}  // namespace dataframework
