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

// Tells every module that a channel was deleted.
void ReleaseDeletedChannel(ImageStore& image, int channel);
// Tells every module that CW message `message` (1..8), which held text, is
// empty now: settings that send it let it go.
void ReleaseEmptiedCwMessage(ImageStore& image, int message);
// Tells every module that the image was replaced (open, new, read).
void NotifyImageReplaced(ImageStore& image);

}  // namespace zmp
