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

std::vector<std::uint8_t> Bytes(ImageStore& image, std::size_t offset, std::size_t n) {
  return image.Main().Read(offset, n);
}

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

TEST_F(ChannelGui, TypingIntoTheGridStoresTheChannelRecord) {
  UseModel();
  auto view = OpenGrid();
  EditGrid* grid = view->Grid();
  ASSERT_EQ(grid, Focus());
  grid->SetCurrentCell(0, Column(*view, "rx_frequency"));
  Type("146.5");
  ASSERT_TRUE(grid->IsEditing());
  EXPECT_EQ(grid->TextEditor()->text(), "146.5") << "the first key replaces the cell's text";
  Key(Focus(), Qt::Key_Return);
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(doc.image.Main().Word(0), 0x0800);
  EXPECT_EQ(Bytes(doc.image, 0x0800, 5), (std::vector<std::uint8_t>{0x00, 0x00, 0x00, 0x65, 0x14}));
  EXPECT_EQ(doc.image.Main().Byte(0x0800 + 0x0A), 1);
  EXPECT_EQ(doc.steps.size(), 1u) << "one commit, one undo step";
  EXPECT_EQ(grid->Model()->index(0, 1).data().toString(), "146.500000");
  EXPECT_EQ(grid->CurrentColumn(), Column(*view, "tx_frequency")) << "Enter moves one cell right";

  // The name column: a FilterEdit in the name mode, two characters.
  grid->SetCurrentCell(0, Column(*view, "name"));
  Type("A.B");  // "." is no name character
  Key(Focus(), Qt::Key_Return);
  EXPECT_EQ(Bytes(doc.image, 0x0810, 2), (std::vector<std::uint8_t>{'A', 'B'}));

  // A character the column refuses opens nothing and changes nothing.
  const auto before = AllBytes(doc.image);
  grid->SetCurrentCell(1, Column(*view, "rx_frequency"));
  Type("x");
  EXPECT_FALSE(grid->IsEditing());
  // Type 1 has no QT/DQT: its tone cells show "---" and never open.
  const int tone = Column(*view, "qt_decode");
  EXPECT_EQ(grid->Model()->index(0, tone).data().toString(), "---");
  EXPECT_FALSE(grid->BeginCellEdit(0, tone));
  grid->SetCurrentCell(0, tone);
  Type("6");
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(AllBytes(doc.image), before);
  EXPECT_TRUE(messages.empty());

  // Undo takes the name back, then the channel.
  doc.Undo();
  EXPECT_EQ(grid->Model()->index(0, Column(*view, "name")).data().toString(), " 1");
  doc.Undo();
  EXPECT_EQ(grid->Model()->index(0, 1).data().toString(), "");
  EXPECT_EQ(doc.image.Main().Word(0), 0xFFFF);
}

TEST_F(ChannelGui, EscapeBackspaceAndThePopupOfTheGrid) {
  UseModel();
  MakeChannels({1});
  auto view = OpenGrid();
  EditGrid* grid = view->Grid();
  const int name = Column(*view, "name");
  grid->SetCurrentCell(0, name);
  Type("Q");
  ASSERT_TRUE(grid->IsEditing());
  Key(Focus(), Qt::Key_Escape);
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(Focus(), grid) << "Escape gives the focus back to the grid";
  EXPECT_EQ(grid->Model()->index(0, name).data().toString(), " 1");
  EXPECT_TRUE(doc.steps.empty());
  // Backspace: the next edit starts from empty text.
  Key(grid, Qt::Key_Backspace);
  ASSERT_TRUE(grid->BeginCellEdit(0, name));
  EXPECT_EQ(grid->TextEditor()->text(), "");
  Key(Focus(), Qt::Key_Escape);
  ASSERT_TRUE(grid->BeginCellEdit(0, name));
  EXPECT_EQ(grid->TextEditor()->text(), " 1") << "only the next edit";
  Key(Focus(), Qt::Key_Escape);
  // Enter with Shift keeps the current cell; on the last cell nothing moves.
  Key(grid, Qt::Key_Return, {}, Qt::ShiftModifier);
  EXPECT_EQ(grid->CurrentColumn(), name);
  grid->SetCurrentCell(29, grid->Model()->columnCount() - 1);
  Key(grid, Qt::Key_Return);
  EXPECT_EQ(grid->CurrentRow(), 29);
  EXPECT_EQ(grid->CurrentColumn(), grid->Model()->columnCount() - 1);
  grid->SetCurrentCell(0, grid->Model()->columnCount() - 1);
  Key(grid, Qt::Key_Return);
  EXPECT_EQ(grid->CurrentRow(), 1) << "after the last column: the next row's first field";
  EXPECT_EQ(grid->CurrentColumn(), 1);
  QStringList popup;
  for (QAction* a : view->PopupMenu()->actions())
    if (!a->isSeparator()) popup << a->text();
  EXPECT_EQ(popup, (QStringList{"Copy", "Paste", "Delete", "to Clip", "to Clip(w/Title)"}));
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
  // A frequency outside the band is refused with its message; nothing is written.
  Type("200");
  Key(Focus(), Qt::Key_Return);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].toStdString(), Tx(656_txt));
  EXPECT_TRUE(doc.steps.empty());
  EXPECT_EQ(doc.image.Main().Word(8), 0xFFFF);
}

