// The storages module: the row storages with their view and criteria.
#pragma once

#include "dataframework/elements/AbstractRowStorage.h"
#include "dataframework/elements/CustomRowStorage.h"
#include "dataframework/elements/GetRowsHandler.h"
#include "dataframework/elements/RowSortOrder.h"
#include "dataframework/elements/RowStorage.h"
#include "dataframework/elements/RowStorageTreeKey.h"
