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

// --- GridModel -------------------------------------------------------------------

void GridModel::SetSource(GridSource* source) {
  beginResetModel();
  source_ = source;
  texts_.clear();
  if (source_) {
    texts_.resize(static_cast<std::size_t>(source_->RowCount()));
    for (int r = 0; r < source_->RowCount(); ++r) {
      auto& row = texts_[static_cast<std::size_t>(r)];
      for (auto& t : RowTexts(*source_, r)) row.push_back(QString::fromStdString(t));
    }
  }
  endResetModel();
}

void GridModel::Reload() {
  if (!source_) return;
  if (static_cast<int>(texts_.size()) != source_->RowCount() ||
      (!texts_.empty() && static_cast<int>(texts_[0].size()) != source_->ColumnCount())) {
    SetSource(source_);
    return;
  }
  for (int r = 0; r < source_->RowCount(); ++r) {
    auto& row = texts_[static_cast<std::size_t>(r)];
    const auto cells = RowTexts(*source_, r);
    for (std::size_t c = 0; c < cells.size(); ++c) row[c] = QString::fromStdString(cells[c]);
  }
  if (!texts_.empty())
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

void GridModel::ReloadRow(int r) {
  if (!source_ || r < 0 || r >= static_cast<int>(texts_.size())) return;
  auto& row = texts_[static_cast<std::size_t>(r)];
  const auto cells = RowTexts(*source_, r);
  for (std::size_t c = 0; c < cells.size() && c < row.size(); ++c) row[c] = QString::fromStdString(cells[c]);
  emit dataChanged(index(r, 0), index(r, columnCount() - 1), {Qt::DisplayRole});
}

int GridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !source_ ? 0 : static_cast<int>(texts_.size());
}

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || !source_ ? 0 : source_->ColumnCount();
}

QVariant GridModel::data(const QModelIndex& i, int role) const {
  if (!i.isValid() || !source_) return {};
  const auto r = static_cast<std::size_t>(i.row()), c = static_cast<std::size_t>(i.column());
  if (r >= texts_.size() || c >= texts_[r].size()) return {};
  const bool numberColumn = source_->Column(i.column()).editor == CellEditor::None;
  switch (role) {
    case Qt::DisplayRole:
      return texts_[r][c];
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(numberColumn ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
    case Qt::BackgroundRole:
      if (numberColumn) return QApplication::palette().brush(QPalette::Button);
      return {};
    case Qt::ForegroundRole:
      if (texts_[r][c] == QLatin1String("---")) return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
      return {};
    default:
      return {};
  }
}

QVariant GridModel::headerData(int section, Qt::Orientation o, int role) const {
  if (!source_ || o != Qt::Horizontal || section < 0 || section >= source_->ColumnCount()) return {};
  if (role == Qt::DisplayRole) return QTx(source_->Column(section).title);
  return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& i) const {
  if (!i.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

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

// --- overlay editing -----------------------------------------------------------

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
    text_->setMaxLength(column.maxLength > 0 ? column.maxLength : 32767);
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

// --- rows ------------------------------------------------------------------------------

std::optional<std::pair<int, int>> EditGrid::SelectedRows() const {
  const QItemSelection sel = selectionModel()->selection();
  if (sel.isEmpty()) return std::nullopt;
  int first = model_->rowCount(), last = -1, cells = 0;
  bool wholeRow = false;
  for (const QItemSelectionRange& r : sel) {
    first = std::min(first, r.top());
    last = std::max(last, r.bottom());
    cells += r.width() * r.height();
    wholeRow = wholeRow || r.width() == model_->columnCount();
  }
  if (last < 0 || (!wholeRow && cells < 2)) return std::nullopt;
  return std::pair{first, last};
}

std::optional<std::pair<int, int>> EditGrid::SelectedWholeRows() const {
  const QItemSelection sel = selectionModel()->selection();
  for (const QItemSelectionRange& r : sel)
    if (r.width() != model_->columnCount()) return std::nullopt;
  return SelectedRows();
}

void EditGrid::SelectRows(int first, int last) {
  if (first > last) std::swap(first, last);
  const int lastCol = model_->columnCount() - 1;
  if (lastCol < 0) return;
  const QItemSelection sel(model_->index(first, 0), model_->index(last, lastCol));
  selectionModel()->setCurrentIndex(model_->index(last, std::min(1, lastCol)), QItemSelectionModel::NoUpdate);
  selectionModel()->select(sel, QItemSelectionModel::ClearAndSelect);
}

std::string EditGrid::SelectedClipText(bool withTitle) const {
  const auto rows = SelectedRows();
  if (!rows || !Source()) return {};
  return GridClipText(*Source(), rows->first, rows->second, withTitle);
}

bool EditGrid::CopyRowsToClipboard(bool withTitle) {
  if (IsEditing()) CommitCellEdit();
  if (!SelectedRows()) return false;
  QApplication::clipboard()->setText(QString::fromStdString(SelectedClipText(withTitle)));
  const QModelIndex cur = currentIndex();
  selectionModel()->select(cur, QItemSelectionModel::ClearAndSelect);
  scrollTo(cur);
  return true;
}

// --- text pasted from a spreadsheet ------------------------------------------------------

bool EditGrid::BeginEmptyCellEdit(int row, int col) {
  startEmpty_ = true;
  const bool opened = BeginCellEdit(row, col);
  startEmpty_ = false;
  return opened;
}

bool EditGrid::PasteClipboardText() { return PasteText(QApplication::clipboard()->text()); }

bool EditGrid::PasteText(const QString& text) {
  if (IsEditing()) CommitCellEdit();
  GridSource* s = Source();
  if (!s) return false;
  const std::string utf8 = text.toStdString();
  TextPasteOutcome outcome;
  const auto paste = [&] { outcome = PasteTableText(*s, CurrentRow(), CurrentColumn(), utf8); };
  if (step_) step_(QTx(739_txt), paste);
  else paste();
  Reload();
  if (!outcome.table) {
    Error(this, 615_txt);
    return false;
  }
  const std::string notes = PasteNotes(outcome);
  if (outcome.refusedRow >= 0) {
    SetCurrentCell(outcome.refusedRow, outcome.refusedColumn);
    const std::string refusal = RefusalText(*s, outcome);
    Error(this, QString::fromStdString(notes.empty() ? refusal : refusal + "\n" + notes));
  } else if (!notes.empty()) {
    Notice(this, QString::fromStdString(notes));
  }
  return outcome.cellsStored > 0;
}

}  // namespace zmp
