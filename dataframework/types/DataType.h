// The data type module: the value record, the abstract data type and every
// concrete type class with its process-wide instance. Include this header to
// use data types; the family headers below hold the classes.
#pragma once

#include "dataframework/types/DataTypeCore.h"
#include "dataframework/types/DateTimeTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/ReferenceTypes.h"
#include "dataframework/types/TextTypes.h"
#include "dataframework/types/ValueList.h"
