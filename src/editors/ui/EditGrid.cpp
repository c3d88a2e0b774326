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

// --- EditGrid --------------------------------------------------------------------

EditGrid::EditGrid(QWidget* parent)
    : QTableView(parent),
      model_(new GridModel(this)),
      text_(new FilterEdit(viewport())),
      tone_(new ToneComboBox(viewport())),
      number_(new NumberComboBox(viewport())),
      list_(new TypeAheadComboBox(viewport())) {
  setModel(model_);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);  // Tab leaves the grid for the next control
  setWordWrap(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  // Rows are as high as the overlay combos, so that an editor fits its cell.
  verticalHeader()->setDefaultSectionSize(std::max(fontMetrics().height() + 6, tone_->sizeHint().height()));
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  for (QWidget* w : {static_cast<QWidget*>(text_), static_cast<QWidget*>(tone_),
                     static_cast<QWidget*>(number_), static_cast<QWidget*>(list_)}) {
    w->hide();
    w->installEventFilter(this);
  }
  for (QComboBox* box : {static_cast<QComboBox*>(tone_), static_cast<QComboBox*>(number_)})
    box->lineEdit()->installEventFilter(this);
  text_->setFrame(false);
  // A choice from a list commits at once.
  for (QComboBox* box : {static_cast<QComboBox*>(tone_), static_cast<QComboBox*>(number_), static_cast<QComboBox*>(list_)}) {
    connect(box, &QComboBox::activated, this, [this, box](int) {
      if (IsEditing() && OpenEditor() == box) {
        const bool hadFocus = IsInEditor(QApplication::focusWidget());
        CommitCellEdit();
        if (hadFocus) setFocus(Qt::OtherFocusReason);
      }
    });
  }
  commit_ = [this](int row, int col, const std::string& text) {
    return Source() ? Source()->SetCellText(row, col, text) : CellCommit{};
  };
  commitValue_ = [this](int row, int col, long value) {
    return Source() ? Source()->SetCellValue(row, col, value) : CellCommit{};
  };
}

EditGrid::~EditGrid() = default;

void EditGrid::SetSource(GridSource* source) {
  HideEditor(false);
  model_->SetSource(source);
  UpdateColumnWidths();
  if (source && source->RowCount() > 0 && source->ColumnCount() > 1) SetCurrentCell(0, 1);
}

void EditGrid::UpdateColumnWidths() {
  GridSource* s = Source();
  if (!s) return;
  const QFontMetrics fm = fontMetrics();
  const QFontMetrics hm = horizontalHeader()->fontMetrics();
  // The width values are pixels of a 13-pixel font; larger fonts widen them.
  const double scale = std::max(1.0, fm.height() / 13.0);
  // Every title and every text shows whole (a row title "Option Port 6").
  const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 4;
  for (int c = 0; c < s->ColumnCount(); ++c) {
    const int fromTable = static_cast<int>(s->Column(c).width * scale);
    int widest = hm.horizontalAdvance(QTx(s->Column(c).title)) + 16;
    for (int r = 0; r < model_->rowCount(); ++r)
      widest = std::max(widest, fm.horizontalAdvance(model_->data(model_->index(r, c), Qt::DisplayRole).toString()) + margin);
    setColumnWidth(c, std::max(fromTable, widest));
  }
}

void EditGrid::Reload() {
  model_->Reload();
  UpdateColumnWidths();
  PlaceEditor();  // over its cell as the columns widen
  if (IsEditing() && Source() && !Source()->IsEditable(editRow_, editCol_)) HideEditor(true);
}

void EditGrid::ReloadRow(int row) { model_->ReloadRow(row); }

int EditGrid::CurrentRow() const { return currentIndex().isValid() ? currentIndex().row() : 0; }
int EditGrid::CurrentColumn() const { return currentIndex().isValid() ? currentIndex().column() : 0; }

void EditGrid::SetCurrentCell(int row, int col) {
  const QModelIndex i = model_->index(row, col);
  if (!i.isValid()) return;
  selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
  scrollTo(i);
}

void EditGrid::MoveToNextCell() {
  GridSource* s = Source();
  if (!s) return;
  int row = CurrentRow(), col = CurrentColumn() + 1;
  if (col >= s->ColumnCount()) {
    if (row + 1 >= s->RowCount()) return;  // the last cell: nothing moves
    ++row;
    col = 1;
  }
  SetCurrentCell(row, col);
}

void EditGrid::SetTabMovesBetweenCells(bool on) { tabCells_ = on; }

bool EditGrid::event(QEvent* e) {
  // Before the focus moves on: Tab to the next cell while there is one. (Not
  // the view's own tab navigation, which also steps when a hidden editor
  // hands the focus back.)
  if (e->type() == QEvent::KeyPress && tabCells_) {
    auto* k = static_cast<QKeyEvent*>(e);
    const bool plain = !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) &&
        StepCell(k->key() == Qt::Key_Tab && !(k->modifiers() & Qt::ShiftModifier)))
      return true;
  }
  return QTableView::event(e);
}

