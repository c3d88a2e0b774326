// Additions of other parts of the program that the application attaches at
// start-up: editor default routines (AddDefaultRoutine, data/NewImage.h) and
// main window commands (CMainFrame::RegisterCommandHandler). Each part adds
// one call here to a function of its own.
#include "app/Application.h"
#include "app/PrintCommands.h"

namespace zmp {

void AttachExtensions() { AttachPrinting(); }

}  // namespace zmp