TEST_F(ChannelGui, ToneAndRanCellsUseTheirCombos) {
  UseModel();
  MakeChannels({1});
  CommitFieldChoice(ChannelField(0, "channel_type"), ChannelStore(doc.image).Image(), 2);  // mixed: tones and RAN
  auto view = OpenGrid();
  EditGrid* grid = view->Grid();
  if (!view->Source().FullLayout()) GTEST_SKIP() << "the short layout has no RAN columns";
  grid->SetCurrentCell(0, Column(*view, "qt_encode"));
  Type("d23");
  ASSERT_TRUE(grid->IsEditing());
  EXPECT_EQ(grid->ToneEditor()->currentText(), "D23");
  Key(Focus(), Qt::Key_Return);
  EXPECT_EQ(doc.image.Main().Word(0x0800 + 0x17), 0x2898) << "D230N";
  grid->SetCurrentCell(0, Column(*view, "ran_decode"));
  Type("75");
  Key(Focus(), Qt::Key_Return);
  EXPECT_EQ(doc.image.Main().Word(0x0800 + 0x24), 63) << "limited to 63";
  EXPECT_EQ(grid->Model()->index(0, Column(*view, "ran_decode")).data().toString(), "63");
}

TEST_F(ChannelGui, PasteOfThreeRowsOntoRow29PastesTwo) {
  UseModel();
  MakeChannels({1, 2, 3});
  auto view = OpenGrid();
  EditGrid* grid = view->Grid();
  ChannelStore& store = view->Source().Store();
  const auto one = store.ReadRecord(0), two = store.ReadRecord(1);
  grid->SelectRows(0, 2);
  ASSERT_TRUE(view->OnCopy());
  EXPECT_EQ(TheChannelClipboard().Count(), 3);
  grid->SetCurrentCell(28, 1);
  ASSERT_TRUE(view->OnPaste());
  EXPECT_EQ(doc.steps.size(), 1u) << "a whole paste is one undo step";
  EXPECT_TRUE(store.Exists(28));
  EXPECT_TRUE(store.Exists(29));
  EXPECT_EQ(store.ExistingCount(), 5);
  auto expected = one;
  expected[0x0E] = (32 * (28 + 576)) & 0xFF;
  expected[0x0F] = (32 * (28 + 576)) >> 8;
  EXPECT_EQ(store.ReadRecord(28), expected);
  EXPECT_EQ(grid->Model()->index(29, 1).data().toString(), "146.110000");
  EXPECT_EQ(store.ReadRecord(29)[0x10], two[0x10]);
  EXPECT_TRUE(messages.empty());
  doc.Undo();
  EXPECT_EQ(store.ExistingCount(), 3);
  EXPECT_EQ(grid->Model()->index(28, 1).data().toString(), "");
}

TEST_F(ChannelGui, CopiedMissingChannelsDeleteTheTargetsWhenPasted) {
  UseModel();
  MakeChannels({1, 3, 11, 12, 13});
  auto view = OpenGrid();
  EditGrid* grid = view->Grid();
  ChannelStore& store = view->Source().Store();
  grid->SelectRows(0, 2);
  ASSERT_TRUE(view->OnCopy());
  grid->SelectRows(10, 12);
  ASSERT_TRUE(view->OnPaste());
  EXPECT_TRUE(store.Exists(10));
  EXPECT_FALSE(store.Exists(11)) << "the empty entry deleted channel 12";
  EXPECT_TRUE(store.Exists(12));
  EXPECT_EQ(grid->Model()->index(10, 1).data().toString(), "146.105000");
  EXPECT_EQ(grid->Model()->index(12, 1).data().toString(), "146.115000");
  EXPECT_EQ(doc.steps.size(), 1u);
  EXPECT_TRUE(store.CheckIndex().sound);
}

