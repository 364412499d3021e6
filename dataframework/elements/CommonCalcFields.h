// The module CommonCalcFields: the ready-made calculated fields (a constant,
// a header constant and the Boolean-to-text field).
#pragma once

#include "dataframework/elements/BooleanTextField.h"
#include "dataframework/elements/ConstantField.h"
#include "dataframework/elements/HeaderField.h"
