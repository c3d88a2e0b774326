// The channel grid and the channel edit form as a user drives them: keys
// typed into the real widgets on the offscreen platform, and the image bytes
// checked afterwards.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <memory>
#include <vector>

#include "../support/QtTestApp.h"
#include "EditorGuiSupport.h"
#include "EditorTestSupport.h"
#include "editors/ChannelFields.h"
#include "ui/Messages.h"
#include "editors/ui/ChEditView.h"
#include "editors/ui/ChInfoView.h"
#include "editors/ChannelClipboard.h"
#include "editors/ui/EditGrid.h"
#include "editors/ui/EditorViews.h"
#include "app/FPUDoc.h"
#include "editors/ui/FilterEdit.h"
#include "editors/ui/NumberComboBox.h"
#include "editors/ui/SpinEditWidget.h"
#include "editors/ui/ToneComboBox.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

class ChannelGui : public EditorGui {
 protected:
  void SetUp() override {
    StartGui();
    SetDecimalSeparator('.');
    TheChannelClipboard().Clear();
  }

  void UseModel() { SetModel(doc.image, Vhf146E()); }
  void MakeChannels(std::initializer_list<int> numbers) {
    ChannelStore store(doc.image);
    for (int n : numbers)
      ASSERT_TRUE(CommitFieldText(ChannelField(n - 1, "rx_frequency"), store.Image(), "146." + std::to_string(100 + 5 * n)).ok());
  }
  // The info view, shown and active, with the focus on its grid.
  std::unique_ptr<CChInfoView> OpenGrid() {
    auto view = std::make_unique<CChInfoView>(doc);
    view->resize(800, 600);
    Activate(*view);
    view->Grid()->setFocus();
    return view;
  }
  int Column(CChInfoView& v, std::string_view key) {
    for (int c = 1; c < v.Source().ColumnCount(); ++c)
      if (v.Source().Ref(0, c).decl->key == key) return c;
    return -1;
  }
};

// --- the pieces -----------------------------------------------------------------

TEST_F(ChannelGui, FilterEditTakesOnlyWhatItsModeAllows) {
  FilterEdit edit(nullptr, filter::kHex);
  Activate(edit);
  edit.setFocus();
  Type("a1g-F");
  EXPECT_EQ(edit.text(), "A1F") << "lowercase shows as uppercase; refused keys are dropped";
  for (std::uint8_t mode : {filter::kDtmf, filter::kCw, filter::kFiveTone, filter::kDigitsAE}) {
    edit.clear();
    edit.SetMode(mode);
    Type("b");
    EXPECT_EQ(edit.text(), "B") << int(mode);
  }
  edit.clear();
  edit.SetMode(filter::kFrequency);
  Type("146.5,2");
  EXPECT_EQ(edit.text(), "146.52") << "one decimal separator";
  edit.setSelection(3, 1);  // the separator itself
  Type(",");
  EXPECT_EQ(edit.text(), "146,52");
  // Pasted text follows the same rule: refused whole.
  QApplication::clipboard()->setText("1x");
  edit.selectAll();
  Key(&edit, Qt::Key_V, {}, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), "146,52");
  QApplication::clipboard()->setText("150.5");
  edit.selectAll();
  Key(&edit, Qt::Key_V, {}, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), "150.5");
  edit.SetMode(filter::kNone);
  Key(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text(), "150.5") << "mode 0 takes not even Backspace";
}

TEST_F(ChannelGui, ToneAndNumberCombosListTheirItems) {
  SetDecimalSeparator(',');
  ToneComboBox tone;
  ASSERT_EQ(tone.count(), 206);
  EXPECT_EQ(tone.itemText(0), "Off");
  EXPECT_EQ(tone.itemText(1), "67,0") << "the user's decimal separator";
  EXPECT_EQ(tone.itemText(40), "D023N");
  EXPECT_EQ(tone.itemText(205), "D754I");
  tone.SetCode(0xFFFF);
  EXPECT_EQ(tone.currentText(), "Off");
  tone.SetCode(2541);
  EXPECT_EQ(tone.currentText(), "254,1") << "a value that is not listed shows in the edit field";
  EXPECT_EQ(tone.Code(), 2541);
  Activate(tone);
  tone.setFocus();
  tone.lineEdit()->selectAll();
  Type("d7x5.i");
  EXPECT_EQ(tone.currentText(), "D75,I");
  SetDecimalSeparator('.');
  NumberComboBox ran;
  ASSERT_EQ(ran.count(), 64);
  ran.SetValue(0);
  EXPECT_EQ(ran.currentText(), "Off");
  ran.SetValue(63);
  EXPECT_EQ(ran.currentText(), "63");
  ran.SetValue(64);
  EXPECT_EQ(ran.currentText(), "") << "outside the range shows empty";
  SpinEdit spin(nullptr, {1, 30, 1});
  spin.SetShownValue(30);
  spin.stepBy(1);
  EXPECT_EQ(spin.value(), 1) << "up from the maximum wraps to the minimum";
  spin.stepBy(-1);
  EXPECT_EQ(spin.value(), 30);
}

