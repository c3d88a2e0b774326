#include "editors/ui/SpinEditWidget.h"

#include <QLineEdit>

#include "editors/ui/UndoKeys.h"

namespace zmp {

SpinEdit::SpinEdit(QWidget* parent, RangeRecord range) : QSpinBox(parent) {
  SetRange(range);
  // Ctrl+Z and Ctrl+Y undo the document, not the typing of a row number.
  DocumentUndoKeys::Install(this);
  setKeyboardTracking(false);
  connect(this, &QSpinBox::editingFinished, this, [this] {
    const int v = static_cast<int>(LimitToRange(value(), range_));
    if (v != value()) setValue(v);
    if (v != shown_) {
      shown_ = v;
      emit UserChanged(v);
    }
  });
}

void SpinEdit::SetShownValue(int v) {
  const bool was = blockSignals(true);
  setValue(v);
  blockSignals(was);
  shown_ = value();
}

void SpinEdit::SetRange(RangeRecord range) {
  range_ = range;
  const bool was = blockSignals(true);
  setRange(static_cast<int>(range.minimum), static_cast<int>(range.maximum));
  setSingleStep(static_cast<int>(range.step));
  blockSignals(was);
  shown_ = value();
}

void SpinEdit::stepBy(int steps) {
  if (steps == 0) return;
  const int v = static_cast<int>(SpinStep(value(), range_, steps > 0));
  setValue(v);
  selectAll();
  if (v != shown_) {
    shown_ = v;
    emit UserChanged(v);
  }
}

QValidator::State SpinEdit::validate(QString& input, int& pos) const {
  // Digits only; the range is applied when typing ends.
  for (QChar c : input)
    if (!c.isDigit()) return QValidator::Invalid;
  (void)pos;
  if (input.size() > QString::number(range_.maximum).size()) return QValidator::Invalid;
  // A number outside the range is limited when typing ends, not refused.
  if (input.isEmpty() || input.toLong() < range_.minimum || input.toLong() > range_.maximum)
    return QValidator::Intermediate;
  return QValidator::Acceptable;
}

void SpinEdit::fixup(QString& input) const {
  input = QString::number(LimitToRange(input.isEmpty() ? range_.minimum : input.toLong(), range_));
}

}  // namespace zmp
