// The main window's commands, one row each: what runs the command and when it
// is on. Where a command shows, its text and its shortcut (after a tab in the
// text) are its menu row's (Commands.h). A command without a row here is off,
// except an editor's, which opens its editor and is on while that editor is
// built.
//
// A new command: its number and menu row in Commands.h/.cpp, one row in
// CommandList.cpp, and its handler in the file of its menu (FileCommands.cpp,
// ProgramCommands.cpp, ToolsCommands.cpp, SetupCommands.cpp, HelpCommands.cpp,
// PrintCommands.cpp).
#pragma once

#include <QKeySequence>

#include "app/MainFrame.h"

namespace zmp {

struct CMainFrame::CommandRow {
  int id;
  void (*run)(CMainFrame&);
  // When the command may run; nullptr: always.
  bool (*enabled)(const CMainFrame&) = nullptr;
  // Toggles (View menu): whether the entry shows its check mark; nullptr:
  // the entry is no toggle.
  bool (*checked)(const CMainFrame&) = nullptr;
  // The shortcut when the entry's text names none.
  QKeySequence shortcut{};
};

}  // namespace zmp
