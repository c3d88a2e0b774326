#include "editors/ui/FieldControls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

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

StepButtons::StepButtons(QWidget* parent) : QAbstractSpinBox(parent) {
  setReadOnly(true);
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
}

void StepButtons::stepBy(int steps) {
  if (steps != 0) emit Stepped(steps > 0);
}

QSize StepButtons::sizeHint() const {
  const QSize s = QAbstractSpinBox::sizeHint();
  return {fontMetrics().horizontalAdvance(QLatin1Char('0')) + 24, s.height()};
}

OrderedListSpin::OrderedListSpin(QWidget* parent)
    : QWidget(parent), list_(new QListWidget(this)), spin_(new StepButtons(this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->installEventFilter(this);
  layout->addWidget(list_, 1);
  layout->addWidget(spin_, 0, Qt::AlignVCenter);
  setFocusProxy(list_);
  connect(spin_, &StepButtons::Stepped, this, [this](bool up) {
    if (Selected() >= 0) emit MoveRequested(Selected(), up);
  });
}

void OrderedListSpin::SetEntries(const QStringList& entries) {
  const int selected = Selected();
  list_->clear();
  for (int i = 0; i < entries.size(); ++i) list_->addItem(QStringLiteral("%1   %2").arg(i + 1).arg(entries[i]));
  list_->setFixedHeight(list_->sizeHintForRow(0) * static_cast<int>(entries.size()) + 2 * list_->frameWidth() + 2);
  Select(selected < 0 ? 0 : selected);
}

QStringList OrderedListSpin::Entries() const {
  QStringList out;
  for (int i = 0; i < list_->count(); ++i) out << list_->item(i)->text().section(QStringLiteral("   "), 1);
  return out;
}

int OrderedListSpin::Selected() const { return list_->currentRow(); }

void OrderedListSpin::Select(int index) {
  if (index >= 0 && index < list_->count()) list_->setCurrentRow(index);
}

bool OrderedListSpin::eventFilter(QObject* watched, QEvent* e) {
  if (watched == list_ && e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    const bool ctrl = k->modifiers() & Qt::ControlModifier;
    if (ctrl && (k->key() == Qt::Key_Up || k->key() == Qt::Key_Down) && Selected() >= 0) {
      emit MoveRequested(Selected(), k->key() == Qt::Key_Up);
      return true;
    }
  }
  return QWidget::eventFilter(watched, e);
}

ValueButton::ValueButton(const QString& caption, QWidget* parent)
    : QWidget(parent), button_(new QPushButton(caption, this)), value_(new QLabel(this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(button_);
  value_->setFrameShape(QFrame::StyledPanel);
  value_->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 14);
  layout->addWidget(value_, 1);
  setFocusProxy(button_);
}

}  // namespace zmp
