// The multi table editor: the table number (1-15) with its spin, and the
// table's tone grid and number grid, each row's column 2 following column 1
// (the pair rule of the field engine). Every cell commit is one undo step;
// Ctrl+V pastes rows copied from a spreadsheet into either grid.
#pragma once

#include <QWidget>
#include <memory>

#include "editors/FieldGridSource.h"
#include "editors/ui/EditorDocument.h"
#include "editors/ui/FieldFocus.h"

class QPushButton;

namespace zmp {

class EditGrid;
class EditorButtons;
class SpinEdit;

class CMultiView : public QWidget, public FieldFocusView {
  Q_OBJECT
 public:

  explicit CMultiView(EditorDocument& doc, QWidget* parent = nullptr);
  ~CMultiView() override;

  int TableNumber() const { return table_; }
  // Shows table n, limited to 1..15 first.
  void SetTableNumber(long n);
  SpinEdit* TableSpin() const { return spin_; }
  EditGrid* ToneGrid() const { return tones_; }
  EditGrid* NumberGrid() const { return numbers_; }
  void Reload();
  // Shows the field's table and makes its cell current, with the focus.
  bool FocusField(const FieldRef& field) override;

 signals:
  void HelpRequested(const QString& target);

 private:
  EditGrid* MakeGrid(const char* name);
  void Attach();

  EditorDocument& doc_;
  int table_ = 1;
  SpinEdit* spin_;
  EditorButtons* buttons_ = nullptr;
  EditGrid* tones_;
  EditGrid* numbers_;
  std::unique_ptr<FieldGridSource> toneSource_;
  std::unique_ptr<FieldGridSource> numberSource_;
};

}  // namespace zmp
