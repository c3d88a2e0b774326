// The DTMF, scan information, CW ID, CW message, beat shift and embedded
// message settings through their field declarations: the rules each editor
// adds to the shared codec, and the channel-keyed data across create, delete,
// copy and paste.
#include <gtest/gtest.h>

#include <string>

#include "EditorTestSupport.h"
#include "editors/BeatShiftFields.h"
#include "editors/ChannelClipboard.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"
#include "editors/CwIdFields.h"
#include "editors/CwMessageFields.h"
#include "editors/DtmfFields.h"
#include "editors/EditorModules.h"
#include "editors/EmbeddedMessageFields.h"
#include "editors/ScanInfoFields.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

class SignallingFields : public ::testing::Test {
 protected:
  void SetUp() override {
    UseProgramTexts();
    SetDecimalSeparator('.');
    SetModel(image, Vhf146E());
  }
  void MakeChannels(std::initializer_list<int> numbers) {
    ChannelStore store(image);
    for (int n : numbers)
      ASSERT_TRUE(CommitFieldText(ChannelField(n - 1, "rx_frequency"), store.Image(), "146." + std::to_string(100 + 5 * n)).ok());
  }
  FieldRef Ref(const std::string& key) {
    const auto found = FindField(EditorModules(), image, key);
    EXPECT_TRUE(found) << key;
    return found ? found->ref : FieldRef{};
  }
  std::string Shown(const std::string& key) { return ShowField(Ref(key), image).text; }
  CommitResult Type(const std::string& key, std::string_view text) {
    return CommitFieldText(Ref(key), image, text);
  }
  std::uint8_t Byte(std::size_t offset) const { return image.Main().Byte(offset); }
  std::size_t RecordOf(int number) const { return *ChannelStore::RecordOf(image, number - 1); }

  ImageStore image;
};

TEST_F(SignallingFields, ScanRevertChoicesFollowThePriorityAndOffHookScanKeepsForeignBytes) {
  auto revertValues = [&] {
    std::string values;
    for (const ShownChoice& c : FieldChoices(Ref("scan.revert_channel"), image)) values += static_cast<char>(c.value);
    return values;
  };
  EXPECT_EQ(revertValues(), "0123") << "Priority off hides 4 and 5";
  ASSERT_TRUE(CommitFieldChoice(Ref("scan.priority"), image, '1').ok());
  EXPECT_EQ(revertValues(), "0145") << "Priority 1 hides 2 and 3";
  ASSERT_TRUE(CommitFieldChoice(Ref("scan.priority"), image, '0').ok());
  EXPECT_EQ(revertValues(), "012345");
  EXPECT_EQ(Shown("scan.priority"), "Fixed");

  EXPECT_FALSE(ShowField(Ref("scan.off_hook_scan"), image).checked) << "0xFF is clear";
  ASSERT_TRUE(CommitFieldCheck(Ref("scan.off_hook_scan"), image, true).ok());
  EXPECT_EQ(Byte(scan::kOffHookScan), 0);
  image.Main().SetByte(scan::kOffHookScan, 0x07);
  EXPECT_FALSE(ShowField(Ref("scan.off_hook_scan"), image).checked);
  ASSERT_TRUE(ApplyFieldText(Ref("scan.off_hook_scan"), image, "0").ok());
  EXPECT_EQ(Byte(scan::kOffHookScan), 0x07) << "a foreign byte stays while it is only shown";
  ASSERT_TRUE(CommitFieldCheck(Ref("scan.off_hook_scan"), image, false).ok());
  EXPECT_EQ(Byte(scan::kOffHookScan), 0xFF) << "set clear, it takes the clear value";
}

