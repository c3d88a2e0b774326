// The grid's overlay editors: opening the column's editor over a cell, its
// text, its keys, and the commit or cancel of what was typed.
#include "editors/ui/EditGrid.h"

#include <QApplication>
#include <algorithm>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

#include "lang/LanguageTexts.h"
#include "ui/Messages.h"
#include "editors/GridTextPaste.h"
#include "editors/ui/FilterEdit.h"
#include "editors/ui/NumberComboBox.h"
#include "editors/ui/ToneComboBox.h"
#include "editors/ui/TypeAheadComboBox.h"
#include "editors/ui/UndoKeys.h"

namespace zmp {

QWidget* EditGrid::EditorFor(CellEditor kind) const {
  switch (kind) {
    case CellEditor::Text: return text_;
    case CellEditor::Tone: return tone_;
    case CellEditor::Number: return number_;
    case CellEditor::List: return list_;
    case CellEditor::None: break;
  }
  return nullptr;
}

QWidget* EditGrid::OpenEditor() const {
  if (!IsEditing() || !Source()) return nullptr;
  return EditorFor(Source()->Column(editCol_).editor);
}

bool EditGrid::IsInEditor(QWidget* w) const {
  QWidget* ed = OpenEditor();
  for (; w; w = w->parentWidget())
    if (w == ed) return true;
  return false;
}

QString EditGrid::EditorText() const {
  QWidget* ed = OpenEditor();
  if (ed == text_) return text_->text();
  // A list with nothing chosen keeps the cell's text.
  if (ed == list_ && list_->currentIndex() < 0) return editOriginal_;
  if (auto* box = qobject_cast<QComboBox*>(ed)) return box->currentText();
  return {};
}

void EditGrid::SetEditorText(const QString& t) {
  QWidget* ed = OpenEditor();
  if (ed == text_) {
    text_->setText(t);
    text_->selectAll();
  } else if (ed == list_) {
    // A value the list does not offer shows the cell's text (for a key: "Off")
    // until the user picks an entry.
    list_->setPlaceholderText(t);
    list_->setCurrentIndex(list_->findText(t, Qt::MatchExactly));
  } else if (auto* box = qobject_cast<QComboBox*>(ed)) {
    const int i = t.isEmpty() ? -1 : box->findText(t, Qt::MatchExactly);
    box->setCurrentIndex(i);
    if (i < 0) box->setEditText(t);
    box->lineEdit()->selectAll();
  }
}

bool EditGrid::KeyStartsEdit(int col, const QString& key) const {
  GridSource* s = Source();
  if (!s || key.size() != 1 || key[0].unicode() >= 128) return false;
  const char c = static_cast<char>(key[0].unicode());
  const GridColumn& column = s->Column(col);
  switch (column.editor) {
    case CellEditor::Text: {
      FilterContext ctx;
      return FilterChar(column.filterMode, c, ctx).has_value();
    }
    case CellEditor::Tone: return ToneKeyFilter(c).has_value();
    case CellEditor::Number: return c >= '0' && c <= '9';
    case CellEditor::List: return true;
    case CellEditor::None: return false;
  }
  return false;
}

bool EditGrid::BeginCellEdit(int row, int col, const QString& firstKey) {
  GridSource* s = Source();
  if (!s || row < 0 || row >= s->RowCount() || col < 0 || col >= s->ColumnCount()) return false;
  if (IsEditing()) CommitCellEdit();
  if (!s->IsEditable(row, col)) return false;
  const GridColumn& column = s->Column(col);
  QWidget* ed = EditorFor(column.editor);
  if (!ed) return false;
  if (!firstKey.isEmpty() && !KeyStartsEdit(col, firstKey)) return false;
  SetCurrentCell(row, col);
  editRow_ = row;
  editCol_ = col;
  editOriginal_ = model_->data(model_->index(row, col), Qt::DisplayRole).toString();
  if (column.editor == CellEditor::Text) {
    text_->SetMode(column.filterMode);
    // A text with escaped bytes may be longer than what can be typed: it
    // opens whole, so that leaving the cell changes nothing.
    text_->setMaxLength(column.maxLength > 0 ? std::max(column.maxLength, static_cast<int>(editOriginal_.size()))
                                             : 32767);
  } else if (column.editor == CellEditor::Number) {
    if (number_->First() != column.numberFirst || number_->Last() != column.numberLast)
      number_->Fill(column.numberFirst, column.numberLast);
  } else if (column.editor == CellEditor::List) {
    list_->clear();
    list_->ForgetTyping();
    for (const auto& c : s->Choices(row, col)) list_->addItem(QString::fromStdString(c.text), QVariant::fromValue<qlonglong>(c.value));
  }
  SetEditorText(startEmpty_ ? QString() : editOriginal_);
  startEmpty_ = false;
  PlaceEditor();
  ed->show();
  ed->raise();
  ed->setFocus(Qt::OtherFocusReason);
  if (!firstKey.isEmpty()) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, firstKey);
    QWidget* target = ed;
    if (auto* box = qobject_cast<QComboBox*>(ed); box && box->lineEdit()) target = box->lineEdit();
    QApplication::sendEvent(target, &press);
  }
  return true;
}

