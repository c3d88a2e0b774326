// The DTMF, scan information, CW ID, CW message, beat shift and embedded
// message editors as a user drives them: keys typed into the real forms on
// the offscreen platform, the image bytes checked afterwards.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "EditorGuiSupport.h"
#include "app/FPUDoc.h"
#include "editors/BeatShiftFields.h"
#include "editors/CwIdFields.h"
#include "editors/EmbeddedMessageFields.h"
#include "editors/ScanInfoFields.h"
#include "editors/ui/BeatShiftView.h"
#include "editors/ui/CWIDView.h"
#include "editors/ui/ChEditView.h"
#include "editors/ui/ChInfoView.h"
#include "editors/ui/EditorViews.h"
#include "editors/ui/ModuleView.h"
#include "editors/ui/SettingsForm.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

class SignallingGui : public EditorGui {
 protected:
  void SetUp() override {
    SetUpDocument(false);
    SetDecimalSeparator('.');
  }

  std::uint8_t Byte(std::size_t offset) { return doc.image.Main().Byte(offset); }
};

// The priority channel's list takes digits only, and the scan form's lists
// follow what changes them: the revert list the priority mode, the channel
// list a channel deleted elsewhere. (Values and refusals: cases/signalling.txt.)
TEST_F(SignallingGui, ScanListsFollowThePriorityModeAndTheChannels) {
  MakeChannels(doc.image, {1, 2, 10});
  ModuleView view(doc, ScanInfoModule());
  Activate(view);
  auto control = [&](std::size_t field) { return qobject_cast<QComboBox*>(view.Form()->ValueControl(0, field)); };
  QComboBox* channel = control(1);
  ASSERT_TRUE(channel->isEditable());
  TypeInto(channel, "1a0");
  EXPECT_EQ(Byte(scan::kPriorityChannel), 10) << "letters are filtered";
  EXPECT_EQ(control(4)->itemText(2).toStdString(), Tx(732_txt));
  Pick(control(0), '1');
  EXPECT_EQ(control(4)->itemText(2).toStdString(), Tx(1125_txt)) << "0, 1, 4, 5";
  Pick(channel, 2);
  doc.Commit("delete", [&] { ChannelStore(doc.image).DeleteChannel(1); });
  EXPECT_EQ(channel->currentText(), "Off");
  EXPECT_EQ(channel->count(), 3);
}

TEST_F(SignallingGui, CwIdFollowsTheChannelEditFormAcrossADeleteInTheGrid) {
  // The program's own document: a delete in the grid moves channel 10's record.
  ImageStore image;
  SetModel(image, Vhf146E());
  MakeChannels(image, {3, 10});
  for (int n : {3, 10}) {  // a transmit frequency and CW ID on
    ASSERT_TRUE(CommitFieldText(ChannelField(n - 1, "tx_frequency"), image, "146.2").ok());
    ASSERT_TRUE(CommitFieldCheck(ChannelField(n - 1, "cw_id"), image, true).ok());
  }
  CFPUDoc real(image, nullptr);
  CChEditView::ShowChannel(9);
  CChEditView edit(real);
  CCWIDView cw(real);
  Activate(cw);
  EXPECT_EQ(cw.Caption()->text(), "Channel 10");
  auto* interval = Control<QAbstractSpinBox>(cw, 1392);
  EXPECT_TRUE(interval->isEnabled());
  EXPECT_EQ(interval->text(), "30");
  {
    CChInfoView grid(real);
    Activate(grid);
    grid.Grid()->setFocus();
    grid.Grid()->SelectRows(2, 2);
    ASSERT_TRUE(grid.OnDelete());
  }
  ASSERT_EQ(image.Main().Word(2 * 9), 0x0800) << "channel 10's record moved down";
  Activate(cw);
  TypeInto(interval, "61");
  EXPECT_EQ(image.Main().Byte(0x0800 + cwrec::kInterval), 60) << "at channel 10's new place";
  EXPECT_EQ(image.Main().Byte(0x0840 + cwrec::kInterval), 0xFF);

  // Page Up in the channel edit form: channel 11 does not exist, nothing is editable.
  Activate(edit);
  edit.ValueControl("name")->setFocus();
  Key(Focus(), Qt::Key_PageUp);
  ASSERT_EQ(edit.Channel(), 10);
  EXPECT_EQ(cw.Channel(), 10);
  EXPECT_EQ(cw.Caption()->text(), "Channel 11");
  EXPECT_FALSE(interval->isEnabled());
  EXPECT_FALSE(Control(cw, 1072)->isEnabled());
  EXPECT_EQ(interval->text(), "");
  Key(edit.ValueControl("rx_frequency"), Qt::Key_PageDown);
  EXPECT_TRUE(interval->isEnabled());
  EXPECT_EQ(interval->text(), "60");
}

