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

#include <memory>

#include "editors/FieldGridSource.h"
#include "editors/TestFreqFields.h"
#include "editors/ui/GridView.h"

class QAction;
class QMenu;
class QPushButton;

namespace zmp {

class CTestFreqView : public GridView {
  Q_OBJECT
 public:
  static constexpr int kGridId = 1028;
  static constexpr int kChPasteId = 1012;
  static constexpr int kHelpContext = 80640;
  static constexpr int kChPasteHelpContext = 80643;

  explicit CTestFreqView(EditorDocument& doc, QWidget* parent = nullptr);
  ~CTestFreqView() override;

  QPushButton* ChPasteButton() const { return chPaste_; }

  // The commands; each returns whether it did something. Copy, Paste and
  // Delete need the focus on the grid (Copy and Delete a selected range).
  bool OnCopy() override;
  bool OnPaste();
  bool OnDelete() override;
  bool OnChPaste();
  // Paste (Ctrl+V, the popup's Paste): the copied test channels while no
  // text has reached the system clipboard since, else the clipboard's text.
  bool OnPasteLatest() override;
  void Reload() override;
  bool FocusField(const FieldRef& field) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  bool GridKey(QKeyEvent* k);
  // The column an edit of (row, col) starts in: frequency 1 while the test
  // channel has none.
  int EditColumn(int row, int col) const;
  void ShowBandWarnings(const TestPasteResult& r);
  void UpdateChPaste();

  std::unique_ptr<FieldGridSource> source_;
  QPushButton* chPaste_;
};

}  // namespace zmp
