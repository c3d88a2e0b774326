// Remote control: the 5-tone codes that switch the programmable keys and the
// auxiliary inputs and outputs remotely. Each key, input and output has a
// three-byte record: activation code, deactivation code and mode.
//
// A code refers to the 5-tone table by the state of what it switches: with a
// function assigned it is a decode reference ("Decode n"), without one an
// encode reference ("Encode n"); 0xFF is none. A change that takes the fit
// away (the owner's function goes or comes) releases the code in the same
// step; a code that already did not fit is shown as what it names, marked,
// and kept until the user chooses another. A mode byte outside 0..3 shows
// nothing.
// Standard library only.
#pragma once

#include "fields/FieldTypes.h"

namespace zmp {

const EditorModule& RemoteModule();

}  // namespace zmp
