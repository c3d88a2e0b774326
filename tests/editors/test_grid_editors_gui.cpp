// The multi table and test frequency editors and text pasted into every
// grid, as a user drives them: keys typed into the real widgets on the
// offscreen platform, the image bytes checked afterwards.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <memory>
#include <vector>

#include "../support/QtTestApp.h"
#include "ChannelPlan.h"
#include "EditorGuiSupport.h"
#include "EditorTestSupport.h"
#include "ui/Messages.h"
#include "data/NewImage.h"
#include "editors/ChannelClipboard.h"
#include "editors/ChannelFields.h"
#include "editors/EditorModules.h"
#include "editors/TestFreqFields.h"
#include "editors/ui/ChInfoView.h"
#include "editors/ui/EditGrid.h"
#include "editors/ui/EditorViews.h"
#include "editors/ui/FilterEdit.h"
#include "editors/ui/MultiView.h"
#include "editors/ui/NumberComboBox.h"
#include "editors/ui/SpinEditWidget.h"
#include "editors/ui/TestFreqView.h"
#include "editors/ui/ToneComboBox.h"

using namespace zmp;
using namespace zmp::testing;

namespace {



class GridEditorsGui : public EditorGui {
 protected:
  void SetUp() override {
    StartGui();
    SetDecimalSeparator('.');
    InstallEditorModules();
    TheChannelClipboard().Clear();
    TheTestFreqClipboard().Clear();
  }
  void UseModel(const ModelRecord& m) { ASSERT_TRUE(MakeStartupImage(doc.image, m)); }
};

// --- multi table ----------------------------------------------------------------

TEST_F(GridEditorsGui, MultiTableGridsFollowTheirFirstColumn) {
  UseModel(Vhf146E());
  CMultiView view(doc);
  view.resize(view.sizeHint());
  Activate(view);
  EXPECT_EQ(view.windowTitle(), "Multi Table");
  // The table number is limited to 15 as it is typed.
  view.TableSpin()->setFocus();
  view.TableSpin()->selectAll();
  Type("16");
  Key(Focus(), Qt::Key_Tab);
  EXPECT_EQ(view.TableNumber(), 15);
  view.SetTableNumber(2);
  EditGrid* tones = view.ToneGrid();
  tones->setFocus();
  tones->SetCurrentCell(2, 1);
  Type("88.5");
  ASSERT_TRUE(tones->IsEditing());
  Key(Focus(), Qt::Key_Return);
  EXPECT_EQ(doc.image.Main().Word(0x2844), 885);
  EXPECT_EQ(doc.image.Main().Word(0x2864), 885);
  EXPECT_EQ(Cell(tones, 2, 2), "88.5") << "column 2 followed";
  EXPECT_EQ(tones->CurrentColumn(), 2) << "Enter moved on";
  EXPECT_EQ(doc.steps.size(), 1u);
  // Typing into column 2 of an empty row: refused with its message, the old value shown.
  tones->SetCurrentCell(5, 2);
  Type("d23");
  Key(Focus(), Qt::Key_Return);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].toStdString(), Tx(612_txt));
  EXPECT_EQ(Cell(tones, 5, 2), "Off");
  EXPECT_EQ(doc.steps.size(), 1u);
  // The number grid's Off entry stores 0 (none), and clears column 2.
  EditGrid* numbers = view.NumberGrid();
  numbers->setFocus();
  numbers->SetCurrentCell(0, 1);
  Type("75");
  Key(Focus(), Qt::Key_Return);
  EXPECT_EQ(doc.image.Main().Word(0x3840), 63);
  EXPECT_EQ(doc.image.Main().Word(0x3860), 63);
  ASSERT_TRUE(numbers->BeginCellEdit(0, 1));
  NumberComboBox* box = numbers->NumberEditor();
  ASSERT_EQ(box->itemText(0), "Off");
  box->setCurrentIndex(0);
  emit box->activated(0);
  EXPECT_EQ(doc.image.Main().Word(0x3840), 0);
  EXPECT_EQ(doc.image.Main().Word(0x3860), 0);
  EXPECT_EQ(Cell(numbers, 0, 1), "Off");
  // Another table shows its own words; undo takes each commit back.
  view.SetTableNumber(3);
  EXPECT_EQ(Cell(tones, 2, 1), "Off");
  view.SetTableNumber(2);
  doc.Undo();
  EXPECT_EQ(Cell(numbers, 0, 1), "63");
}

