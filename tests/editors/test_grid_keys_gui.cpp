// The keys of every grid of every editor (the channels, the test channels,
// the multi tables, the keys, the function ports, the remote codes): each
// grid's first editable cell is driven as a user drives it, and whatever the
// grid stores is compared with what its source stores on a copy of the image.
// What a cell stores is the engine's and tested there; here only the keys,
// the focus, the messages and the undo steps.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QTabWidget>
#include <memory>

#include "EditorGuiSupport.h"
#include "editors/FieldGridSource.h"
#include "fields/FieldCodec.h"
#include "editors/GridTextPaste.h"
#include "editors/PortModel.h"
#include "editors/ui/EditorViews.h"
#include "editors/ui/FilterEdit.h"
#include "editors/ui/GridView.h"
#include "editors/ui/SettingsForm.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

class GridKeysGui : public EditorGui {
 protected:
  void SetUp() override {
    StartGui();
    SetDecimalSeparator('.');
    doc.image = FilledImage(Vhf146E());
    auto m = doc.image.Main();
    for (int k = 0; k < kOptionPortCount; ++k)  // option ports both ways: every port grid has rows
      m.SetByte(kOptionPortDirections + static_cast<std::size_t>(k), k < 3 ? 0 : 1);
    m.SetByte(0x6500, '1');  // a 5-tone decode and encode entry in use: the remote codes to choose
    m.SetByte(0x6200, '1');
    doc.SetCurrentChannel(0);
  }

  // What a user does, against what the grid's source does on a copy of the
  // image taken before (as the program commits: what goes is released): the
  // same bytes in one undo step that undo takes back and the grid follows,
  // and one message where the source has something to say. With keep, the
  // step stays for what follows.
  using Engine = std::function<bool(GridSource&)>;  // true: the program tells something
  void Twin(const std::string& what, const std::function<void()>& act, const Engine& engine, bool keep = false) {
    SCOPED_TRACE(what);
    ImageStore copy = doc.image;
    const auto before = AllBytes(doc.image);
    const std::size_t steps = doc.steps.size(), shown = messages.size();
    const QString cell = Cell(grid, row, col);
    act();
    FieldGridSource twin(copy, static_cast<FieldGridSource*>(grid->Source())->Table());
    bool told = false;
    ChangeAndRelease(EditorModules(), copy, [&] { told = engine(twin); });
    ASSERT_EQ(AllBytes(doc.image), AllBytes(copy));
    const bool changed = AllBytes(copy) != before;
    EXPECT_EQ(doc.steps.size(), steps + (changed ? 1 : 0));
    EXPECT_EQ(messages.size(), shown + (told ? 1 : 0)) << (messages.empty() ? "" : messages.back().toStdString());
    if (!changed || keep) return;
    doc.Undo();
    EXPECT_EQ(AllBytes(doc.image), before) << "undo";
    EXPECT_EQ(Cell(grid, row, col), cell) << "the grid follows the undo";
  }
  Engine Typed(const QString& text) const {
    return [this, &text](GridSource& s) { return s.SetCellText(row, col, text.toStdString()).message.n != 0; };
  }
  Engine Pasted(int r, int c, const std::string& text) const {
    return [=](GridSource& s) {
      const TextPasteOutcome o = PasteTableText(s, r, c, text);
      return !o.table || o.refusedRow >= 0 || !PasteNotes(o).empty();
    };
  }
  static bool Nothing(GridSource&) { return false; }

  // A text the cell's source stores (changing a byte), or one it refuses; a
  // text that the cell would not let be typed is no candidate.
  QString TextTheSource(bool stores) const {
    for (const char* text : {"12", "150.5", "88.5", "1000", "99999999"}) {
      ImageStore copy = doc.image;
      FieldGridSource twin(copy, static_cast<FieldGridSource*>(grid->Source())->Table());
      if (UntypedCharacter(twin.Ref(row, col), copy, text)) continue;
      const CellCommit r = twin.SetCellText(row, col, text);
      if (stores ? r.stored && AllBytes(copy) != AllBytes(doc.image) : !r.stored && r.message.n != 0) return text;
    }
    return {};
  }
  QString EditorText() const {
    if (auto* box = qobject_cast<QComboBox*>(grid->OpenEditor())) return box->currentText();
    return grid->TextEditor()->text();
  }

  void TypedCell();
  void ListCell();
  void Rows(bool gridView);

  EditGrid* grid = nullptr;
  int row = 0, col = 1;
};