// --- the grid ------------------------------------------------------------------

// The keys every grid shares: test_grid_keys_gui.cpp. The channel grid's own:
// its popup, To Clip, and cells that do not apply to the type never open.
TEST_F(ChannelGui, ThePopupToClipAndCellsThatDoNotApply) {
  UseModel();
  MakeChannels({1, 2});
  auto view = OpenGrid();
  EditGrid* grid = view->Grid();
  QStringList popup;
  for (QAction* a : view->PopupMenu()->actions())
    if (!a->isSeparator()) popup << a->text();
  EXPECT_EQ(popup, (QStringList{"Copy", "Paste", "Delete", "to Clip", "to Clip(w/Title)"}));
  // Type 1 has no QT/DQT: its tone cells show "---" and never open.
  const int tone = Column(*view, "qt_decode");
  EXPECT_EQ(Cell(grid, 0, tone), "---");
  grid->SetCurrentCell(0, tone);
  Type("6");
  EXPECT_FALSE(grid->IsEditing());
  // To Clip: one row has no line break after it; the selection is cleared.
  grid->SelectRows(0, 0);
  ASSERT_TRUE(view->OnToClip(false));
  const QString one = QApplication::clipboard()->text();
  EXPECT_TRUE(one.startsWith("1\t146.105000\t"));
  EXPECT_EQ(one.count('\n'), 0);
  EXPECT_FALSE(grid->SelectedRows()) << "the selection is cleared";
  grid->SelectRows(0, 0);
  ASSERT_TRUE(view->OnToClip(true));
  const QStringList lines = QApplication::clipboard()->text().split('\n');
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].startsWith("CH\tRX Freq.\tTX Freq.\t"));
  EXPECT_EQ(lines[1], one);
  grid->SelectRows(0, 1);
  ASSERT_TRUE(view->OnToClip(false));
  EXPECT_EQ(QApplication::clipboard()->text().count('\n'), 1);
  // Nothing selected: nothing copied.
  QApplication::clipboard()->setText("kept");
  EXPECT_FALSE(view->OnToClip(false));
  EXPECT_EQ(QApplication::clipboard()->text(), "kept");
  EXPECT_TRUE(doc.steps.empty());
}

TEST_F(ChannelGui, TheOptionBoardGivesTheShortLayout) {
  SetModel(doc.image, MakeRecord("RWAV0300", 2, 1, 0xFB));  // bit 2 clear
  auto view = OpenGrid();
  ASSERT_FALSE(view->Source().FullLayout());
  QStringList titles;
  for (int c = 0; c < view->Grid()->Model()->columnCount(); ++c)
    titles << view->Grid()->Model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
  EXPECT_EQ(titles, (QStringList{"CH", "RX Freq.", "TX Freq.", "CH Type", "QT/DQT Dec", "QT/DQT Enc", "Name"}));
  // The model changes to one without the board: the grid takes the full layout.
  SetModel(doc.image, Vhf146E());
  emit doc.ImageChanged(nullptr);
  EXPECT_EQ(view->Grid()->Model()->columnCount(), 10);
}