TEST_F(GridEditorsGui, CtrlVPastesSpreadsheetRowsIntoTheMultiTable) {
  UseModel(Vhf146E());
  CMultiView view(doc);
  Activate(view);
  EditGrid* tones = view.ToneGrid();
  tones->setFocus();
  tones->SetCurrentCell(0, 1);
  QApplication::clipboard()->setText("67.0\n71.9\tD023N\n\n74.4\r\n");
  Key(tones, Qt::Key_V, {}, Qt::ControlModifier);
  EXPECT_EQ(Cell(tones, 0, 2), "67.0");
  EXPECT_EQ(Cell(tones, 1, 2), "D023N");
  EXPECT_EQ(Cell(tones, 2, 1), "Off") << "an empty line is an empty row";
  EXPECT_EQ(Cell(tones, 3, 1), "74.4");
  EXPECT_EQ(doc.steps.size(), 1u) << "the whole paste is one step";
  EXPECT_TRUE(messages.empty());
  doc.Undo();
  EXPECT_EQ(Cell(tones, 0, 1), "Off");
  // Text that is no table: its message, nothing written.
  QApplication::clipboard()->setText("\n\n");
  Key(tones, Qt::Key_V, {}, Qt::ControlModifier);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].toStdString(), Tx(615_txt));
  EXPECT_TRUE(doc.steps.empty());
}

// --- test frequency ------------------------------------------------------------------

TEST_F(GridEditorsGui, TestFrequencyTypingRedirectsAndWarns) {
  UseModel(Uhf480K());
  CTestFreqView view(doc);
  view.resize(view.sizeHint());
  Activate(view);
  EditGrid* grid = view.Grid();
  grid->setFocus();
  EXPECT_EQ(view.windowTitle(), "Test Frequency");
  ASSERT_EQ(grid->Model()->rowCount(), 16);
  EXPECT_EQ(Cell(grid, 0, 1), "480.000000");
  EXPECT_FALSE(view.ChPasteButton()->isEnabled()) << "no channel";
  // Enter on frequency 2 of an empty test channel does nothing.
  grid->SetCurrentCell(9, 2);
  Key(grid, Qt::Key_Return);
  EXPECT_FALSE(grid->IsEditing());
  // A typed key there starts the edit in frequency 1.
  Type("4");
  ASSERT_TRUE(grid->IsEditing());
  EXPECT_EQ(grid->CurrentColumn(), 1);
  Type("94.6");
  Key(Focus(), Qt::Key_Return);
  EXPECT_EQ(Cell(grid, 9, 1), "494.600000");
  EXPECT_EQ(Cell(grid, 9, 2), "494.600000") << "frequency 2 followed";
  EXPECT_EQ(doc.steps.size(), 1u);
  EXPECT_TRUE(messages.empty());
  // Outside the band: stored, with the warning of its column.
  grid->SetCurrentCell(9, 2);
  Type("520");
  Key(Focus(), Qt::Key_Return);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].toStdString(), Tx(657_txt));
  EXPECT_EQ(Cell(grid, 9, 2), "520.000000");
  // 1000 MHz is refused, the old text shown again.
  grid->SetCurrentCell(9, 1);
  Type("1000");
  Key(Focus(), Qt::Key_Return);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].toStdString(), Tx(613_txt));
  EXPECT_EQ(Cell(grid, 9, 1), "494.600000");
  // Backspace opens the cell with empty text; Escape puts it back before anything is stored.
  const std::size_t steps = doc.steps.size();
  grid->setFocus();
  grid->SetCurrentCell(9, 1);
  Key(grid, Qt::Key_Backspace);
  ASSERT_TRUE(grid->IsEditing());
  EXPECT_EQ(grid->TextEditor()->text(), "");
  Key(Focus(), Qt::Key_Escape);
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(doc.steps.size(), steps);
  EXPECT_EQ(Cell(grid, 9, 1), "494.600000");
  // Enter opens the cell; text that is no frequency empties the test channel.
  Key(grid, Qt::Key_Return);
  ASSERT_TRUE(grid->IsEditing());
  grid->TextEditor()->setText("");
  Key(Focus(), Qt::Key_Return);
  EXPECT_EQ(Cell(grid, 9, 1), "");
  EXPECT_EQ(Cell(grid, 9, 2), "");
}

