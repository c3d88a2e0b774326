#include "editors/ui/UndoKeys.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace zmp {

UndoKey UndoKeyOf(const QKeyEvent* e) {
  const auto mods = e->modifiers() & ~Qt::KeypadModifier;
  if (e->matches(QKeySequence::Undo)) return UndoKey::Undo;
  if (e->matches(QKeySequence::Redo) || (mods == Qt::ControlModifier && e->key() == Qt::Key_Y))
    return UndoKey::Redo;
  return UndoKey::None;
}

void DocumentUndoKeys::Install(QWidget* w) {
  auto* filter = new DocumentUndoKeys(w);
  w->installEventFilter(filter);
  if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) {
    if (auto* edit = spin->findChild<QLineEdit*>()) edit->installEventFilter(filter);
  } else if (auto* box = qobject_cast<QComboBox*>(w); box && box->lineEdit()) {
    box->lineEdit()->installEventFilter(filter);
  }
}

bool DocumentUndoKeys::eventFilter(QObject* watched, QEvent* e) {
  // An override left unaccepted lets the shortcut run; a key that arrives
  // all the same (the Edit menu's entry is disabled) does nothing.
  if ((e->type() == QEvent::ShortcutOverride || e->type() == QEvent::KeyPress) &&
      UndoKeyOf(static_cast<QKeyEvent*>(e)) != UndoKey::None)
    return true;
  return QObject::eventFilter(watched, e);
}

}  // namespace zmp
