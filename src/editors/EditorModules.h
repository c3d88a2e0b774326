// The one list of editor modules: every editor that is built, with its field
// tables and what happens to its data when a new image is made, the band
// changes, a channel is deleted or the image is replaced. The forms, the
// command-line tool, the printout and the tests all walk this list.
// Standard library only.
#pragma once

#include "fields/FieldWalk.h"

namespace zmp {

// In menu order.
ModuleList EditorModules();
// The module of an editor kind, or nullptr when that editor is not built.
const EditorModule* ModuleOf(int kind);

// Attaches the modules' default routines to the new-image defaults. Runs once
// when the program starts (idempotent).
void InstallEditorModules();

}  // namespace zmp
