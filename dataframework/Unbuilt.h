// Marks a body still to be written while the data framework's parts are laid
// down side by side. Every use must be gone before the work is called done;
// the header itself goes with the last use.
#pragma once

#include "platform/Exception.h"

#define CLAVIRA_UNBUILT() throw ::platform::Exception(std::string("unbuilt: ") + __func__)
