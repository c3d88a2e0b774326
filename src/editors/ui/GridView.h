// What the grid windows share (channel information, test frequencies): one
// grid bound to the document, the view's commands with the popup menu of
// Copy, Paste and Delete, and the rules of those commands: an open cell is
// stored first, and a command works only with the focus on the grid.
#pragma once

#include <QWidget>
#include <functional>

#include "editors/ui/EditorDocument.h"
#include "editors/ui/FieldFocus.h"
#include "editors/ui/ViewCommands.h"

class QAction;
class QMenu;

namespace zmp {

class EditGrid;
class EditorButtons;

class GridView : public QWidget, public FieldFocusView {
  Q_OBJECT
 public:
  // Command numbers of the grid windows.
  static constexpr int kCmdDelete = 32740;
  static constexpr int kCmdCopy = 32741;
  static constexpr int kCmdPaste = 32742;

  EditGrid* Grid() const { return grid_; }
  QMenu* PopupMenu() const { return popup_; }
  QAction* Action(int command) const;

  // The commands; each returns whether it did something.
  virtual bool OnCopy() = 0;
  virtual bool OnDelete() = 0;
  // Paste (Ctrl+V, the popup's Paste): what the window copied itself while
  // no text has reached the system clipboard since, else the clipboard's text.
  virtual bool OnPasteLatest() = 0;
  // The clipboard's text cell by cell (a spreadsheet's rows, "to Clip" text).
  bool OnPasteText();
  // Reads every row again from the working image.
  virtual void Reload() = 0;

 signals:
  void HelpRequested(const QString& target);

 protected:
  // The grid gets the object name "ctl<gridId>".
  GridView(EditorDocument& doc, int gridId, QWidget* parent);
  // Fills the popup with Copy, Paste and Delete and connects the grid: Delete,
  // the popup, help through the buttons, a reload whenever the image changes.
  void ConnectGrid(QMenu* popup, EditorButtons* buttons);
  // Stores an open cell; true when the focus is on the grid.
  bool GridReady();
  bool GridHasFocus() const;
  // Paste of the window's own copy while it is the newest, else OnPasteText.
  bool PasteLatest(const void* clipboard, bool clipboardEmpty, const std::function<bool()>& pasteOwn);

  EditorDocument& doc_;
  EditGrid* grid_;
  QMenu* popup_ = nullptr;
  ViewCommands commands_{*this};
};

}  // namespace zmp