void EditGrid::PlaceEditor() {
  QWidget* ed = OpenEditor();
  if (!ed) return;
  const QRect r = visualRect(model_->index(editRow_, editCol_));
  ed->setGeometry(r);
}

void EditGrid::HideEditor(bool giveFocusToGrid) {
  QWidget* ed = OpenEditor();
  const bool hadFocus = ed && IsInEditor(QApplication::focusWidget());
  editRow_ = editCol_ = -1;
  if (ed) ed->hide();
  if (giveFocusToGrid && hadFocus) setFocus(Qt::OtherFocusReason);
}

bool EditGrid::CommitCellEdit() {
  if (!IsEditing() || inCommit_) return false;
  inCommit_ = true;
  const int row = editRow_, col = editCol_;
  const QString typed = EditorText();
  const bool changed = typed != editOriginal_;
  const bool fromList = OpenEditor() == list_ && list_->currentIndex() >= 0;
  const long value = fromList ? list_->currentData().toLongLong() : 0;
  HideEditor(true);
  CellCommit result;
  if (changed && fromList && commitValue_) result = commitValue_(row, col, value);
  else if (changed && commit_) result = commit_(row, col, typed.toStdString());
  model_->ReloadRow(row);
  inCommit_ = false;
  // A stored value may come with a warning (a frequency outside the band).
  if (result.message.n != 0) {
    if (result.stored) Notice(this, result.message);
    else Error(this, result.message);
  }
  if (changed) emit CellCommitted(row, col);
  return result.stored;
}

void EditGrid::CancelCellEdit() {
  if (!IsEditing()) return;
  SetEditorText(editOriginal_);
  HideEditor(true);
}

bool EditGrid::EditorKey(QKeyEvent* k) {
  const bool ctrl = k->modifiers() & Qt::ControlModifier;
  switch (k->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
      if (ctrl) return false;
      const bool next = k->key() == Qt::Key_Tab && !(k->modifiers() & Qt::ShiftModifier);
      CommitCellEdit();
      setFocus(Qt::TabFocusReason);
      if (!tabCells_ || !StepCell(next)) focusNextPrevChild(next);
      return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      if (auto* box = qobject_cast<QComboBox*>(OpenEditor()); box && box->view()->isVisible()) return false;
      const int row = editRow_, col = editCol_;
      CommitCellEdit();
      setFocus(Qt::OtherFocusReason);
      // With Shift or Ctrl held the current cell stays.
      if (k->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) return true;
      GridSource* s = Source();
      if (s && s->EnterMovesDown(row, col)) {
        if (row + 1 < s->RowCount()) SetCurrentCell(row + 1, col);
      } else {
        MoveToNextCell();
      }
      return true;
    }
    case Qt::Key_Escape:
      if (auto* box = qobject_cast<QComboBox*>(OpenEditor()); box && box->view()->isVisible()) return false;
      CancelCellEdit();
      return true;
    case Qt::Key_F1:
      emit HelpRequested(CurrentHelpTarget());
      return true;
    default:
      return false;
  }
}

bool EditGrid::EditorUndoKey(QKeyEvent* k) {
  const UndoKey key = UndoKeyOf(k);
  if (key == UndoKey::None) return false;
  // Ctrl+Z over a cell being typed into puts back the cell's text, as Escape
  // does. Otherwise the editor closes and the override is left for the Edit
  // menu's Undo and Redo, which take back committed changes.
  const bool typed = EditorText() != editOriginal_;
  if (key == UndoKey::Undo && typed) {
    if (k->type() == QEvent::ShortcutOverride) k->accept();
    else CancelCellEdit();
  } else if (k->type() == QEvent::ShortcutOverride && !typed) {
    CancelCellEdit();
  }
  return true;
}

bool EditGrid::eventFilter(QObject* watched, QEvent* e) {
  auto* w = qobject_cast<QWidget*>(watched);
  if (w && IsEditing() && IsInEditor(w)) {
    if ((e->type() == QEvent::ShortcutOverride || e->type() == QEvent::KeyPress) &&
        EditorUndoKey(static_cast<QKeyEvent*>(e)))
      return true;
    if (e->type() == QEvent::KeyPress && EditorKey(static_cast<QKeyEvent*>(e))) return true;
    if (e->type() == QEvent::FocusOut) {
      auto* f = static_cast<QFocusEvent*>(e);
      // Opening a combo's list moves the focus into the list, not away.
      if (f->reason() != Qt::PopupFocusReason && !IsInEditor(QApplication::focusWidget()) &&
          !IsMessageOpen())
        CommitCellEdit();
    }
  }
  return QTableView::eventFilter(watched, e);
}

}  // namespace zmp