TEST_F(ChannelGui, DeleteKeyOnSelectedRowsDeletesTheirChannels) {
  UseModel();
  MakeChannels({1, 2, 3, 4});
  auto view = OpenGrid();
  EditGrid* grid = view->Grid();
  grid->SelectRows(1, 2);
  Key(grid, Qt::Key_Delete);
  ChannelStore& store = view->Source().Store();
  EXPECT_TRUE(store.Exists(0));
  EXPECT_FALSE(store.Exists(1));
  EXPECT_FALSE(store.Exists(2));
  EXPECT_EQ(doc.image.Main().Word(6), 0x0840) << "channel 4 moved down";
  EXPECT_EQ(doc.steps.size(), 1u);
  // Without the focus on the grid the commands do nothing.
  grid->SelectRows(0, 0);
  view->findChild<QPushButton*>("ctl1107")->setFocus();
  EXPECT_FALSE(view->OnDelete());
  EXPECT_FALSE(view->OnCopy());
  EXPECT_TRUE(store.Exists(0));
}

TEST_F(ChannelGui, ToClipOfOneRowHasNoTrailingNewline) {
  UseModel();
  MakeChannels({1, 2});
  auto view = OpenGrid();
  EditGrid* grid = view->Grid();
  grid->SelectRows(0, 0);
  ASSERT_TRUE(view->OnToClip(false));
  const QString one = QApplication::clipboard()->text();
  EXPECT_TRUE(one.startsWith("1\t146.105000\t"));
  EXPECT_FALSE(one.endsWith('\n'));
  EXPECT_EQ(one.count('\n'), 0);
  EXPECT_FALSE(grid->SelectedRows()) << "the selection is cleared";
  grid->SelectRows(0, 0);
  ASSERT_TRUE(view->OnToClip(true));
  const QString titled = QApplication::clipboard()->text();
  const QStringList lines = titled.split('\n');
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

TEST_F(ChannelGui, TheGridRereadsTheImageWhenItChanges) {
  UseModel();
  auto view = OpenGrid();
  MakeChannels({7});
  emit doc.ImageChanged(nullptr);  // as after an undo or an image replacement
  EXPECT_EQ(view->Grid()->Model()->index(6, 1).data().toString(), "146.135000");
}

// --- the form ------------------------------------------------------------------

TEST_F(ChannelGui, TheFormStoresEveryKindOfField) {
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
  ChannelStore store(doc.image);
  ASSERT_TRUE(store.Exists(4));
  EXPECT_EQ(Bytes(doc.image, 0x0800, 5), (std::vector<std::uint8_t>{0x00, 0x00, 0x00, 0x65, 0x14}));
  EXPECT_EQ(rx->text(), "146.500000");
  EXPECT_TRUE(form.ValueControl("name")->isEnabled());
  const std::size_t steps = doc.steps.size();
  EXPECT_EQ(steps, 1u);

  // Name.
  auto* name = static_cast<QLineEdit*>(form.ValueControl("name"));
  name->setFocus();
  name->selectAll();
  Type("xy");
  Key(Focus(), Qt::Key_Return);  // Enter acts as Tab
  EXPECT_EQ(Bytes(doc.image, 0x0810, 2), (std::vector<std::uint8_t>{'x', 'y'}));
  // A drop-down list: the user's choice stores its value.
  auto* type = static_cast<QComboBox*>(form.ValueControl("channel_type"));
  const int mixed = type->findData(2);
  ASSERT_GE(mixed, 0);
  type->setCurrentIndex(mixed);
  emit type->activated(mixed);
  EXPECT_EQ(doc.image.Main().Byte(0x0800 + 0x23), 2);
  EXPECT_TRUE(form.ValueControl("qt_decode")->isEnabled()) << "mixed channels have tones";
  // A tone typed into the combo.
  auto* tone = static_cast<ToneComboBox*>(form.ValueControl("qt_decode"));
  tone->setFocus();
  tone->lineEdit()->selectAll();
  Type("88,5");
  Key(Focus(), Qt::Key_Tab);
  EXPECT_EQ(doc.image.Main().Word(0x0800 + 0x15), 885);
  EXPECT_EQ(tone->currentText(), "88.5");
  // A check box stores its own encoding (user limit: 0 = on).
  auto* limit = static_cast<QCheckBox*>(form.ValueControl("user_limit"));
  limit->click();
  EXPECT_EQ(doc.image.Main().Byte(0x0800 + 0x28), 0);
  // Scrambler code spin: a step up from 16 wraps to 1.
  auto* code = form.ValueControl("scrambler_code");
  doc.image.Main().SetByte(0x0800 + 0x3E, 16);
  form.Load();
  static_cast<QAbstractSpinBox*>(code)->stepBy(1);
  EXPECT_EQ(doc.image.Main().Byte(0x0800 + 0x3E), 1);
  // Every change was one step; a refused frequency is none and shows its message.
  const std::size_t before = doc.steps.size();
  rx->setFocus();
  rx->selectAll();
  Type("9");
  Key(Focus(), Qt::Key_Tab);
  EXPECT_EQ(doc.steps.size(), before);
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().toStdString(), Tx(656_txt));
  EXPECT_EQ(rx->text(), "146.500000") << "the stored frequency is shown again";
  // Page Up steps the channel; a typed number past the last channel is limited.
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

TEST_F(ChannelGui, ScreenshotOfTheGridWithChannels) {
  UseModel();
  MakeChannels({1, 2, 3, 4, 5, 6, 8, 9, 10, 12});
  ChannelStore store(doc.image);
  CommitFieldText(ChannelField(1, "tx_frequency"), store.Image(), "146.71");
  CommitFieldChoice(ChannelField(2, "channel_type"), store.Image(), 0);
  CommitFieldText(ChannelField(2, "qt_decode"), store.Image(), "88.5");
  CommitFieldText(ChannelField(2, "qt_encode"), store.Image(), "D023");
  CommitFieldChoice(ChannelField(3, "channel_type"), store.Image(), 2);
  CommitFieldText(ChannelField(3, "ran_decode"), store.Image(), "12");
  CommitFieldText(ChannelField(4, "name"), store.Image(), "GW");
  auto view = OpenGrid();
  view->resize(view->sizeHint());
  view->Grid()->SelectRows(4, 5);
  // Every column fits the view as it opens.
  EditGrid* grid = view->Grid();
  const int last = grid->Model()->columnCount() - 1;
  EXPECT_LE(grid->columnViewportPosition(last) + grid->columnWidth(last), grid->viewport()->width());
  EXPECT_EQ(view->Grid()->Model()->rowCount(), 30);
}

TEST_F(ChannelGui, OneSelectedRowTakesTheWholeClipboardAndAnotherBandIsNamed) {
  UseModel();
  MakeChannels({1, 2, 3});
  auto view = OpenGrid();
  EditGrid* grid = view->Grid();
  ChannelStore& store = view->Source().Store();
  grid->SelectRows(0, 2);
  ASSERT_TRUE(view->OnCopy());
  // One row selected: every entry is pasted from it on, up to channel 30.
  grid->SelectRows(27, 27);
  Key(grid, Qt::Key_V, {}, Qt::ControlModifier);
  EXPECT_TRUE(store.Exists(27));
  EXPECT_TRUE(store.Exists(28));
  EXPECT_TRUE(store.Exists(29));
  EXPECT_EQ(grid->Model()->index(29, 1).data().toString(), "146.115000");
  EXPECT_TRUE(messages.empty());
  // Into an image of 450-480 MHz: every channel receives outside, nothing is
  // pasted and one message names the channels.
  SetModel(doc.image, Uhf450K());
  ASSERT_EQ(store.DeleteChannel(0), StoreStatus::Ok);
  const auto before = AllBytes(doc.image);
  grid->SelectRows(9, 9);
  ASSERT_FALSE(view->OnPaste());
  EXPECT_EQ(AllBytes(doc.image), before);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], QTx(656_txt) + "\n" + QString::fromStdString(FormatText(Tx(677_txt), {"10, 11, 12"})));
}

