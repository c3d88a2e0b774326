// The grid of the editors: a table view that shows any GridSource, with one
// overlay editor laid over the cell being edited (a FilterEdit, a
// ToneComboBox, a NumberComboBox or a drop-down list, as the column asks),
// the keyboard rules of a grid, row-range selection and the "to Clip" text.
// An editor with a grid supplies the source and binds the grid to its
// document (GridBinding.h: each commit one undoable step); everything else is
// here: EditGrid.cpp the view and its keys, EditGridEditing.cpp the overlay
// editors, EditGridRows.cpp rows, clipboard text and pasted text, GridModel
// the cell texts.
#pragma once

#include <QTableView>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editors/GridSource.h"
#include "editors/ui/GridModel.h"
#include "editors/ui/TypeAheadComboBox.h"

class QComboBox;

namespace zmp {

class FilterEdit;
class NumberComboBox;
class ToneComboBox;

class EditGrid : public QTableView {
  Q_OBJECT
 public:
  explicit EditGrid(QWidget* parent = nullptr);
  ~EditGrid() override;

  // Shows a source (not owned); columns, titles and widths follow it.
  void SetSource(GridSource* source);
  GridSource* Source() const { return model_->Source(); }
  GridModel* Model() const { return model_; }
  // Reads every cell again (an open editor is closed without commit when its
  // cell can no longer be edited).
  void Reload();
  void ReloadRow(int row);

  // --- current cell --------------------------------------------------------
  int CurrentRow() const;
  int CurrentColumn() const;
  void SetCurrentCell(int row, int col);
  // Enter's move: one column right, or the first data column of the next row;
  // nothing in the last cell.
  void MoveToNextCell();
  // Tab and Shift+Tab move from cell to cell (Enter's order) and leave the
  // grid only past its last (first) cell, as in a spreadsheet.
  void SetTabMovesBetweenCells(bool on);
  // Delete on a list cell: its "Off" or "None" entry, when the list has one.
  void ClearListCell(int row, int col);

  // --- overlay editing -------------------------------------------------------
  // Opens the column's editor over the cell with the cell's text (or empty text
  // after Backspace or Delete) and gives it the focus; firstKey is typed into it.
  // False when the cell cannot be edited.
  bool BeginCellEdit(int row, int col, const QString& firstKey = {});
  // Stores the editor's text when it differs from what the cell showed and
  // hides the editor. True when the store took the text.
  bool CommitCellEdit();
  // Puts the cell's previous text back and hides the editor.
  void CancelCellEdit();
  bool IsEditing() const { return editRow_ >= 0; }
  QWidget* OpenEditor() const;
  FilterEdit* TextEditor() const { return text_; }
  ToneComboBox* ToneEditor() const { return tone_; }
  NumberComboBox* NumberEditor() const { return number_; }
  TypeAheadComboBox* ListEditor() const { return list_; }

  // Runs the store for a commit; the default calls the source's SetCellText.
  using CommitHandler = std::function<CellCommit(int row, int col, const std::string& text)>;
  void SetCommitHandler(CommitHandler handler) { commit_ = std::move(handler); }
  // List cells commit the picked entry's stored value, never its text.
  using ValueCommitHandler = std::function<CellCommit(int row, int col, long value)>;
  void SetValueCommitHandler(ValueCommitHandler handler) { commitValue_ = std::move(handler); }

  // --- rows --------------------------------------------------------------------
  // First and last selected row when a range of rows is selected.
  std::optional<std::pair<int, int>> SelectedRows() const;
  // The same, only when whole rows are selected (from the number column).
  std::optional<std::pair<int, int>> SelectedWholeRows() const;
  void SelectRows(int first, int last);
  // The "to Clip" text of the selected rows; empty without a selection.
  std::string SelectedClipText(bool withTitle) const;
  // Puts the text of the selected rows on the clipboard, then clears the
  // selection and shows the current row. False (nothing copied) without one.
  bool CopyRowsToClipboard(bool withTitle);
  // Where the guide explains the current column ("page.html#anchor"; empty:
  // the window's own help).
  QString CurrentHelpTarget() const;

  // --- text pasted from a spreadsheet ----------------------------------------------
  // Runs a change as one undoable step (the view's document commit); without
  // one the change simply runs.
  using StepHandler = std::function<bool(const QString& label, const std::function<void()>& change)>;
  void SetStepHandler(StepHandler handler) { step_ = std::move(handler); }
  // Pastes tab-separated text from the current cell (GridTextPaste.h) as one
  // step, reloads, and shows what the paste has to say: a refused cell with
  // its row and column (the current cell moves there), warnings, dropped rows
  // and cells, or that the text is no table. True when anything was stored.
  bool PasteText(const QString& text);
  // The same with the text of the system clipboard (Ctrl+V on the grid).
  bool PasteClipboardText();
  // Opens the cell's editor with empty text (Backspace and Delete).
  bool BeginEmptyCellEdit(int row, int col);
  // Wide enough for every column and high enough for every row.
  QSize sizeHint() const override;

 signals:
  void DeleteRequested();
  void PopupRequested(const QPoint& globalPos);
  void HelpRequested(const QString& target);
  void CellCommitted(int row, int col);
  void CurrentCellChanged(int row, int col);

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  void resizeEvent(QResizeEvent* e) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  QWidget* EditorFor(CellEditor kind) const;
  QString EditorText() const;
  void SetEditorText(const QString& text);
  void PlaceEditor();
  void HideEditor(bool giveFocusToGrid);
  bool KeyStartsEdit(int col, const QString& key) const;
  bool EditorKey(QKeyEvent* k);
  // Ctrl+Z and Ctrl+Y in an open editor (override or press); true when taken.
  bool EditorUndoKey(QKeyEvent* k);
  bool IsInEditor(QWidget* w) const;
  // Moves to the next (previous) data cell; false past the last (first) one.
  bool StepCell(bool forward);
  void UpdateColumnWidths();

  GridModel* model_;
  FilterEdit* text_;
  ToneComboBox* tone_;
  NumberComboBox* number_;
  TypeAheadComboBox* list_;
  CommitHandler commit_;
  ValueCommitHandler commitValue_;
  StepHandler step_;
  int editRow_ = -1;
  int editCol_ = -1;
  QString editOriginal_;
  bool startEmpty_ = false;
  bool inCommit_ = false;
  int anchorRow_ = -1;
  bool tabCells_ = false;
};

}  // namespace zmp