bool EditGrid::StepCell(bool forward) {
  GridSource* s = Source();
  if (!s || s->ColumnCount() < 2) return false;
  int row = CurrentRow(), col = CurrentColumn() + (forward ? 1 : -1);
  if (col >= s->ColumnCount()) {
    ++row;
    col = 1;
  } else if (col < 1) {
    --row;
    col = s->ColumnCount() - 1;
  }
  if (row < 0 || row >= s->RowCount()) return false;
  SetCurrentCell(row, col);
  return true;
}

void EditGrid::ClearListCell(int row, int col) {
  if (IsEditing()) CommitCellEdit();
  GridSource* s = Source();
  if (!s || !s->IsEditable(row, col)) return;
  const std::optional<long> empty = s->EmptyChoice(row, col);
  if (!empty) return;
  const CellCommit result = commitValue_ ? commitValue_(row, col, *empty) : CellCommit{};
  model_->ReloadRow(row);
  if (result.message.n != 0 && !result.stored) Error(this, result.message);
  emit CellCommitted(row, col);
}

QSize EditGrid::sizeHint() const {
  int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
  for (int c = 0; c < model_->columnCount(); ++c) width += columnWidth(c);
  // Every row: the frame that shows the grid is bounded by the area it lives in.
  const int rows = std::max(1, model_->rowCount());
  const int height = 2 * frameWidth() + horizontalHeader()->sizeHint().height() +
                     rows * verticalHeader()->defaultSectionSize();
  return {width, height};
}

QString EditGrid::CurrentHelpTarget() const {
  GridSource* s = Source();
  if (!s || CurrentColumn() >= s->ColumnCount()) return {};
  return QString::fromStdString(s->HelpTarget(CurrentColumn()));
}

void EditGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (IsEditing() && (current.row() != editRow_ || current.column() != editCol_)) CommitCellEdit();
  if (current.isValid()) emit CurrentCellChanged(current.row(), current.column());
}

void EditGrid::scrollContentsBy(int dx, int dy) {
  QTableView::scrollContentsBy(dx, dy);
  PlaceEditor();
}

void EditGrid::resizeEvent(QResizeEvent* e) {
  QTableView::resizeEvent(e);
  PlaceEditor();
}

void EditGrid::keyPressEvent(QKeyEvent* e) {
  const auto mods = e->modifiers();
  const bool ctrl = mods & Qt::ControlModifier;
  const bool shift = mods & Qt::ShiftModifier;
  switch (e->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      e->ignore();  // Ctrl+Tab switches windows; Tab moves on (event())
      return;
    case Qt::Key_Backspace:
      CommitCellEdit();
      startEmpty_ = true;
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (IsEditing()) {
        CommitCellEdit();
        return;
      }
      if (!shift && !ctrl) MoveToNextCell();
      return;
    case Qt::Key_Delete:
      // Channels go only with whole rows; otherwise the cell is emptied (a
      // list to its "Off" or "None").
      if (SelectedWholeRows()) {
        emit DeleteRequested();
      } else if (Source() && Source()->Column(CurrentColumn()).editor == CellEditor::List) {
        ClearListCell(CurrentRow(), CurrentColumn());
      } else {
        startEmpty_ = true;
        if (!BeginCellEdit(CurrentRow(), CurrentColumn())) startEmpty_ = false;
      }
      return;
    case Qt::Key_Menu:
      emit PopupRequested(viewport()->mapToGlobal(visualRect(currentIndex()).center()));
      return;
    case Qt::Key_F1:
      emit HelpRequested(CurrentHelpTarget());
      return;
    default:
      break;
  }
  if (e->matches(QKeySequence::Paste)) {
    PasteClipboardText();
    return;
  }
  const QString t = e->text();
  if (!ctrl && !(mods & Qt::AltModifier) && t.size() == 1 && t[0].isPrint()) {
    if (!BeginCellEdit(CurrentRow(), CurrentColumn(), t)) startEmpty_ = false;
    return;  // a refused character is dropped
  }
  QTableView::keyPressEvent(e);
}

void EditGrid::mousePressEvent(QMouseEvent* e) {
  const QModelIndex i = indexAt(e->position().toPoint());
  if (IsEditing()) CommitCellEdit();
  // The number column selects whole rows; Shift extends from the first one.
  if (i.isValid() && e->button() == Qt::LeftButton && Source() &&
      Source()->Column(i.column()).editor == CellEditor::None) {
    setFocus(Qt::MouseFocusReason);
    if (!(e->modifiers() & Qt::ShiftModifier) || anchorRow_ < 0) anchorRow_ = i.row();
    SelectRows(anchorRow_, i.row());
    return;
  }
  anchorRow_ = -1;
  QTableView::mousePressEvent(e);
}

void EditGrid::mouseMoveEvent(QMouseEvent* e) {
  if (anchorRow_ >= 0 && (e->buttons() & Qt::LeftButton)) {
    const QModelIndex i = indexAt(e->position().toPoint());
    if (i.isValid()) SelectRows(anchorRow_, i.row());
    return;
  }
  QTableView::mouseMoveEvent(e);
}

void EditGrid::mouseDoubleClickEvent(QMouseEvent* e) {
  const QModelIndex i = indexAt(e->position().toPoint());
  if (i.isValid()) BeginCellEdit(i.row(), i.column());
}

void EditGrid::contextMenuEvent(QContextMenuEvent* e) {
  if (IsEditing()) CommitCellEdit();
  emit PopupRequested(e->globalPos());
}

}  // namespace zmp
