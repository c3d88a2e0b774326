// The main window's commands, one row each, in the order of the menus: where
// the command shows, its text (its shortcut after a tab in the text), what
// runs it and when it is on. Menus, the function tree, actions, enabling and
// dispatch are all built from this one list.
//
// A new command: its number in Commands.h, one row in CommandList.cpp, and its
// handler in the file of its menu (FileCommands.cpp, ProgramCommands.cpp,
// ToolsCommands.cpp, SetupCommands.cpp, HelpCommands.cpp, PrintCommands.cpp).
#pragma once

#include <QKeySequence>
#include <optional>

#include "app/MainFrame.h"

namespace zmp {

struct CMainFrame::CommandRow {
  using Run = void (*)(CMainFrame&);
  using Rule = bool (*)(const CMainFrame&);

  // The menu the entry shows in; Menu::None: no menu (an editor opened from
  // another editor).
  cmd::Menu menu;
  // The command number; 0: a separator (shown only between entries).
  int id;
  TextNo text{0};
  // What runs the command; nullptr: an editor's command opens its editor, any
  // other command is off.
  Run run = nullptr;
  // When the command may run; nullptr: always (an editor's: while it is built).
  Rule enabled = nullptr;
  // Toggles (View menu): whether the entry shows its check mark; nullptr:
  // the entry is no toggle.
  Rule checked = nullptr;
  // The shortcut when the entry's text names none.
  QKeySequence shortcut{};
  // Whether the entry shows now; nullptr: always.
  Rule shown = nullptr;
  // The editor the command opens.
  std::optional<EditorKind> editor{};
  // The function tree's text of an editor's command; 0: not in the tree.
  TextNo treeText{0};
  // Editor entries: also shown with option board 1 (board 0 shows every one).
  bool onOptionBoard1 = false;
};

}  // namespace zmp
