// The channel store where it takes code: its index checked and followed, the
// copy of records, the band of the image and the channel clipboard. What a
// typed field stores (frequencies per band and step set, limits, split flags,
// names, tones, the records as they pack and move) is cases/channels.txt.
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
#include "editors/FieldGridSource.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

class ChannelStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseProgramTexts();
    SetDecimalSeparator('.');
    SetModel(image, Vhf146E());
    TheChannelClipboard().Clear();
  }
  void TearDown() override { TheChannelClipboard().Clear(); }

  // Channel n (from 1) of a store with its receive and, when given, transmit
  // frequency; by default on the 5 kHz grid (146.105 MHz for channel 1).
  static void Make(ChannelStore& s, int n, std::string rx = {}, const char* tx = nullptr) {
    if (rx.empty()) rx = "146." + std::to_string(100 + 5 * n);
    ASSERT_TRUE(CommitFieldText(ChannelField(n - 1, "rx_frequency"), s.Image(), rx).ok()) << n;
    if (tx) {
      ASSERT_TRUE(CommitFieldText(ChannelField(n - 1, "tx_frequency"), s.Image(), tx).ok()) << n;
    }
  }
  void MakeChannels(std::initializer_list<int> numbers) {
    for (int n : numbers) Make(store, n);
  }
  std::uint16_t Entry(int ch) const { return image.Main().Word(2 * static_cast<std::size_t>(ch)); }
  std::vector<std::uint8_t> Record(int ch) const { return store.ReadRecord(ch); }
  static std::uint8_t At(const ChannelStore& s, int n, std::size_t offset) { return s.ReadRecord(n - 1).at(offset); }
  static std::string Shown(const ChannelStore& s, int ch, std::string_view key) {
    return ShowField(ChannelField(ch, key), s.Image()).text;
  }

  ImageStore image;
  ChannelStore store{image};
};

}  // namespace

TEST_F(ChannelStoreTest, BlankImageHasNoChannel) {
  ImageStore blank;
  ChannelStore s(blank);
  for (int ch = 0; ch < kChannelCount; ++ch) {
    EXPECT_FALSE(s.Exists(ch));
    EXPECT_EQ(RowTitleOf(ChannelGridTable(true), blank, ch), std::to_string(ch + 1));
    for (const FieldDecl& d : ChannelEditTable().fields)
      EXPECT_EQ(ShowField(FieldRef{&ChannelEditTable(), &d, ch}, blank).text, "") << d.key;
  }
  EXPECT_EQ(s.FreeSlots(), 30);
  EXPECT_TRUE(s.CheckIndex().sound);
}

TEST_F(ChannelStoreTest, AnIndexThatIsNotPackedNeverScramblesRecords) {
  // Channel 1's record in slot 1 and channel 2's in slot 0: valid, not packed.
  MakeChannels({1, 2});
  const auto one = Record(0), two = Record(1);
  image.Main().Write(0x0800, two);
  image.Main().Write(0x0840, one);
  image.Main().SetWord(0, 0x0840);
  image.Main().SetWord(2, 0x0800);
  ASSERT_TRUE(store.CheckIndex().sound);
  ASSERT_EQ(Record(0), one);
  // Deleting channel 2 (slot 0) moves channel 1's record down with its entry.
  ASSERT_EQ(store.DeleteChannel(1), StoreStatus::Ok);
  EXPECT_EQ(Entry(0), 0x0800);
  EXPECT_EQ(Record(0), one);
  // Channel 3 goes after channel 1; channel 1 stays intact.
  ASSERT_TRUE(CommitFieldText(ChannelField(2, "rx_frequency"), image, "147").ok());
  EXPECT_EQ(Record(0), one);
  EXPECT_EQ(Entry(2), 0x0840);
  // Channel 2 again: packed position slot 1, channel 3 moves up by offset.
  image.Main().SetWord(0, 0x0880);  // channel 1 moved above channel 3 by hand
  image.Main().Move(0x0880, 0x0800, 64);
  image.Main().Move(0x0800, 0x0840, 64);
  image.Main().SetWord(4, 0x0800);
  image.Main().Fill(0x0840, 64, 0xFF);
  const auto three = Record(2);
  ASSERT_TRUE(store.CheckIndex().sound);
  ASSERT_TRUE(CommitFieldText(ChannelField(1, "rx_frequency"), image, "148").ok());
  EXPECT_EQ(Record(0), one);
  EXPECT_EQ(Record(2), three);
  EXPECT_EQ(Shown(store, 1, "rx_frequency"), "148.000000");
  ASSERT_EQ(store.DeleteChannel(1), StoreStatus::Ok);
  EXPECT_EQ(store.DeleteChannel(1), StoreStatus::NoChannel);
}