// A text cell, a tone or a number: a key the column refuses opens nothing,
// the first key replaces the cell's text, Escape, Backspace, Delete, Enter,
// Shift+Enter and Ctrl+Enter, a refusal, a paste refused in its second row.
void GridKeysGui::TypedCell() {
  const QString text = TextTheSource(true), refused = TextTheSource(false), shown = Cell(grid, row, col);
  ASSERT_FALSE(text.isEmpty());
  Type("x");
  EXPECT_FALSE(grid->IsEditing()) << "a key the column refuses opens nothing";
  Type(text.left(1));
  ASSERT_TRUE(grid->IsEditing());
  EXPECT_EQ(EditorText().left(1), text.left(1)) << "the first key replaces the text";
  EXPECT_NE(EditorText(), shown);
  Key(Focus(), Qt::Key_Escape);
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(Focus(), grid);
  EXPECT_EQ(Cell(grid, row, col), shown);
  // Backspace: an edit with empty text, at once (the test channels) or the next one.
  Key(grid, Qt::Key_Backspace);
  ASSERT_TRUE(grid->IsEditing() || grid->BeginCellEdit(row, col));
  EXPECT_EQ(EditorText(), "");
  Key(Focus(), Qt::Key_Escape);
  ASSERT_TRUE(grid->BeginCellEdit(row, col));
  EXPECT_EQ(EditorText(), shown) << "only the next edit";
  Key(Focus(), Qt::Key_Escape);
  grid->SetCurrentCell(row, col);
  Twin("Delete", [&] {
    Key(grid, Qt::Key_Delete);
    ASSERT_TRUE(grid->IsEditing());
    EXPECT_EQ(EditorText(), "") << "Delete on one cell opens it empty";
    Key(Focus(), Qt::Key_Escape);
  }, Nothing);
  // With Shift or Ctrl the cell stays; Enter moves one cell right (after the
  // last column: the next row's first), or down where the source says so. The
  // value stays for the rows' tests.
  const bool down = grid->Source()->EnterMovesDown(row, col), wraps = col + 1 == grid->Source()->ColumnCount();
  for (const auto mods : {Qt::ShiftModifier, Qt::ControlModifier, Qt::NoModifier}) {
    grid->SetCurrentCell(row, col);
    const bool moves = mods == Qt::NoModifier;
    QString typed;
    Twin("Enter", [&] {
      Type(text);
      typed = EditorText();
      Key(Focus(), Qt::Key_Return, {}, mods);
      EXPECT_FALSE(grid->IsEditing());
      EXPECT_EQ(Focus(), grid);
      EXPECT_EQ(grid->CurrentRow(), row + (moves && (down || wraps) ? 1 : 0));
      EXPECT_EQ(grid->CurrentColumn(), !moves || down ? col : wraps ? 1 : col + 1);
    }, Typed(typed), moves);
  }
  if (refused.isEmpty()) return;
  grid->SetCurrentCell(row, col);
  QString typed;
  const QString stored = Cell(grid, row, col);
  Twin("refused", [&] {
    Type(refused);
    typed = EditorText();
    Key(Focus(), Qt::Key_Return);
    EXPECT_EQ(Cell(grid, row, col), stored) << "the stored text shown again";
  }, Typed(typed));
  if (row + 1 >= grid->Source()->RowCount()) return;
  const std::string lines = (shown + "\n" + refused).toStdString();
  QApplication::clipboard()->setText(QString::fromStdString(lines));
  grid->SetCurrentCell(row, col);
  Twin("refused paste", [&] {
    Key(grid, Qt::Key_V, {}, Qt::ControlModifier);
    EXPECT_EQ(grid->CurrentRow(), row + 1) << "the refused cell is the current one";
    EXPECT_EQ(grid->CurrentColumn(), col);
  }, Pasted(row, col, lines));
}

// A list: a key opens it, Enter stores the entry chosen (kept for the rows'
// tests), Delete its Off or None.
void GridKeysGui::ListCell() {
  const auto choices = grid->Source()->Choices(row, col);
  ASSERT_GE(choices.size(), 2u);
  const GridChoice other = choices[choices[0].text == Cell(grid, row, col).toStdString() ? 1 : 0];
  Twin("list", [&] {
    Type("x");
    ASSERT_TRUE(grid->IsEditing());
    QComboBox* list = grid->ListEditor();
    list->setCurrentIndex(list->findData(QVariant::fromValue<qlonglong>(other.value)));
    Key(Focus(), Qt::Key_Return);
    EXPECT_FALSE(grid->IsEditing());
  }, [&](GridSource& s) { return s.SetCellValue(row, col, other.value).message.n != 0; }, true);
  if (const auto empty = grid->Source()->EmptyChoice(row, col)) {
    grid->SetCurrentCell(row, col);
    Twin("Delete", [&] { Key(grid, Qt::Key_Delete); },
         [&](GridSource& s) { return s.SetCellValue(row, col, *empty).message.n != 0; });
  }
}