TEST_F(SignallingFields, ThePriorityChannelMustExistAndFollowsDeleteCopyAndPaste) {
  MakeChannels({1, 2, 10});
  const auto before = AllBytes(image);
  for (const char* bad : {"0", "31", "300", "4", "x", "1x", "-1"}) {
    const CommitResult r = Type("scan.priority_channel", bad);
    EXPECT_EQ(r.status, CommitStatus::Refused) << bad;
    EXPECT_EQ(r.message.n, 667) << bad;
  }
  EXPECT_EQ(CommitFieldChoice(Ref("scan.priority_channel"), image, 4).status, CommitStatus::Refused);
  EXPECT_EQ(AllBytes(image), before) << "a refused channel keeps the byte";
  std::vector<std::string> texts;
  for (const ShownChoice& c : FieldChoices(Ref("scan.priority_channel"), image)) texts.push_back(c.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"Off", "1", "2", "10"}));

  ASSERT_TRUE(Type("scan.priority_channel", "10").ok());
  EXPECT_EQ(Byte(scan::kPriorityChannel), 10);
  EXPECT_EQ(Shown("scan.priority_channel"), "10");
  ASSERT_TRUE(Type("scan.priority_channel", "Off").ok());
  EXPECT_EQ(Byte(scan::kPriorityChannel), 0xFF);
  ASSERT_TRUE(Type("scan.priority_channel", "2").ok());

  // Copy and paste over the priority channel: it exists afterwards and stays the priority channel.
  ChannelStore store(image);
  const auto user = [&](auto change) { ChangeAndRelease(EditorModules(), image, change); };
  user([&] { ASSERT_EQ(store.CopyChannel(0, 1), StoreStatus::Ok); });
  EXPECT_EQ(Byte(scan::kPriorityChannel), 2);
  ChannelClipboard clip;
  clip.Copy(store, 9, 9);
  user([&] { ASSERT_EQ(clip.Paste(store, 1).status, StoreStatus::Ok); });
  EXPECT_EQ(Byte(scan::kPriorityChannel), 2);
  EXPECT_EQ(store.ReadRecord(1)[0x10], '1') << "channel 10's record is pasted (name \"10\")";
  // Pasting a missing channel over it deletes it: no priority channel any more.
  clip.Copy(store, 5, 5);
  user([&] { ASSERT_EQ(clip.Paste(store, 1).status, StoreStatus::Ok); });
  EXPECT_FALSE(store.Exists(1));
  EXPECT_EQ(Byte(scan::kPriorityChannel), 0xFF);
  ASSERT_TRUE(Type("scan.priority_channel", "10").ok());
  user([&] { ASSERT_EQ(store.DeleteChannel(9), StoreStatus::Ok); });
  EXPECT_EQ(Byte(scan::kPriorityChannel), 0xFF) << "deleting the priority channel releases it";
  EXPECT_EQ(Shown("scan.priority_channel"), "Off");
  // A priority channel that names no channel (a file made elsewhere) shows
  // what it names, and stays until the user chooses another.
  image.Main().SetByte(scan::kPriorityChannel, 7);
  EXPECT_EQ(Shown("scan.priority_channel"), "7 (no such channel)");
}

TEST_F(SignallingFields, CwIdSettingsOfANewChannelAndWhenTheyAreEditable) {
  MakeChannels({3});
  EXPECT_EQ(Shown("cw_id[3].interval"), "30");
  EXPECT_EQ(Shown("cw_id[3].delay"), "5.0");
  EXPECT_EQ(Shown("cw_id[3].speed"), "20");
  EXPECT_EQ(Shown("cw_id[3].mod_delay"), "600");
  EXPECT_EQ(Shown("cw_id[3].audio_frequency"), "800");
  EXPECT_EQ(Shown("cw_id[3].text"), "");
  // Editable only while CW ID is on; "CW ID over" and "Encode" also need transmit mode 0.
  const FieldDecl& interval = *Ref("cw_id[3].interval").decl;
  const FieldDecl& over = *Ref("cw_id[3].over").decl;
  EXPECT_FALSE(CwIdEditable(image, 2, interval)) << "a new channel has CW ID off";
  EXPECT_EQ(Type("cw_id[3].text", "DE AB").message, 379_txt) << "refused, saying why";
  const std::size_t r = RecordOf(3);
  image.Main().SetByte(r + chrec::kCwId, 1);
  EXPECT_TRUE(CwIdEditable(image, 2, interval));
  image.Main().SetByte(r + chrec::kTxMode, 1);
  EXPECT_TRUE(CwIdEditable(image, 2, interval));
  EXPECT_FALSE(CwIdEditable(image, 2, over));
  EXPECT_EQ(CommitFieldCheck(Ref("cw_id[3].over"), image, true).message, 380_txt);
  EXPECT_FALSE(CwIdEditable(image, 4, interval)) << "channel 5 does not exist";
  EXPECT_FALSE(FindField(EditorModules(), image, "cw_id[5].interval")) << "keys only for existing channels";
}