// What the fields do over a damaged index: cases/channels.txt.
TEST_F(ChannelStoreTest, DamagedIndexIsReportedAndNotFollowed) {
  MakeChannels({1, 2});
  struct Case {
    std::uint16_t value;
    bool duplicate;
  };
  for (const Case c : {Case{0x0801, false}, Case{0x2800, false}, Case{0x07C0, false}, Case{0x0000, false},
                       Case{0x0840, true}}) {
    ImageStore copy = image;
    ChannelStore s(copy);
    copy.Main().SetWord(2 * 5, c.value);
    const IndexCheck check = ChannelImageReplaced(copy);
    EXPECT_FALSE(check.sound) << std::hex << c.value;
    EXPECT_EQ(check.channel, 5);
    EXPECT_EQ(check.value, c.value);
    EXPECT_EQ(check.duplicate, c.duplicate);
    const auto before = AllBytes(copy);
    EXPECT_EQ(s.DeleteChannel(0), StoreStatus::IndexDamaged);
    EXPECT_EQ(s.CopyChannel(0, 9), StoreStatus::IndexDamaged);
    EXPECT_EQ(AllBytes(copy), before) << "nothing moved";
  }
}

TEST_F(ChannelStoreTest, CopyTakesTheSourceBeforeRecordsMove) {
  MakeChannels({3, 5, 10});
  ASSERT_TRUE(CommitFieldText(ChannelField(9, "name"), image, "XY").ok());
  image.Main().Fill(AuxRecordOffset(9), 32, 0x42);
  const auto source = Record(9);
  // Deleting channel 3 moves channel 10's record; the copy still gets its bytes.
  ASSERT_EQ(store.CopyChannel(9, 2), StoreStatus::Ok);
  auto expected = source;
  expected[0x0E] = (32 * (2 + 576)) & 0xFF;
  expected[0x0F] = (32 * (2 + 576)) >> 8;
  EXPECT_EQ(Record(2), expected);
  EXPECT_EQ(Record(9), source);
  EXPECT_TRUE(image.Main().IsAll(AuxRecordOffset(2), 32, 0x42));
  EXPECT_EQ(store.ExistingCount(), 3);
  // Onto a missing destination above.
  ASSERT_EQ(store.CopyChannel(4, 20), StoreStatus::Ok);
  EXPECT_EQ(Shown(store, 20, "rx_frequency"), "146.125000");
  EXPECT_EQ(store.CopyChannel(4, 4), StoreStatus::SameChannel);
  // A missing source leaves the destination deleted.
  ASSERT_EQ(store.CopyChannel(15, 20), StoreStatus::Ok);
  EXPECT_FALSE(store.Exists(20));
}

TEST_F(ChannelStoreTest, FrequenciesShowTheDecimalSeparatorAndAModeChangeKeepsTheChannels) {
  MakeChannels({1, 2});
  SetDecimalSeparator(',');
  EXPECT_EQ(Shown(store, 0, "rx_frequency"), "146,105000");
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "tx_frequency"), image, "150,5").ok());
  EXPECT_EQ(Shown(store, 0, "tx_frequency"), "150,500000");
  SetDecimalSeparator('.');
  const auto one = Record(0);
  ModelChoice choice = ChoiceOf(ModelInfo(image));
  choice.mode = 1 - choice.mode;
  ApplyModelChange(image, choice, kModelModeToZero);
  EXPECT_EQ(Record(0), one);
  EXPECT_TRUE(store.Exists(1));
}

// VHF 146-174 MHz (K) to 136-154 MHz (K2): the split frequency moves from
// 160 MHz to 145 MHz.
TEST_F(ChannelStoreTest, ABandChangeKeepsTheChannelsAndNamesThoseOutsideTheNewBand) {
  SetModel(image, Vhf146K());
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
  EXPECT_EQ(Shown(store, 0, "rx_frequency"), "150.000000");
  EXPECT_EQ(At(store, 1, chrec::kRxStep), kStep3125);
  EXPECT_EQ(At(store, 1, chrec::kRxSplit), 1);
  EXPECT_EQ(At(store, 1, chrec::kTxSplit), 1);
  // Outside: kept byte for byte, with their auxiliary record and the priority channel.
  EXPECT_EQ(store.ReadRecord(2), three);
  EXPECT_TRUE(image.Main().IsAll(AuxRecordOffset(2), kAuxRecordSize, 0x33));
  EXPECT_EQ(image.Main().Byte(kPriorityChannelByte), 3);
  EXPECT_EQ(Shown(store, 4, "tx_frequency"), "160.000000");
  EXPECT_EQ(At(store, 5, chrec::kRxSplit), 1) << "the receive frequency of channel 5 is in the band";
  EXPECT_EQ(At(store, 5, chrec::kTxSplit), five[chrec::kTxSplit]);
  EXPECT_EQ(ChannelsOutsideBand(store), (std::vector<int>{2, 4}));
  EXPECT_EQ(ChannelNumberList(ChannelsOutsideBand(store)), "3, 5");
}

TEST_F(ChannelStoreTest, TheClipboardOutlivesTheImageAndPastesIntoAnotherBand) {
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
  EXPECT_EQ(Shown(target, 10, "rx_frequency"), "150.000000");
  EXPECT_EQ(At(target, 11, chrec::kRxSplit), 1) << "split flag of the 136-154 MHz band";
  EXPECT_EQ(At(target, 11, chrec::kTxSplit), 1);
  EXPECT_TRUE(to.Main().IsAll(AuxRecordOffset(10), kAuxRecordSize, 0x21));
  EXPECT_EQ(Shown(target, 12, "rx_frequency"), "148.012500");
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
