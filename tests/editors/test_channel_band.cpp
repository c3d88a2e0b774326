// Channels and the band of the image: a band change keeps every channel and
// stores its frequencies again for the new band; channels copied from an image
// of another band are pasted the same way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "data/Frequency.h"
#include "data/ModelChange.h"
#include "data/NewImage.h"
#include "editors/ChannelBand.h"
#include "editors/ChannelClipboard.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

class ChannelBandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseProgramTexts();
    SetDecimalSeparator('.');
    TheChannelClipboard().Clear();
  }
  void TearDown() override { TheChannelClipboard().Clear(); }

  // Channel (1-based) with its receive and, when given, transmit frequency.
  static void Make(ChannelStore& store, int n, const char* rx, const char* tx = nullptr) {
    ASSERT_TRUE(CommitFieldText(ChannelField(n - 1, "rx_frequency"), store.Image(), rx).ok()) << n;
    if (tx) {
      ASSERT_TRUE(CommitFieldText(ChannelField(n - 1, "tx_frequency"), store.Image(), tx).ok()) << n;
    }
  }
  static std::uint8_t At(const ChannelStore& store, int n, std::size_t offset) {
    return store.ReadRecord(n - 1).at(offset);
  }
};

// VHF 146-174 MHz (K) to 136-154 MHz (K2): the split frequency moves from
// 160 MHz to 145 MHz.
TEST_F(ChannelBandTest, ABandChangeKeepsTheChannelsAndNamesThoseOutsideTheNewBand) {
  ImageStore image;
  SetModel(image, Vhf146K());
  ChannelStore store(image);
  Make(store, 1, "150", "152.5");  // inside both bands
  Make(store, 3, "170");           // receive outside the new band
  Make(store, 5, "150", "160");    // transmit outside the new band
  ASSERT_EQ(At(store, 1, chrec::kRxSplit), 0);
  image.Main().SetByte(*store.RecordOf(0) + chrec::kRxStep, 0x77);  // a wrong step code
  image.Main().Fill(AuxRecordOffset(2), kAuxRecordSize, 0x33);
  image.Main().SetByte(kPriorityChannelByte, 3);
  const auto three = store.ReadRecord(2), five = store.ReadRecord(4);

  ModelChoice choice = ChoiceOf(ModelInfo(image));
  choice.bandWord = 512;
  const ModelChangeDecision d = DecideModelChange(ChoiceOf(ModelInfo(image)), choice);
  ASSERT_EQ(d.code, kModelBandChanged);
  ApplyModelChange(image, choice, d.code);

  EXPECT_EQ(store.ExistingCount(), 3) << "no channel is lost";
  // Inside the band: stored again, step code and split flags for the new band.
  EXPECT_EQ(ShowField(ChannelField(0, "rx_frequency"), store.Image()).text, "150.000000");
  EXPECT_EQ(At(store, 1, chrec::kRxStep), kStep3125);
  EXPECT_EQ(At(store, 1, chrec::kRxSplit), 1);
  EXPECT_EQ(At(store, 1, chrec::kTxSplit), 1);
  // Outside: kept byte for byte, with their auxiliary record and the priority channel.
  EXPECT_EQ(store.ReadRecord(2), three);
  EXPECT_TRUE(image.Main().IsAll(AuxRecordOffset(2), kAuxRecordSize, 0x33));
  EXPECT_EQ(image.Main().Byte(kPriorityChannelByte), 3);
  EXPECT_EQ(ShowField(ChannelField(4, "tx_frequency"), store.Image()).text, "160.000000");
  EXPECT_EQ(At(store, 5, chrec::kRxSplit), 1) << "the receive frequency of channel 5 is in the band";
  EXPECT_EQ(At(store, 5, chrec::kTxSplit), five[chrec::kTxSplit]);
  EXPECT_EQ(ChannelsOutsideBand(store), (std::vector<int>{2, 4}));
  EXPECT_EQ(ChannelNumberList(ChannelsOutsideBand(store)), "3, 5");
  // The default test frequencies of the new band.
  EXPECT_EQ(FrequencyText(image.Main().Range(region::kTestFrequency, kFrequencyBytes)), "136.100000");
}

TEST_F(ChannelBandTest, TheClipboardOutlivesTheImageAndPastesIntoAnotherBand) {
  ImageStore from;
  SetModel(from, Vhf146K());
  ChannelStore source(from);
  Make(source, 1, "150", "152.5");
  Make(source, 2, "170");  // not in 136-154 MHz
  Make(source, 3, "148.0125", "160");
  from.Main().Fill(AuxRecordOffset(0), kAuxRecordSize, 0x21);
  TheChannelClipboard().Copy(source, 0, 2);
  const auto two = source.ReadRecord(1);

  // Open, New and Read replace the image; the clipboard stays.
  ChannelImageReplaced(from);
  MakeNewImageForCurrentModel(from);
  ASSERT_EQ(TheChannelClipboard().Count(), 3);

  ImageStore to;
  SetModel(to, Vhf136K());
  ChannelStore target(to);
  Make(target, 11, "140");
  Make(target, 12, "141");
  const auto twelve = target.ReadRecord(11);
  const PasteResult r = TheChannelClipboard().Paste(target, 10);
  EXPECT_EQ(r.status, StoreStatus::Ok);
  EXPECT_EQ(r.notPasted, std::vector<int>{11}) << "channel 12 would receive outside the band";
  EXPECT_EQ(target.ReadRecord(11), twelve) << "a channel not pasted leaves the target as it was";
  EXPECT_EQ(ShowField(ChannelField(10, "rx_frequency"), target.Image()).text, "150.000000");
  EXPECT_EQ(At(target, 11, chrec::kRxSplit), 1) << "split flag of the 136-154 MHz band";
  EXPECT_EQ(At(target, 11, chrec::kTxSplit), 1);
  EXPECT_TRUE(to.Main().IsAll(AuxRecordOffset(10), kAuxRecordSize, 0x21));
  EXPECT_EQ(ShowField(ChannelField(12, "rx_frequency"), target.Image()).text, "148.012500");
  EXPECT_EQ(At(target, 13, chrec::kRxSplit), 1);
  EXPECT_EQ(r.outsideBand, std::vector<int>{12}) << "its transmit frequency needs correcting";
  EXPECT_EQ(target.ExistingCount(), 3);
  EXPECT_TRUE(target.CheckIndex().sound);
  // Into the image it came from, everything is pasted byte for byte.
  ImageStore same;
  SetModel(same, Vhf146K());
  ChannelStore back(same);
  const PasteResult all = TheChannelClipboard().Paste(back, 0);
  EXPECT_TRUE(all.notPasted.empty());
  EXPECT_TRUE(all.outsideBand.empty());
  EXPECT_EQ(back.ReadRecord(1), two);
}

}  // namespace
