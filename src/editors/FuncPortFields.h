// Function port: what each auxiliary pin of the repeater does.
//  - inputs: one row per input (fixed inputs, then the option ports set to
//    input), a chain of up to three functions each, offered as the port
//    inputs' availability allows; a chain has no gaps: blanking a function
//    blanks the ones after it, and a function after a blank is refused;
//  - outputs: one row per output (fixed outputs, then the option ports set to
//    output), its output function and polarity;
//  - ports: the input level and the direction of each option port. A port
//    that changes direction keeps the bytes of the other direction; its rows
//    come and go with the direction.
// Standard library only.
#pragma once

#include "fields/FieldTypes.h"

namespace zmp {

const EditorModule& FuncPortModule();

}  // namespace zmp
