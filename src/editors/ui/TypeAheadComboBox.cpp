#include "editors/ui/TypeAheadComboBox.h"

#include <QKeyEvent>

namespace zmp {

TypeAheadComboBox::TypeAheadComboBox(QWidget* parent) : QComboBox(parent) {
  // A choice set from outside (filling, a click, a restore) starts afresh.
  connect(this, &QComboBox::currentIndexChanged, this, [this] {
    if (!selecting_) ForgetTyping();
  });
}

void TypeAheadComboBox::ForgetTyping() {
  typed_.clear();
  typing_ = false;
}

void TypeAheadComboBox::CancelTyping() {
  if (!typing_) return;
  ForgetTyping();
  if (from_ < count()) setCurrentIndex(from_);
}

void TypeAheadComboBox::SelectTyped() {
  for (int i = 0; i < count(); ++i) {
    if (!itemText(i).startsWith(typed_, Qt::CaseInsensitive)) continue;
    if (!typing_) from_ = currentIndex();
    typing_ = true;
    selecting_ = true;
    setCurrentIndex(i);
    selecting_ = false;
    return;
  }
  typed_.chop(1);  // no entry starts so: the key is dropped
}

void TypeAheadComboBox::keyPressEvent(QKeyEvent* e) {
  const QString t = e->text();
  const bool plain = !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  // A space opens the list unless it is part of the typed text.
  if (plain && t.size() == 1 && t[0].isPrint() && (t[0] != QLatin1Char(' ') || !typed_.isEmpty())) {
    typed_ += t;
    SelectTyped();
    return;
  }
  if (e->key() == Qt::Key_Backspace && !typed_.isEmpty()) {
    typed_.chop(1);
    if (!typed_.isEmpty()) SelectTyped();
    return;
  }
  if (e->key() == Qt::Key_Escape && HasTypedChoice()) {
    CancelTyping();
    return;
  }
  QComboBox::keyPressEvent(e);
}

void TypeAheadComboBox::focusOutEvent(QFocusEvent* e) {
  // Opening the list keeps the typed choice for the list to show.
  if (e->reason() != Qt::PopupFocusReason && typing_) {
    ForgetTyping();
    if (currentIndex() != from_ && currentIndex() >= 0) emit activated(currentIndex());
  }
  QComboBox::focusOutEvent(e);
}

void TypeAheadComboBox::showPopup() {
  typed_.clear();
  QComboBox::showPopup();
}

}  // namespace zmp
