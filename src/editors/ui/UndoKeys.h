// Ctrl+Z and Ctrl+Y belong to the document: in an editor they undo and redo
// committed changes exactly as Edit > Undo and Redo, never an edit field's
// own typing history.
#pragma once

#include <QObject>

class QKeyEvent;

namespace zmp {

enum class UndoKey { None, Undo, Redo };

// Which of the two a key is (also the platform's other redo key, Ctrl+Shift+Z).
UndoKey UndoKeyOf(const QKeyEvent* e);

// Watches a control that would take the keys for its own undo (a line edit,
// a spin box, an editable list): it lets them pass to the Edit menu's
// shortcuts and drops them when they reach the control anyway.
class DocumentUndoKeys : public QObject {
 public:
  using QObject::QObject;
  // Watches w and the line edit it holds.
  static void Install(QWidget* w);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
};

}  // namespace zmp