TEST_F(SignallingGui, CwIdEnablingFollowsTheSwitchAndTheTransmitMode) {
  MakeChannels(doc.image, {5});
  CommitFieldText(ChannelField(4, "tx_frequency"), ChannelStore(doc.image).Image(), "146.125");
  CChEditView::ShowChannel(4);
  CChEditView edit(doc);
  CCWIDView cw(doc);
  Activate(cw);
  EXPECT_EQ(Focus(), cw.CloseButton()) << "nothing to edit: the focus is on Close";
  Control<QCheckBox>(edit, 1345)->click();  // CW ID on in the channel edit form
  for (int id : {1072, 1392, 1398, 1076}) EXPECT_TRUE(Control(cw, id)->isEnabled()) << id;
  Pick(Control<QComboBox>(edit, 1289), 1);  // transmit mode 1
  EXPECT_FALSE(Control(cw, 1398)->isEnabled()) << "CW ID over";
  EXPECT_FALSE(Control(cw, 1076)->isEnabled()) << "Encode with QT/DQT";
  EXPECT_TRUE(Control(cw, 1075)->isEnabled());
  Activate(cw);
  TypeInto(Control(cw, 1072), "ab~c");
  EXPECT_EQ(doc.image.Main().Text(AuxRecordOffset(4), 32), "ABC") << "characters outside the CW set are dropped";
  // The buttons of the channel edit form open the two views; both close with it.
  Control<QPushButton>(edit, 1142)->click();
  Control<QPushButton>(edit, 1298)->click();
  EXPECT_EQ(doc.opened, (std::vector<EditorKind>{EditorKind::CWID, EditorKind::BeatShift}));
  CBeatShiftView beat(doc);
  doc.NotifyEditorClosed(EditorKind::ChEdit);
  EXPECT_EQ(doc.closed, (std::vector<EditorKind>{EditorKind::CWID, EditorKind::BeatShift}));
}

TEST_F(SignallingGui, BeatShiftBoxesWriteTheirBitsWhileBeatShiftIsOn) {
  MakeChannels(doc.image, {4});
  CChEditView::ShowChannel(3);
  CChEditView edit(doc);
  CBeatShiftView view(doc);
  Activate(view);
  EXPECT_EQ(view.windowTitle(), "Beat Shift  [ Channel - 4 ]");
  auto* box3 = Control<QCheckBox>(view, 1288);
  EXPECT_FALSE(box3->isEnabled()) << "a new channel has beat shift off";
  Control<QCheckBox>(edit, 1285)->click();  // beat shift on
  const std::size_t at = *ChannelStore::RecordOf(doc.image, 3) + chrec::kBeatShift;
  EXPECT_EQ(Byte(at), 0xFE);
  ASSERT_TRUE(box3->isEnabled());
  box3->click();
  EXPECT_EQ(Byte(at), 0xF6);
  edit.SetChannel(4);
  EXPECT_EQ(view.windowTitle(), "Beat Shift  [ Channel - 5 ]");
  EXPECT_FALSE(box3->isEnabled());
  EXPECT_FALSE(box3->isChecked()) << "a channel that does not exist shows every box clear";
}

TEST_F(SignallingGui, EmbeddedMessageTakesEveryCharacterOfItsByteSet) {
  ModuleView view(doc, EmbeddedMessageModule());
  Activate(view);
  auto* line = Control<QLineEdit>(view, 1010);
  TypeInto(line, QStringLiteral("M\u00fcller \u20ac5"));  // the euro sign is no byte of the line
  EXPECT_EQ(line->text(), QStringLiteral("M\u00fcller 5"));
  EXPECT_EQ(doc.image.Main().Read(emb::kLine1, 9), (std::vector<std::uint8_t>{'M', 0xFC, 'l', 'l', 'e', 'r', ' ', '5', 0}));
}

}  // namespace