TEST_F(SignallingFields, CwTextsAreCheckedCutAndPaddedBeforeAnythingIsWritten) {
  MakeChannels({3});
  image.Main().SetByte(RecordOf(3) + chrec::kCwId, 1);
  const std::size_t aux = AuxRecordOffset(2);
  ASSERT_TRUE(Type("cw_id[3].text", " de ab1cd/2").ok());
  EXPECT_EQ(Shown("cw_id[3].text"), "DE AB1CD/2") << "one leading space dropped, lowercase as uppercase";
  EXPECT_EQ(Byte(aux + 10), 0xFF);
  EXPECT_EQ(Byte(aux + 31), 0xFF);
  const std::string long40(40, 'K');
  ASSERT_TRUE(Type("cw_id[3].text", long40).ok());
  EXPECT_EQ(Shown("cw_id[3].text"), std::string(32, 'K'));
  EXPECT_EQ(Byte(aux + 32), 0xFF) << "the next channel's auxiliary record is untouched";
  const auto before = AllBytes(image);
  for (const char* bad : {"A~B", "A  B", "A;B", "\xC3\x84", "A\tB"})
    EXPECT_EQ(Type("cw_id[3].text", bad).status, CommitStatus::Refused) << bad;
  EXPECT_EQ(AllBytes(image), before) << "a refused text leaves the old bytes";
  // CW messages: the same text rules; the settings' empty entries.
  ASSERT_TRUE(Type("cw_message.message_8", " cq cq").ok());
  EXPECT_EQ(image.Main().Text(cwmes::MessageOffset(8), 32), "CQ CQ");
  EXPECT_EQ(Byte(0x0740), 0xFF) << "nothing past the last message";
  ASSERT_TRUE(Type("cw_message.message_8", "").ok());
  EXPECT_TRUE(image.Main().IsAll(cwmes::MessageOffset(8), 32, 0xFF));
}

TEST_F(SignallingFields, CwIdFollowsItsChannelWhenRecordsMoveAndWritesNothingWhenItIsGone) {
  MakeChannels({3, 10});
  image.Main().SetByte(RecordOf(10) + chrec::kCwId, 1);
  const FieldRef interval = Ref("cw_id[10].interval");
  const FieldRef text = Ref("cw_id[10].text");
  ChannelStore store(image);
  ASSERT_EQ(store.DeleteChannel(2), StoreStatus::Ok);
  ASSERT_TRUE(CommitFieldText(interval, image, "45").ok());
  EXPECT_EQ(Byte(0x0800 + cwrec::kInterval), 45) << "channel 10's record moved down to the first slot";
  EXPECT_EQ(Byte(0x0840 + cwrec::kInterval), 0xFF);
  ASSERT_EQ(store.CreateChannelWithDefaults(0), StoreStatus::Ok);
  EXPECT_EQ(ShowField(interval, image).text, "45") << "and up again behind the new channel 1";
  ASSERT_EQ(store.DeleteChannel(9), StoreStatus::Ok);
  const auto before = AllBytes(image);
  EXPECT_FALSE(ShowField(interval, image).exists);
  EXPECT_EQ(CommitFieldText(interval, image, "20").status, CommitStatus::NotEditable);
  EXPECT_EQ(CommitFieldText(text, image, "ABC").status, CommitStatus::NotEditable);
  EXPECT_EQ(SpinField(interval, image, true).status, CommitStatus::NotEditable);
  EXPECT_EQ(AllBytes(image), before) << "a channel that is gone takes nothing";
}