TEST_F(ChannelGui, ADamagedChannelIndexIsReportedWhenTheGridOpens) {
  UseModel();
  MakeChannels({1, 2});
  doc.image.Main().SetWord(2 * 4, 0x0801);  // not a record offset
  const auto before = AllBytes(doc.image);
  auto view = OpenGrid();
  QApplication::processEvents();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].toStdString(), Tx(748_txt));
  EXPECT_EQ(view->Grid()->Model()->index(4, 1).data().toString(), "") << "the bad entry is no channel";
  EXPECT_EQ(view->Grid()->Model()->index(1, 1).data().toString(), "146.110000");
  // Deleting is refused with the same message; nothing moves.
  view->Grid()->SelectRows(0, 0);
  view->OnDelete();
  EXPECT_EQ(messages.size(), 2u);
  EXPECT_EQ(AllBytes(doc.image), before);
  EXPECT_TRUE(doc.steps.empty());
}

TEST_F(ChannelGui, EnterInTheReceiveColumnOfAMissingChannelMovesDown) {
  UseModel();
  auto view = OpenGrid();
  EditGrid* grid = view->Grid();
  grid->SetCurrentCell(3, 1);
  Key(grid, Qt::Key_Delete);  // empties the editor text
  ASSERT_TRUE(grid->IsEditing());
  Key(Focus(), Qt::Key_Return);
  EXPECT_EQ(grid->CurrentRow(), 4);
  EXPECT_EQ(grid->CurrentColumn(), 1);
  EXPECT_TRUE(doc.steps.empty());
}

TEST_F(ChannelGui, ChannelEditButtonAndF11OpenTheFormOnTheCurrentChannel) {
  UseModel();
  MakeChannels({1, 2, 3});
  auto view = OpenGrid();
  view->Grid()->SetCurrentCell(2, 1);
  EXPECT_TRUE(view->windowTitle().endsWith("- 3 ]")) << view->windowTitle().toStdString();
  view->findChild<QPushButton*>("ctl1107")->click();
  ASSERT_EQ(doc.opened, std::vector<EditorKind>{EditorKind::ChEdit});
  CChEditView form(doc);
  EXPECT_EQ(form.Channel(), 2);
  view->Grid()->SetCurrentCell(1, 1);
  auto* button = view->findChild<QPushButton*>("ctl1107");
  button->setFocus();
  Key(button, Qt::Key_Return);
  EXPECT_EQ(doc.opened.size(), 2u) << "Enter presses the button";
  EXPECT_EQ(form.Channel(), 1) << "an open form follows";
  view->Grid()->SetCurrentCell(2, 1);
  view->Action(CChInfoView::kCmdChannelEdit)->trigger();
  EXPECT_EQ(form.Channel(), 2);
  view->Grid()->SetCurrentCell(1, 1);
  view->Action(CChInfoView::kCmdChannelEdit)->trigger();
  EXPECT_EQ(form.Channel(), 1) << "an open form follows";
  EXPECT_EQ(view->Action(CChInfoView::kCmdChannelEdit)->shortcut(), QKeySequence(Qt::Key_F11));
  EXPECT_EQ(static_cast<QLineEdit*>(form.ValueControl("rx_frequency"))->text(), "146.110000");
}

// --- the form ------------------------------------------------------------------

// Every control of the form commits as the engine does:
// test_every_editor_gui.cpp. Here the form of a missing channel, and its
// channel number.
TEST_F(ChannelGui, TheFormOfAMissingChannelTakesItsFrequencyAndStepsTheChannel) {
  UseModel();
  CChEditView::ShowChannel(4);
  CChEditView form(doc);
  Activate(form);
  ASSERT_EQ(form.Channel(), 4);
  EXPECT_FALSE(form.ValueControl("name")->isEnabled()) << "no channel: only the frequencies";
  auto* rx = static_cast<QLineEdit*>(form.ValueControl("rx_frequency"));
  rx->setFocus();
  Type("146,5");
  Key(Focus(), Qt::Key_Tab);
  EXPECT_TRUE(ChannelStore(doc.image).Exists(4));
  EXPECT_EQ(rx->text(), "146.500000");
  EXPECT_TRUE(form.ValueControl("name")->isEnabled());
  EXPECT_EQ(doc.steps.size(), 1u);
  // Page Up steps the channel; a typed number past the last channel is limited.
  rx->setFocus();
  Key(Focus(), Qt::Key_PageUp);
  EXPECT_EQ(form.Channel(), 5);
  auto* number = static_cast<QAbstractSpinBox*>(form.ValueControl("channel"));
  number->setFocus();
  number->selectAll();
  Type("99");
  Key(Focus(), Qt::Key_Tab);
  EXPECT_EQ(form.Channel(), 29) << "99 is channel 30";
}

