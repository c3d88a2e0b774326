// The grid's rows: row-range selection, the "to Clip" text, and tab-separated
// text pasted from a spreadsheet.
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