TEST_F(ChannelGui, DeleteTakesWholeRowsOnlyAndShiftEnterKeepsTheCell) {
  UseModel();
  MakeChannels({1, 2});
  auto view = OpenGrid();
  EditGrid* grid = view->Grid();
  ChannelStore& store = view->Source().Store();
  const int name = Column(*view, "name");
  // Two cells of one row: Delete empties the current cell's editor.
  grid->selectionModel()->select(QItemSelection(grid->Model()->index(0, name - 1), grid->Model()->index(0, name)),
                                 QItemSelectionModel::ClearAndSelect);
  grid->selectionModel()->setCurrentIndex(grid->Model()->index(0, name), QItemSelectionModel::NoUpdate);
  Key(grid, Qt::Key_Delete);
  EXPECT_TRUE(store.Exists(0)) << "no channel is deleted without a whole row";
  ASSERT_TRUE(grid->IsEditing());
  EXPECT_EQ(grid->TextEditor()->text(), "");
  // Shift+Enter and Ctrl+Enter commit and keep the current cell.
  Type("AB");
  Key(Focus(), Qt::Key_Return, {}, Qt::ShiftModifier);
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(ShowField(ChannelField(0, "name"), store.Image()).text, "AB");
  EXPECT_EQ(grid->CurrentRow(), 0);
  EXPECT_EQ(grid->CurrentColumn(), name);
  grid->SetCurrentCell(1, name);
  Type("C");
  Key(Focus(), Qt::Key_Enter, {}, Qt::ControlModifier);
  EXPECT_EQ(ShowField(ChannelField(1, "name"), store.Image()).text, "C");
  EXPECT_EQ(grid->CurrentRow(), 1);
  EXPECT_EQ(grid->CurrentColumn(), name);
  // A whole row chosen from the number column is deleted.
  grid->SelectRows(1, 1);
  Key(grid, Qt::Key_Delete);
  EXPECT_FALSE(store.Exists(1));
  EXPECT_TRUE(messages.empty());
}

}  // namespace
