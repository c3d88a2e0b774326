// What the multi table, test frequency and channel grid windows add to the
// keys every grid shares (test_grid_keys_gui.cpp): the table number, the
// test channels' redirect, warning, records and Ch Paste, and Ctrl+V of what
// was copied last.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPushButton>

#include "EditorGuiSupport.h"
#include "editors/ChannelClipboard.h"
#include "editors/MultiTableFields.h"
#include "editors/TestFreqFields.h"
#include "editors/ui/ChInfoView.h"
#include "editors/ui/MultiView.h"
#include "editors/ui/SpinEditWidget.h"
#include "editors/ui/TestFreqView.h"

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

TEST_F(GridEditorsGui, TheMultiTableNumberIsLimitedAsTypedAndChoosesTheTables) {
  UseModel(Vhf146E());
  CMultiView view(doc);
  Activate(view);
  EXPECT_EQ(view.windowTitle(), "Multi Table");
  view.TableSpin()->setFocus();
  view.TableSpin()->selectAll();
  Type("16");
  Key(Focus(), Qt::Key_Tab);
  EXPECT_EQ(view.TableNumber(), 15);
  view.SetTableNumber(2);
  ASSERT_TRUE(CommitFieldText(FieldRef{&MultiToneTable(2), &MultiToneTable(2).fields[0], 2}, doc.image, "88.5").ok());
  emit doc.ImageChanged(nullptr);
  EXPECT_EQ(Cell(view.ToneGrid(), 2, 1), "88.5");
  view.SetTableNumber(3);
  EXPECT_EQ(Cell(view.ToneGrid(), 2, 1), "Off") << "another table shows its own words";
}

// A key typed into frequency 2 of an empty test channel starts the edit in
// frequency 1; a frequency outside the band is stored with its warning.
TEST_F(GridEditorsGui, TestFrequencyTypingRedirectsAndWarns) {
  UseModel(Uhf480K());
  CTestFreqView view(doc);
  Activate(view);
  EditGrid* grid = view.Grid();
  grid->setFocus();
  EXPECT_EQ(view.windowTitle(), "Test Frequency");
  grid->SetCurrentCell(9, 2);
  Key(grid, Qt::Key_Return);
  EXPECT_FALSE(grid->IsEditing()) << "Enter on frequency 2 of an empty test channel opens nothing";
  Type("4");
  ASSERT_TRUE(grid->IsEditing());
  EXPECT_EQ(grid->CurrentColumn(), 1);
  Type("94.6");
  Key(Focus(), Qt::Key_Return);
  EXPECT_EQ(Cell(grid, 9, 1), "494.600000");
  EXPECT_TRUE(messages.empty());
  grid->SetCurrentCell(9, 2);
  Type("520");
  Key(Focus(), Qt::Key_Return);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].toStdString(), Tx(657_txt));
  EXPECT_EQ(Cell(grid, 9, 2), "520.000000");
  EXPECT_EQ(doc.steps.size(), 2u);
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
  EXPECT_FALSE(view.ChPasteButton()->isEnabled()) << "no channel";
  // Copied test channels pasted at test channel 14, in one step.
  grid->SelectRows(0, 4);
  ASSERT_TRUE(view.OnCopy());
  grid->SetCurrentCell(13, 1);
  ASSERT_TRUE(view.Action(CTestFreqView::kCmdPaste)->isEnabled());
  view.Action(CTestFreqView::kCmdPaste)->trigger();
  EXPECT_EQ(Cell(grid, 13, 1), "480.000000");
  EXPECT_EQ(doc.steps.size(), 1u);
  // Ch Paste follows the channels, decided again when clicked.
  ChannelStore store(doc.image);
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "rx_frequency"), store.Image(), "494.6").ok());
  view.Reload();
  ASSERT_TRUE(view.ChPasteButton()->isEnabled());
  view.ChPasteButton()->click();
  EXPECT_EQ(Cell(grid, 0, 2), "494.600000");
  EXPECT_EQ(doc.steps.size(), 2u);
  ASSERT_EQ(store.DeleteChannel(0), StoreStatus::Ok);
  const auto before = AllBytes(doc.image);
  EXPECT_FALSE(view.OnChPaste()) << "the channels went while the form was open";
  EXPECT_FALSE(view.ChPasteButton()->isEnabled());
  EXPECT_EQ(AllBytes(doc.image), before);
  // Text copied after the records goes the text way.
  QApplication::clipboard()->setText("450.5\t451.5");
  grid->SetCurrentCell(7, 1);
  view.Action(CTestFreqView::kCmdPaste)->trigger();
  EXPECT_EQ(Cell(grid, 7, 1), "450.500000");
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
