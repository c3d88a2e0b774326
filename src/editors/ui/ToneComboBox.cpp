#include "editors/ui/ToneComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace zmp {

bool FilterComboKey(QComboBox* box, QEvent* e, std::optional<char> (*filter)(char)) {
  if (e->type() != QEvent::KeyPress) return false;
  auto* k = static_cast<QKeyEvent*>(e);
  if (k->key() == Qt::Key_Backspace || k->key() == Qt::Key_Escape) return false;
  const QString t = k->text();
  if (t.size() != 1 || !t[0].isPrint() || (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
    return false;  // navigation, Enter, Tab, function keys
  const QChar ch = t[0];
  if (ch.unicode() >= 128) return true;
  const auto accepted = filter(static_cast<char>(ch.unicode()));
  if (!accepted) return true;
  if (*accepted != static_cast<char>(ch.unicode())) {
    if (QLineEdit* edit = box->lineEdit()) edit->insert(QString(QChar::fromLatin1(*accepted)));
    return true;
  }
  return false;
}

ToneComboBox::ToneComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setMaxVisibleItems(20);
  lineEdit()->installEventFilter(this);
  Fill();
}

void ToneComboBox::Fill() {
  clear();
  for (int k = 0; k < kToneListCount; ++k) addItem(QString::fromStdString(ToneListText(k)));
  lineEdit()->setMaxLength(kToneTextMaxLength);
}

void ToneComboBox::SetCode(ToneCode code) {
  const QString text = QString::fromStdString(ToneCodeToText(code));
  const int i = findText(text, Qt::MatchExactly);
  if (i >= 0) {
    setCurrentIndex(i);
  } else {
    setCurrentIndex(-1);
    setEditText(text);
  }
}

void ToneComboBox::keyPressEvent(QKeyEvent* e) {
  // Keys reach the edit field through the combo as well as directly.
  if (FilterComboKey(this, e, &ToneKeyFilter)) return;
  QComboBox::keyPressEvent(e);
}

bool ToneComboBox::eventFilter(QObject* watched, QEvent* e) {
  if (watched == lineEdit() && FilterComboKey(this, e, &ToneKeyFilter)) return true;
  return QComboBox::eventFilter(watched, e);
}

}  // namespace zmp