TEST_F(GridEditorsGui, TestFrequencyRecordsAndChPaste) {
  UseModel(Uhf480K());
  CTestFreqView view(doc);
  Activate(view);
  EditGrid* grid = view.Grid();
  grid->setFocus();
  QStringList popup;
  for (QAction* a : view.PopupMenu()->actions()) popup << a->text();
  EXPECT_EQ(popup, (QStringList{"Copy", "Paste", "Delete"}));
  EXPECT_EQ(view.PopupMenu()->objectName(), "Grid Data Copy");
  // Five copied test channels pasted at test channel 14: 14 to 16 only.
  grid->SelectRows(0, 4);
  ASSERT_TRUE(view.OnCopy());
  grid->SetCurrentCell(13, 1);
  ASSERT_TRUE(view.Action(CTestFreqView::kCmdPaste)->isEnabled());
  view.Action(CTestFreqView::kCmdPaste)->trigger();
  EXPECT_EQ(Cell(grid, 13, 1), "480.000000");
  EXPECT_EQ(Cell(grid, 15, 2), "494.450000");
  EXPECT_EQ(doc.steps.size(), 1u);
  // Delete of all sixteen brings the six default pairs back.
  grid->SelectRows(0, 15);
  Key(grid, Qt::Key_Delete);
  EXPECT_EQ(Cell(grid, 0, 1), "480.000000");
  EXPECT_EQ(Cell(grid, 5, 2), "503.250000");
  EXPECT_EQ(Cell(grid, 13, 1), "");
  EXPECT_EQ(doc.steps.size(), 2u);
  // Ch Paste follows the channels, decided again when clicked.
  ChannelStore store(doc.image);
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "rx_frequency"), store.Image(), "494.6").ok());
  ASSERT_TRUE(CommitFieldText(ChannelField(2, "rx_frequency"), store.Image(), "500").ok());
  view.Reload();
  ASSERT_TRUE(view.ChPasteButton()->isEnabled());
  view.ChPasteButton()->click();
  EXPECT_EQ(Cell(grid, 0, 2), "494.600000");
  EXPECT_EQ(doc.image.Main().Byte(0x0100 + 12), 0);
  EXPECT_EQ(doc.image.Main().Byte(0x0100 + 13), 1);
  EXPECT_EQ(Cell(grid, 1, 1), "") << "channel 2 does not exist";
  EXPECT_EQ(Cell(grid, 2, 1), "500.000000");
  ASSERT_EQ(store.DeleteChannel(0), StoreStatus::Ok);
  ASSERT_EQ(store.DeleteChannel(2), StoreStatus::Ok);
  const auto before = AllBytes(doc.image);
  EXPECT_FALSE(view.OnChPaste()) << "the channels went while the form was open";
  EXPECT_FALSE(view.ChPasteButton()->isEnabled());
  EXPECT_EQ(AllBytes(doc.image), before);
  // Text copied after the records goes the text way.
  QApplication::clipboard()->setText("450.5\t451.5");
  grid->SetCurrentCell(7, 1);
  view.Action(CTestFreqView::kCmdPaste)->trigger();
  EXPECT_EQ(Cell(grid, 7, 1), "450.500000");
  ASSERT_FALSE(messages.empty());
  EXPECT_NE(messages.back().indexOf(QTx(656_txt)), -1) << "out of band, warned";
}

// --- the channel grid -------------------------------------------------------------------

