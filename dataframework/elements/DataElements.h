// The data elements module: fields, tables, rows and subtotal rows.
#pragma once

#include "dataframework/elements/ElementsFwd.h"
