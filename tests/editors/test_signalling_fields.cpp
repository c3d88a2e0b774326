// The scan information and CW ID settings keyed by channel across create,
// delete, copy and paste. The value-level cases of the signalling editors
// (DTMF, scan, CW ID, CW messages, beat shift, embedded message) are
// cases/signalling.txt.
#include <gtest/gtest.h>

#include <string>

#include "EditorTestSupport.h"
#include "editors/ChannelClipboard.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"
#include "editors/CwIdFields.h"
#include "editors/EditorModules.h"
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
  CommitResult Type(const std::string& key, std::string_view text) {
    return CommitFieldText(KeyRef(image, key), image, text);
  }
  std::uint8_t Byte(std::size_t offset) const { return image.Main().Byte(offset); }
  std::size_t RecordOf(int number) const { return *ChannelStore::RecordOf(image, number - 1); }

  ImageStore image;
};

TEST_F(SignallingFields, ThePriorityChannelFollowsAPaste) {
  MakeChannels(image, {1, 2, 10});
  ASSERT_TRUE(Type("scan.priority_channel", "2").ok());

  // A paste over the priority channel: it exists afterwards and stays the
  // priority channel. (A copy and a delete: EveryField's release test.)
  ChannelStore store(image);
  const auto user = [&](auto change) { ChangeAndRelease(EditorModules(), image, change); };
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
}

TEST_F(SignallingFields, CwIdFollowsItsChannelWhenRecordsMoveAndWritesNothingWhenItIsGone) {
  MakeChannels(image, {3, 10});
  image.Main().SetByte(RecordOf(10) + chrec::kCwId, 1);
  const FieldRef interval = KeyRef(image, "cw_id[10].interval");
  const FieldRef text = KeyRef(image, "cw_id[10].text");
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

}  // namespace
