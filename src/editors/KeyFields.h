// Key assignment: the function of each of the six programmable front-panel
// keys, word 0 of the key's group (0x2C0 + 8k for key k = key number - 1).
// The list offers the functions available on keys; a key whose function is
// no longer offered shows "Off" until another is chosen; a change of the
// function resets the key's parameter record. Deleting a channel releases
// its channel-select code from every list. Standard library only.
#pragma once

#include "fields/FieldTypes.h"

namespace zmp {

const EditorModule& KeyModule();
const FieldTable& KeyTable();

// The text a key shows for a code: the function's name when it is offered on
// keys, "Off" (text 719) for a function that is not, empty for an unknown code.
std::string KeyFunctionText(const ImageStore& image, std::uint16_t code);

}  // namespace zmp
