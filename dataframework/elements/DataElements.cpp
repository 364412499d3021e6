// Module start and end of the data elements: the process-wide registries and
// shared defaults.
#include "dataframework/elements/DataElements.h"