TEST_F(ChannelGui, TheProgramsDocumentUndoesAPasteAndADeleteExactly) {
  ImageStore image;
  SetModel(image, Vhf146E());
  {
    ChannelStore store(image);
    for (int n : {1, 2, 3, 5})
      ASSERT_TRUE(CommitFieldText(ChannelField(n - 1, "rx_frequency"), store.Image(), "146." + std::to_string(100 + 5 * n)).ok());
  }
  image.Main().Fill(AuxRecordOffset(0), 32, 0x21);
  CFPUDoc real(image, nullptr);
  CChInfoView view(real);
  Activate(view);
  view.Grid()->setFocus();
  const auto start = AllBytes(image);
  view.Grid()->SelectRows(0, 1);
  ASSERT_TRUE(view.OnCopy());
  view.Grid()->SelectRows(3, 4);
  ASSERT_TRUE(view.OnPaste());
  const auto pasted = AllBytes(image);
  ASSERT_NE(pasted, start);
  view.Grid()->SelectRows(0, 2);
  ASSERT_TRUE(view.OnDelete());
  EXPECT_EQ(real.UndoStack().count(), 2);
  real.UndoStack().undo();
  EXPECT_EQ(AllBytes(image), pasted) << "the delete is one step";
  EXPECT_EQ(view.Grid()->Model()->index(0, 1).data().toString(), "146.105000");
  real.UndoStack().undo();
  EXPECT_EQ(AllBytes(image), start) << "the paste is one step";
  EXPECT_EQ(view.Grid()->Model()->index(3, 1).data().toString(), "") << "the grid follows the undo";
}

TEST_F(ChannelGui, TheChannelEditFormClosesWithTheGrid) {
  std::unique_ptr<QWidget> info(BuiltEditors().at(EditorKind::ChInfo)(doc, nullptr));
  info.reset();
  QApplication::processEvents();
  EXPECT_EQ(doc.closed, std::vector<EditorKind>{EditorKind::ChEdit});
}

// Copied channels pasted from one selected row: every entry up to channel 30,
// a copied missing channel deletes its target, all in one undo step; into
// another band one message names the channels that were not pasted.
TEST_F(ChannelGui, CopiedChannelsPasteUpToChannel30AndAnotherBandIsNamed) {
  UseModel();
  MakeChannels({1, 2, 3, 30});
  auto view = OpenGrid();
  EditGrid* grid = view->Grid();
  ChannelStore& store = view->Source().Store();
  const auto start = AllBytes(doc.image);
  grid->SelectRows(1, 3);
  ASSERT_TRUE(view->OnCopy());
  EXPECT_EQ(TheChannelClipboard().Count(), 3);
  grid->SelectRows(27, 27);
  Key(grid, Qt::Key_V, {}, Qt::ControlModifier);
  EXPECT_EQ(Cell(grid, 27, 1), "146.110000");
  EXPECT_EQ(Cell(grid, 28, 1), "146.115000");
  EXPECT_FALSE(store.Exists(29)) << "the copied missing channel 4 deleted channel 30";
  EXPECT_EQ(doc.steps.size(), 1u);
  EXPECT_TRUE(messages.empty());
  doc.Undo();
  EXPECT_EQ(AllBytes(doc.image), start);
  // Into an image of 450-480 MHz every channel receives outside: nothing is
  // pasted and one message names the channels.
  SetModel(doc.image, Uhf450K());
  grid->SelectRows(0, 1);
  ASSERT_TRUE(view->OnCopy());
  const auto before = AllBytes(doc.image);
  grid->SelectRows(9, 9);
  ASSERT_FALSE(view->OnPaste());
  EXPECT_EQ(AllBytes(doc.image), before);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], QTx(656_txt) + "\n" + QString::fromStdString(FormatText(Tx(677_txt), {"10, 11"})));
  // Without the focus on the grid the commands do nothing.
  grid->SelectRows(0, 0);
  view->findChild<QPushButton*>("ctl1107")->setFocus();
  EXPECT_FALSE(view->OnDelete());
  EXPECT_FALSE(view->OnCopy());
}

}  // namespace
