// The test frequency editor: the sixteen test channels in a grid of two
// frequencies, the record clipboard (Copy, Paste and Delete from the grid's
// popup "Grid Data Copy"), "Ch Paste" from the channels, and paste of rows
// copied from a spreadsheet.
//
// Keyboard on the grid: Backspace and Delete delete the selected test
// channels when rows are selected, else open the current cell with empty
// text; Enter opens the current cell (or, in an open cell, stores it and
// moves on); an edit of frequency 2 of a test channel without frequency 1
// starts in frequency 1 instead (with Enter nothing happens). Escape in an
// open cell puts its text back before anything is stored.
#pragma once

#include <QWidget>
#include <memory>

#include "editors/FieldGridSource.h"
#include "editors/TestFreqFields.h"
#include "editors/ui/EditorDocument.h"
#include "editors/ui/FieldFocus.h"
#include "editors/ui/ViewCommands.h"

class QAction;
class QMenu;
class QPushButton;

namespace zmp {

class EditGrid;

class CTestFreqView : public QWidget, public FieldFocusView {
  Q_OBJECT
 public:
  static constexpr int kGridId = 1028;
  static constexpr int kChPasteId = 1012;
  static constexpr int kCmdDelete = 32740;
  static constexpr int kCmdCopy = 32741;
  static constexpr int kCmdPaste = 32742;
  static constexpr int kHelpContext = 80640;
  static constexpr int kChPasteHelpContext = 80643;

  explicit CTestFreqView(EditorDocument& doc, QWidget* parent = nullptr);
  ~CTestFreqView() override;

  EditGrid* Grid() const { return grid_; }
  QPushButton* ChPasteButton() const { return chPaste_; }
  QMenu* PopupMenu() const { return popup_; }
  QAction* Action(int command) const;

  // The commands; each returns whether it did something. Copy, Paste and
  // Delete need the focus on the grid (Copy and Delete a selected range).
  bool OnCopy();
  bool OnPaste();
  bool OnDelete();
  bool OnChPaste();
  // Paste (Ctrl+V, the popup's Paste): the copied test channels while no
  // text has reached the system clipboard since, else the clipboard's text.
  bool OnPasteLatest();
  void Reload();
  bool FocusField(const FieldRef& field) override;

 signals:
  void HelpRequested(const QString& target);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  bool GridHasFocus() const;
  bool GridKey(QKeyEvent* k);
  // The column an edit of (row, col) starts in: frequency 1 while the test
  // channel has none.
  int EditColumn(int row, int col) const;
  void ShowBandWarnings(const TestPasteResult& r);
  void UpdateChPaste();

  EditorDocument& doc_;
  std::unique_ptr<FieldGridSource> source_;
  EditGrid* grid_;
  QPushButton* chPaste_;
  QMenu* popup_;
  ViewCommands commands_{*this};
};

}  // namespace zmp
