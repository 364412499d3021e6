// The data elements module (DataElements): fields, tables, table types,
// bridges, cache load policies, running numbers, rows, subtotal rows and the
// storage base. Including this header gives every class of the module, and
// also the calculated fields and the row list.
//
// The module's process-wide objects are reached through the accessors below;
// each is made on first use. The two registries are never freed: fields and
// tables unregister themselves whenever they die, also during the process's
// own teardown, so the registries must outlive every one of them. The other
// shared objects are freed at process exit.
#pragma once

#include "dataframework/elements/AbstractRow.h"
#include "dataframework/elements/AbstractRowStorage.h"
#include "dataframework/elements/CacheLoadPolicy.h"
#include "dataframework/elements/CalcField.h"
#include "dataframework/elements/CommonCalcFields.h"
#include "dataframework/elements/DataBridge.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataFieldSet.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/DataTableType.h"
#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/elements/FieldRegistry.h"
#include "dataframework/elements/GetRowsHandler.h"
#include "dataframework/elements/KeyField.h"
#include "dataframework/elements/RowList.h"
#include "dataframework/elements/RowSortOrder.h"
#include "dataframework/elements/RowSource.h"
#include "dataframework/elements/RowStorageTreeKey.h"
#include "dataframework/elements/RunningNumberGenerator.h"
#include "dataframework/elements/Singleton.h"
#include "dataframework/elements/SubTotalHandler.h"
#include "dataframework/elements/SubTotalRow.h"

namespace dataframework {

// Data fields by name (FindFieldByName).
TFieldRegistry& FieldRegistry();
// Data tables with a table type, by name (FindTableByName).
TFieldRegistry& TableRegistry();
// The shared default cache load policy (NoCriteriaKeyCount 0).
TDefaultCacheLoadPolicy& DefaultCacheLoadPolicy();
// The shared default running-number generator.
TDefaultRunningNumberGenerator& DefaultRunningNumberGenerator();

}  // namespace dataframework
