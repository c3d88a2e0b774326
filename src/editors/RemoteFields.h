// Remote control: the 5-tone codes that switch the programmable keys and the
// auxiliary inputs and outputs remotely. Each key, input and output has a
// three-byte record: activation code, deactivation code and mode.
//
// A code refers to the 5-tone table by the state of what it switches: with a
// function assigned it is a decode reference ("Decode n"), without one an
// encode reference ("Encode n"); 0xFF is none. A code that does not fit the
// present state (or names nothing) shows as none and is kept as it is until
// the user commits a field of that row, which clears it in the same step.
// A mode byte outside 0..3 shows nothing.
// Standard library only.
#pragma once

#include "fields/FieldTypes.h"

namespace zmp {

const EditorModule& RemoteModule();

// Whether a stored code fits a record whose key or port has (or has not) a
// function: none always fits.
bool RemoteCodeFits(long code, bool hasFunction);

}  // namespace zmp
