#include "editors/ui/FieldControls.h"

#include <QLineEdit>

#include "editors/ui/FilterEdit.h"

namespace zmp {

FieldSpin::FieldSpin(QWidget* parent, std::uint8_t filterMode, int maxLength) : QAbstractSpinBox(parent) {
  auto* edit = new FilterEdit(this, filterMode);
  if (maxLength > 0) edit->setMaxLength(maxLength);
  setLineEdit(edit);
  setKeyboardTracking(false);
  // Room for the longest entry and the buttons.
  const int chars = maxLength > 0 ? maxLength + 1 : 8;
  setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + 32);
  connect(this, &QAbstractSpinBox::editingFinished, this, [this] {
    const QString text = lineEdit()->text();
    if (text != shown_) emit TextCommitted(text);
  });
}

void FieldSpin::SetShownText(const QString& text) {
  shown_ = text;
  const bool was = blockSignals(true);
  lineEdit()->setText(text);
  blockSignals(was);
}

void FieldSpin::stepBy(int steps) {
  if (steps != 0) emit Stepped(steps > 0);
  lineEdit()->selectAll();
}

}  // namespace zmp