TEST_F(GridEditorsGui, ASpreadsheetPlanPastedIntoTheChannelGridEqualsTypingIt) {
  UseModel(Vhf146E());
  ImageStore typed;
  ASSERT_TRUE(MakeStartupImage(typed, Vhf146E()));
  {
    ChannelGridSource source(typed);
    TypeChannelPlan(source);
  }
  CChInfoView view(doc);
  view.resize(900, 600);
  Activate(view);
  view.Grid()->setFocus();
  view.Grid()->SetCurrentCell(0, 1);
  QApplication::clipboard()->setText(QString::fromStdString(ChannelPlanSpreadsheet()));
  view.Action(CChInfoView::kCmdPaste)->trigger();  // Ctrl+V
  EXPECT_TRUE(messages.empty()) << (messages.empty() ? "" : messages[0].toStdString());
  EXPECT_EQ(AllBytes(doc.image), AllBytes(typed));
  EXPECT_EQ(doc.steps.size(), 1u);
  EXPECT_EQ(Cell(view.Grid(), 29, 9), "C9");
  doc.Undo();
  EXPECT_EQ(view.Source().Store().ExistingCount(), 0);
}

TEST_F(GridEditorsGui, APasteRefusedAtRowFiveKeepsRowsOneToFourAndUndoesInOneStep) {
  UseModel(Vhf146E());
  CChInfoView view(doc);
  Activate(view);
  EditGrid* grid = view.Grid();
  grid->setFocus();
  grid->SetCurrentCell(0, 1);
  auto rows = ChannelPlanRows();
  rows[4][3] = "Simplex";  // no TX mode of that name
  QString text;
  for (const auto& r : rows) {
    QStringList cells;
    for (const auto& c : r) cells << QString::fromStdString(c);
    text += cells.join('\t') + '\n';
  }
  QApplication::clipboard()->setText(text);
  view.Action(CChInfoView::kCmdPaste)->trigger();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].startsWith("Row 5, TX Mode: ")) << messages[0].toStdString();
  EXPECT_EQ(grid->CurrentRow(), 4);
  EXPECT_EQ(grid->CurrentColumn(), 4) << "the refused cell is the current one";
  ChannelStore& store = view.Source().Store();
  EXPECT_EQ(store.ExistingCount(), 5) << "rows 1-4 and the cells of row 5 before the refusal";
  EXPECT_EQ(Cell(grid, 3, 9), "C3");
  EXPECT_EQ(Cell(grid, 5, 1), "");
  ASSERT_EQ(doc.steps.size(), 1u);
  doc.Undo();
  EXPECT_EQ(store.ExistingCount(), 0);
}

TEST_F(GridEditorsGui, CtrlVPastesWhatWasCopiedLast) {
  UseModel(Vhf146E());
  ChannelStore store(doc.image);
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "rx_frequency"), store.Image(), "146.5").ok());
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "name"), store.Image(), "AB").ok());
  CChInfoView view(doc);
  Activate(view);
  EditGrid* grid = view.Grid();
  grid->setFocus();
  QApplication::clipboard()->setText("150.1");
  // Channels copied with Copy after the text: Ctrl+V pastes the whole channel.
  grid->SelectRows(0, 0);
  ASSERT_TRUE(view.OnCopy());
  grid->SetCurrentCell(5, 1);
  view.Action(CChInfoView::kCmdPaste)->trigger();
  EXPECT_EQ(Cell(grid, 5, 9), "AB") << "a whole channel";
  // Text put on the clipboard after the copy: Ctrl+V pastes the text.
  grid->SelectRows(0, 0);
  ASSERT_TRUE(view.OnToClip(false));
  grid->SetCurrentCell(7, 0);
  view.Action(CChInfoView::kCmdPaste)->trigger();
  EXPECT_EQ(Cell(grid, 7, 1), "146.500000");
  EXPECT_EQ(Cell(grid, 7, 9), "AB") << "the to Clip text of channel 1, cell by cell";
  EXPECT_EQ(doc.steps.size(), 2u);
  EXPECT_TRUE(messages.empty());
}

}  // namespace