TEST_F(SignallingFields, BeatShiftBitsAreActiveLowAndKeepTheirNeighbours) {
  MakeChannels({4});
  const std::size_t at = RecordOf(4) + chrec::kBeatShift;
  EXPECT_EQ(Byte(at), 0xFF);
  EXPECT_FALSE(BeatShiftEditable(image, 3)) << "a new channel has beat shift off";
  for (int n = 1; n <= 5; ++n)
    EXPECT_FALSE(ShowField(Ref("beat_shift[4].setting_" + std::to_string(n)), image).checked);
  EXPECT_EQ(CommitFieldCheck(Ref("beat_shift[4].setting_3"), image, true).message, 381_txt);
  EXPECT_EQ(Byte(at), 0xFF) << "refused while beat shift is off";
  image.Main().SetByte(at, 0x3E);  // beat shift on, bits 6 and 7 clear
  EXPECT_TRUE(BeatShiftEditable(image, 3));
  ASSERT_TRUE(CommitFieldCheck(Ref("beat_shift[4].setting_1"), image, true).ok());
  EXPECT_EQ(Byte(at), 0x3C);
  ASSERT_TRUE(CommitFieldCheck(Ref("beat_shift[4].setting_5"), image, true).ok());
  EXPECT_EQ(Byte(at), 0x1C);
  ASSERT_TRUE(CommitFieldCheck(Ref("beat_shift[4].setting_1"), image, false).ok());
  EXPECT_EQ(Byte(at), 0x1E);
  EXPECT_FALSE(BeatShiftEditable(image, 5)) << "channel 6 does not exist";
}

TEST_F(SignallingFields, EmbeddedLinesAreBoundedAndSpacesOnlyIsEmpty) {
  image.Main().SetByte(0x01FF, 0x11);
  image.Main().SetByte(0x0240, 0x22);
  ASSERT_TRUE(Type("embedded_message.line_1", "   ").ok());
  EXPECT_TRUE(image.Main().IsAll(emb::kLine1, 32, 0x00)) << "a spaces-only line is 32 zeros";
  ASSERT_TRUE(Type("embedded_message.line_2", "Hello, world! ~{}").ok());
  EXPECT_EQ(Shown("embedded_message.line_2"), "Hello, world! ~{}");
  EXPECT_EQ(Byte(emb::kLine2 + 17), 0x00);
  ASSERT_TRUE(Type("embedded_message.line_2", std::string(40, 'x')).ok());
  EXPECT_EQ(Shown("embedded_message.line_2"), std::string(32, 'x'));
  EXPECT_EQ(Byte(0x01FF), 0x11);
  EXPECT_EQ(Byte(0x0240), 0x22) << "nothing outside 0x200..0x23F";
  image.Main().Fill(emb::kLine1, 32, 'A');
  EXPECT_EQ(Shown("embedded_message.line_1"), std::string(32, 'A')) << "a full line ends at its 32 bytes";
  image.Main().SetByte(emb::kLine1 + 3, 0xFF);
  EXPECT_EQ(Shown("embedded_message.line_1"), "AAA");
  // Every character of the line's byte set (ISO 8859-1), and no other.
  ASSERT_TRUE(Type("embedded_message.line_1", "Gr\xC3\xBC\xC3\x9F M\xC3\xBCller").ok());
  EXPECT_EQ(image.Main().Read(emb::kLine1, 4), (std::vector<std::uint8_t>{'G', 'r', 0xFC, 0xDF}));
  EXPECT_EQ(Shown("embedded_message.line_1"), "Gr\xC3\xBC\xC3\x9F M\xC3\xBCller");
  const auto before = AllBytes(image);
  EXPECT_EQ(Type("embedded_message.line_1", "5 \xE2\x82\xAC").status, CommitStatus::Refused);
  EXPECT_EQ(AllBytes(image), before);
}

}  // namespace