// Rows: the number column never opens; a row's cells pasted into another
// (one step); text that is no table (a message, nothing written); whole rows
// deleted in one step; Enter between rows; Tab from cell to cell in a form's
// grid, else onwards.
void GridKeysGui::Rows(bool gridView) {
  grid->SetCurrentCell(row, 0);
  Type("1");
  EXPECT_FALSE(grid->IsEditing()) << "the number column never opens";
  const int rows = grid->Source()->RowCount(), to = row + 1 < rows ? row + 1 : row - 1;
  const std::vector<std::string> cells = RowTexts(*grid->Source(), row);
  std::string text;
  for (std::size_t c = 1; c < cells.size(); ++c) text += (c > 1 ? "\t" : "") + cells[c];
  QApplication::clipboard()->setText(QString::fromStdString(text));
  grid->SetCurrentCell(to, 1);
  Twin("Ctrl+V", [&] { Key(grid, Qt::Key_V, {}, Qt::ControlModifier); }, Pasted(to, 1, text));
  QApplication::clipboard()->setText("\n\n");
  Twin("no table", [&] { Key(grid, Qt::Key_V, {}, Qt::ControlModifier); }, [](GridSource&) { return true; });
  if (gridView) {
    const auto before = AllBytes(doc.image);
    grid->SelectRows(row, row);
    Key(grid, Qt::Key_Delete);
    EXPECT_NE(AllBytes(doc.image), before) << "whole rows are deleted";
    EXPECT_EQ(doc.steps.size(), 2u);
    doc.Undo();
    EXPECT_EQ(AllBytes(doc.image), before);
  }
  // Enter with no editor open: after the last column to the next row's first
  // cell, in the last cell of the last row nowhere (the test channels open the cell instead).
  const int last = grid->Source()->ColumnCount() - 1;
  for (const int r : {0, rows - 1}) {
    grid->SetCurrentCell(r, last);
    Key(grid, Qt::Key_Return);
    if (grid->IsEditing()) {
      Key(Focus(), Qt::Key_Escape);
      continue;
    }
    EXPECT_EQ(grid->CurrentRow(), r == rows - 1 ? r : r + 1);
    EXPECT_EQ(grid->CurrentColumn(), r == rows - 1 ? last : 1);
  }
  bool inForm = false;
  for (QWidget* w = grid; w; w = w->parentWidget()) inForm = inForm || qobject_cast<SettingsForm*>(w);
  grid->SetCurrentCell(row, 1);
  Key(grid, Qt::Key_Tab);
  EXPECT_EQ(Focus() == grid, inForm && (grid->Source()->ColumnCount() > 2 || row + 1 < rows));
}

}  // namespace

TEST_F(GridKeysGui, EveryGridTakesTheSameKeys) {
  int grids = 0;
  for (const auto& [kind, open] : BuiltEditors()) {
    std::unique_ptr<QWidget> view(open(doc, nullptr));
    view->resize(900, 700);
    Activate(*view);
    doc.steps.clear();
    const auto start = AllBytes(doc.image);
    for (EditGrid* g : view->findChildren<EditGrid*>()) {
      if (!dynamic_cast<FieldGridSource*>(g->Source())) continue;
      for (QTabWidget* tabs : view->findChildren<QTabWidget*>())
        for (int t = 0; t < tabs->count(); ++t)
          if (tabs->widget(t)->isAncestorOf(g)) tabs->setCurrentIndex(t);
      grid = g;
      row = 0;
      while (row < g->Source()->RowCount() && !g->Source()->IsEditable(row, col)) ++row;
      if (row == g->Source()->RowCount()) continue;
      SCOPED_TRACE("editor " + std::to_string(static_cast<int>(kind)) + ", " + g->objectName().toStdString());
      ++grids;
      g->setFocus();
      g->SetCurrentCell(row, col);
      if (g->Source()->Column(col).editor == CellEditor::List) ListCell();
      else TypedCell();
      Rows(dynamic_cast<GridView*>(view.get()) != nullptr);
      EXPECT_EQ(doc.steps.size(), 1u) << "the value kept";
      doc.Undo();
      EXPECT_EQ(AllBytes(doc.image), start);
    }
  }
  EXPECT_GE(grids, 9);
}
