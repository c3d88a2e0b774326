#include "editors/ui/NumberComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "ui/Messages.h"
#include "editors/ui/ToneComboBox.h"

namespace zmp {

namespace {
std::optional<char> DigitsOnly(char c) {
  if (c >= '0' && c <= '9') return c;
  return std::nullopt;
}
}  // namespace

NumberComboBox::NumberComboBox(QWidget* parent, int first, int last, int step) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setMaxVisibleItems(20);
  lineEdit()->installEventFilter(this);
  Fill(first, last, step);
}

void NumberComboBox::Fill(int first, int last, int step) {
  first_ = first;
  last_ = last;
  clear();
  addItem(QTx(719_txt), 0);
  for (int v = first; v <= last; v += step > 0 ? step : 1) addItem(QString::number(v), v);
}

void NumberComboBox::SetValue(long value) {
  if (value == 0) {
    setCurrentIndex(0);
    return;
  }
  const int i = value >= first_ && value <= last_ ? findData(static_cast<int>(value)) : -1;
  setCurrentIndex(i);
  if (i < 0) setEditText(QString());
}

void NumberComboBox::keyPressEvent(QKeyEvent* e) {
  // Keys reach the edit field through the combo as well as directly.
  if (eventFilter(lineEdit(), e)) return;
  QComboBox::keyPressEvent(e);
}

bool NumberComboBox::eventFilter(QObject* watched, QEvent* e) {
  if (watched == lineEdit() && e->type() == QEvent::KeyPress) {
    // At most two digits; "Off" itself is longer, so the edit has no length limit.
    const QString t = static_cast<QKeyEvent*>(e)->text();
    QLineEdit* edit = lineEdit();
    const bool isDigit = t.size() == 1 && t[0] >= QChar('0') && t[0] <= QChar('9');
    const bool offShown = edit->text() == QTx(719_txt);
    if (isDigit && offShown) edit->clear();
    if (isDigit && edit->text().size() - edit->selectedText().size() >= kMaxDigits) return true;
  }
  if (watched == lineEdit() && FilterComboKey(this, e, &DigitsOnly)) return true;
  return QComboBox::eventFilter(watched, e);
}

}  // namespace zmp
