#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "data/Frequency.h"
#include "data/ModelChange.h"
#include "data/NewImage.h"
#include "editors/ChannelClipboard.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"
#include "editors/FieldGridSource.h"
#include "fields/ToneCode.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

class ChannelStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseProgramTexts();
    SetDecimalSeparator('.');
    SetModel(image, Vhf146E());
  }

  void UseModel(const ModelRecord& r) { SetModel(image, r); }

  // Channels by 1-based number, each with its own receive frequency on the
  // 5 kHz grid (146.105 MHz for channel 1, 146.150 MHz for channel 10), so
  // that no step rounding changes what was typed.
  void MakeChannels(std::initializer_list<int> numbers) {
    for (int n : numbers) {
      const std::string mhz = "146." + std::to_string(100 + 5 * n);
      ASSERT_TRUE(CommitFieldText(ChannelField(n - 1, "rx_frequency"), image, mhz).ok()) << n;
    }
  }

  std::uint16_t Entry(int ch) const { return image.Main().Word(2 * static_cast<std::size_t>(ch)); }
  std::vector<std::uint8_t> Record(int ch) const { return store.ReadRecord(ch); }
  // What a field holds as its form shows it (also when it does not apply to
  // the channel's type, which the grid shows as "---").
  std::string Text(int ch, std::string_view key) const {
    const FieldRef f = ChannelField(ch, key);
    if (const FieldView v = ShowField(f, image); v.applicable) return v.text;
    FieldDecl bare = *f.decl;
    bare.hooks = nullptr;
    return ShowField(FieldRef{f.table, &bare, ch}, image).text;
  }

  ImageStore image;
  ChannelStore store{image};
};

// The record of a new channel as the channel record layout defines it.
std::array<std::uint8_t, 64> ExpectedNewRecord(int ch) {
  std::array<std::uint8_t, 64> r;
  r.fill(0xFF);
  const std::uint16_t aux = static_cast<std::uint16_t>(32 * (ch + 576));
  r[0x0E] = aux & 0xFF;
  r[0x0F] = aux >> 8;
  char name[16];
  std::snprintf(name, sizeof name, "%2d", ch + 1);
  r[0x10] = static_cast<std::uint8_t>(name[0]);
  r[0x11] = static_cast<std::uint8_t>(name[1]);
  r[0x12] = 0;           // spacing
  r[0x13] = 0xFF;        // beat shift bit 0 set: off
  r[0x14] = 0;           // TX power
  r[0x19] = 0;           // QT reverse burst on
  r[0x1A] = 0x00;        // operation mode 256
  r[0x1B] = 0x01;
  r[0x1C] = 0;           // scan add
  r[0x1D] = 0;           // voice scrambler
  r[0x1E] = 0;           // compander
  r[0x1F] = 0;           // multi table
  r[0x20] = 0;           // CW ID
  r[0x21] = 60;
  r[0x23] = 1;           // channel type
  r[0x24] = r[0x25] = 0; // RAN decode
  r[0x26] = r[0x27] = 0; // RAN encode
  r[0x34] = 30;
  r[0x35] = 50;
  r[0x36] = r[0x37] = r[0x38] = r[0x39] = 0;
  r[0x3A] = 20;
  r[0x3B] = 80;
  r[0x3C] = 0;
  r[0x3D] = 1;           // encode tone in multiple
  r[0x3E] = 1;           // scrambler code
  return r;
}

}  // namespace

// --- index and blank image -------------------------------------------------

TEST_F(ChannelStoreTest, BlankImageHasNoChannel) {
  ImageStore blank;
  ChannelStore s(blank);
  for (int ch = 0; ch < kChannelCount; ++ch) {
    EXPECT_EQ(s.IndexEntry(ch), 0xFFFF);
    EXPECT_FALSE(s.Exists(ch));
    EXPECT_EQ(RowTitleOf(ChannelGridTable(true), blank, ch), std::to_string(ch + 1));
    for (const FieldDecl& d : ChannelEditTable().fields)
      EXPECT_EQ(ShowField(FieldRef{&ChannelEditTable(), &d, ch}, blank).text, "") << d.key;
  }
  EXPECT_EQ(s.FreeSlots(), 30);
  EXPECT_TRUE(s.CheckIndex().sound);
}

TEST_F(ChannelStoreTest, NewChannelGetsItsDefaultsByteForByte) {
  ASSERT_TRUE(CommitFieldText(ChannelField(4, "rx_frequency"), image, "146.5").ok());
  EXPECT_EQ(Entry(4), 0x0800);
  auto expected = ExpectedNewRecord(4);
  // 146.500000 MHz = 146500000 Hz: digits 1 4 6 5 0 0 0 0 0.
  expected[0] = 0x00;
  expected[1] = 0x00;
  expected[2] = 0x00;
  expected[3] = 0x65;
  expected[4] = 0x14;
  expected[0x0A] = 1;  // multiple of 3125 Hz
  expected[0x0C] = 0;  // below the 160 MHz split
  const auto rec = Record(4);
  ASSERT_EQ(rec.size(), 64u);
  for (std::size_t i = 0; i < 64; ++i) EXPECT_EQ(rec[i], expected[i]) << "record byte " << i;
  EXPECT_EQ(Text(4, "name"), " 5");
  EXPECT_EQ(Text(4, "qt_decode"), "Off");
  EXPECT_EQ(Text(4, "qt_encode"), "Off");
  EXPECT_EQ(Text(4, "multi_table"), "Off");
  EXPECT_EQ(Text(4, "tx_mode"), "");  // no selection
  EXPECT_FALSE(ShowField(ChannelField(4, "user_limit"), image).checked);
  // Nothing else in the image changed.
  ImageStore reference;
  SetModel(reference, Vhf146E());
  reference.Main().SetWord(8, 0x0800);
  reference.Main().Write(0x0800, rec);
  EXPECT_EQ(AllBytes(image), AllBytes(reference));
}

TEST_F(ChannelStoreTest, RecordsStayPackedInChannelOrder) {
  MakeChannels({10, 3, 7, 1});
  EXPECT_EQ(Entry(0), 0x0800);
  EXPECT_EQ(Entry(2), 0x0840);
  EXPECT_EQ(Entry(6), 0x0880);
  EXPECT_EQ(Entry(9), 0x08C0);
  EXPECT_EQ(Text(9, "rx_frequency"), "146.150000");
  EXPECT_EQ(Text(2, "rx_frequency"), "146.115000");
  EXPECT_EQ(Text(0, "name"), " 1");
  EXPECT_EQ(store.ExistingCount(), 4);
  EXPECT_EQ(store.FreeSlots(), 26);
  EXPECT_TRUE(image.Main().IsAll(0x0900, 0x2800 - 0x0900, 0xFF));
}

TEST_F(ChannelStoreTest, DeletingChannel5Of1To10MovesTheRecordsAboveDown) {
  MakeChannels({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  image.Main().Fill(AuxRecordOffset(4), 32, 0x55);
  image.Main().Fill(AuxRecordOffset(5), 32, 0x66);
  std::vector<std::vector<std::uint8_t>> before;
  for (int ch = 0; ch < 10; ++ch) before.push_back(Record(ch));
  ASSERT_EQ(store.DeleteChannel(4), StoreStatus::Ok);
  EXPECT_EQ(Entry(4), 0xFFFF);
  for (int ch = 5; ch < 10; ++ch) {
    EXPECT_EQ(Entry(ch), 0x0800 + 64 * (ch - 1)) << ch;
    EXPECT_EQ(Record(ch), before[ch]) << ch;
  }
  for (int ch = 0; ch < 4; ++ch) EXPECT_EQ(Entry(ch), 0x0800 + 64 * ch);
  EXPECT_TRUE(image.Main().IsAll(0x0800 + 9 * 64, 64, 0xFF)) << "the freed slot is blank";
  EXPECT_TRUE(image.Main().IsAll(AuxRecordOffset(4), 32, 0xFF));
  EXPECT_TRUE(image.Main().IsAll(AuxRecordOffset(5), 32, 0x66)) << "other auxiliary records stay";
  ASSERT_EQ(store.DeleteChannel(6), StoreStatus::Ok);
  EXPECT_EQ(store.DeleteChannel(6), StoreStatus::NoChannel);
}

TEST_F(ChannelStoreTest, CreatingInTheMiddleMovesTheRecordsAboveUp) {
  MakeChannels({1, 3});
  const auto third = Record(2);
  ASSERT_TRUE(CommitFieldText(ChannelField(1, "rx_frequency"), image, "150").ok());
  EXPECT_EQ(Entry(0), 0x0800);
  EXPECT_EQ(Entry(1), 0x0840);
  EXPECT_EQ(Entry(2), 0x0880);
  EXPECT_EQ(Record(2), third);
  EXPECT_EQ(Text(1, "rx_frequency"), "150.000000");
}

TEST_F(ChannelStoreTest, IndexEntriesUpTo99AreAdjustedByRecordOffset) {
  MakeChannels({1, 2});
  image.Main().SetWord(2 * 50, 0x0840);  // an entry beyond the 30 channels
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "rx_frequency"), image, "").ok());  // deletes channel 1
  EXPECT_EQ(image.Main().Word(2 * 50), 0x0800);
  EXPECT_EQ(Entry(1), 0x0800);
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
  EXPECT_EQ(Text(1, "rx_frequency"), "148.000000");
}

TEST_F(ChannelStoreTest, CreateFailsWithoutChangeWhenTheTopSlotIsTaken) {
  MakeChannels({1});
  // Channel 2's record sits in the last slot (valid, but nothing may be pushed out).
  image.Main().Write(0x27C0, Record(0));
  image.Main().SetWord(2, 0x27C0);
  const auto before = AllBytes(image);
  EXPECT_EQ(CommitFieldText(ChannelField(4, "rx_frequency"), image, "150").message, MessageOf(StoreStatus::NoRoom));
  EXPECT_EQ(AllBytes(image), before);
  EXPECT_EQ(Tx(MessageOf(StoreStatus::NoRoom)), "There is no room for another channel.");
}

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
    const IndexCheck check = s.CheckIndex();
    EXPECT_FALSE(check.sound) << std::hex << c.value;
    EXPECT_EQ(check.channel, 5);
    EXPECT_EQ(check.value, c.value);
    EXPECT_EQ(check.duplicate, c.duplicate);
    EXPECT_EQ(ChannelImageReplaced(copy).sound, false);
    if (!c.duplicate) {
      EXPECT_FALSE(s.Exists(5)) << "an invalid entry is no channel";
    }
    const auto before = AllBytes(copy);
    EXPECT_EQ(CommitFieldText(ChannelField(7, "rx_frequency"), s.Image(), "150").message, MessageOf(StoreStatus::IndexDamaged));
    EXPECT_EQ(s.DeleteChannel(0), StoreStatus::IndexDamaged);
    EXPECT_EQ(s.CopyChannel(0, 9), StoreStatus::IndexDamaged);
    EXPECT_EQ(CommitFieldText(ChannelField(0, "rx_frequency"), s.Image(), "").message, MessageOf(StoreStatus::IndexDamaged));
    EXPECT_EQ(AllBytes(copy), before) << "nothing moved";
    // The fields of a sound channel can still be edited in place.
    EXPECT_TRUE(CommitFieldText(ChannelField(0, "name"), s.Image(), "AB").ok());
    EXPECT_EQ(ShowField(ChannelField(0, "name"), s.Image()).text, "AB");
  }
}

// --- frequencies -------------------------------------------------------------

struct StepCase {
  ModelRecord model;
  const char* text;
  std::uint8_t step;
  const char* stored;
};

TEST_F(ChannelStoreTest, FrequencyStepsForEveryBandGroupAndStepSet) {
  const StepCase cases[] = {
      // VHF: flag clear, 3125 then 2500 Hz; no 1250 Hz in the E market.
      {Vhf146E(), "146.00625", 1, "146.006250"},
      {Vhf146E(), "146.0025", 0, "146.002500"},
      {Vhf146E(), "146.00125", 1, "146.000000"},  // neither divides: down to 3125 Hz
      {Vhf146E(), "146,5", 1, "146.500000"},
      // VHF K markets: 1250 Hz as well.
      {Vhf146K(), "146.00125", 3, "146.001250"},
      {Vhf146K(), "146.0025", 0, "146.002500"},
      {Vhf136K(), "140.00375", 3, "140.003750"},
      {Vhf136K(), "140.000625", 1, "140.000000"},
      // UHF: flag set, 5000 then 3125 Hz; otherwise down to 5000 Hz.
      {Uhf450K(), "450.005", 2, "450.005000"},
      {Uhf450K(), "450.00625", 1, "450.006250"},
      {Uhf450K(), "450.0025", 2, "450.000000"},
      {Uhf480K(), "500.0125", 1, "500.012500"},  // not on 5 kHz, on 3125 Hz
      {Uhf480K(), "500.015", 2, "500.015000"},
      {Uhf400K(), "410.003125", 1, "410.003125"},
      {Uhf440E(), "445.0075", 2, "445.005000"},
      {Uhf400E(), "420.01875", 1, "420.018750"},
  };
  for (const auto& c : cases) {
    ImageStore img;
    SetModel(img, c.model);
    ChannelStore s(img);
    ASSERT_TRUE(CommitFieldText(ChannelField(0, "rx_frequency"), s.Image(), c.text).ok()) << c.text;
    EXPECT_EQ(ShowField(ChannelField(0, "rx_frequency"), s.Image()).text, c.stored) << c.text;
    EXPECT_EQ(img.Main().Byte(0x0800 + 0x0A), c.step) << c.text;
  }
  // Packed BCD of 450.006250 MHz: 4 5 0 0 0 6 2 5 0.
  ImageStore img;
  SetModel(img, Uhf450K());
  ChannelStore s(img);
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "tx_frequency"), s.Image(), "450.00625").ok());
  EXPECT_EQ(img.Main().Read(0x0805, 5), (std::vector<std::uint8_t>{0x00, 0x25, 0x06, 0x00, 0x45}));
  EXPECT_EQ(img.Main().Byte(0x080B), 1);
}

TEST_F(ChannelStoreTest, FrequencyLimitsOfEachBandForReceiveAndTransmit) {
  struct LimitCase {
    ModelRecord model;
    int which;
    const char* text;
    bool inside;
  };
  const LimitCase cases[] = {
      {Vhf146E(), 0, "146", true},         {Vhf146E(), 0, "174", true},
      {Vhf146E(), 0, "145.99375", false},  {Vhf146E(), 0, "174.003125", false},
      {Vhf146E(), 1, "145.99375", false},  {Vhf146E(), 1, "174.003125", false},
      {Vhf146E(), 1, "174", true},         {Vhf136K(), 0, "136", true},
      {Vhf136K(), 0, "154", true},         {Vhf136K(), 1, "135.99", false},
      {Uhf450K(), 0, "450", true},         {Uhf450K(), 1, "480.005", false},
      // 477/480-512: receive from 480 (limit set 0), transmit from 477 (set 1).
      {Uhf480K(), 0, "480", true},         {Uhf480K(), 0, "479.995", false},
      {Uhf480K(), 0, "477", false},        {Uhf480K(), 1, "477", true},
      {Uhf480K(), 1, "476.995", false},    {Uhf480K(), 1, "512", true},
      {Uhf480K(), 1, "512.005", false},    {Uhf400K(), 0, "430", true},
      {Uhf440E(), 1, "439.995", false},    {Uhf400E(), 0, "400", true},
  };
  for (const auto& c : cases) {
    ImageStore img;
    SetModel(img, c.model);
    ChannelStore s(img);
    // A channel with both frequencies inside first, so a refusal can be seen to change nothing.
    const std::uint64_t lower = s.LowerLimitHz(1) > s.LowerLimitHz(0) ? s.LowerLimitHz(1) : s.LowerLimitHz(0);
    const std::string inside = HzToText(lower + 1'000'000);
    ASSERT_TRUE(CommitFieldText(ChannelField(0, "rx_frequency"), s.Image(), inside).ok());
    ASSERT_TRUE(CommitFieldText(ChannelField(0, "tx_frequency"), s.Image(), inside).ok());
    const auto before = AllBytes(img);
    const CommitResult st = CommitFieldText(ChannelField(0, c.which ? "tx_frequency" : "rx_frequency"), s.Image(), c.text);
    EXPECT_EQ(st.message, c.inside ? TextNo{0} : MessageOf(StoreStatus::OutOfBand)) << c.text << " col " << c.which;
    if (!c.inside) {
      EXPECT_EQ(AllBytes(img), before) << c.text;
    }
  }
  EXPECT_EQ(Tx(MessageOf(StoreStatus::OutOfBand)), "The frequency is outside the band of this model.");
}

TEST_F(ChannelStoreTest, OutOfBandFrequencyInAMissingChannelCreatesNothing) {
  EXPECT_EQ(CommitFieldText(ChannelField(3, "rx_frequency"), image, "200").message, MessageOf(StoreStatus::OutOfBand));
  EXPECT_EQ(CommitFieldText(ChannelField(3, "tx_frequency"), image, "100").message, MessageOf(StoreStatus::OutOfBand));
  EXPECT_FALSE(store.Exists(3));
  EXPECT_EQ(Entry(3), 0xFFFF);
}

TEST_F(ChannelStoreTest, SplitFlagsFollowTheBandAndTheColumn) {
  struct SplitCase {
    ModelRecord model;
    int which;
    const char* text;
    std::uint8_t flag;
  };
  const SplitCase cases[] = {
      {Vhf146E(), 0, "159.99375", 0}, {Vhf146E(), 0, "160", 1},    {Vhf146K(), 1, "160", 1},
      {Vhf146K(), 1, "159.995", 0},   {Vhf136K(), 0, "144.995", 0}, {Vhf136K(), 1, "145", 1},
      {Uhf450K(), 0, "464.995", 0},   {Uhf450K(), 1, "465", 1},     {Uhf440E(), 0, "454.995", 0},
      {Uhf440E(), 0, "455", 1},       {Uhf400K(), 0, "415", 1},     {Uhf400E(), 1, "414.995", 0},
      // 477/480-512: 496.0 for the receive column, 494.5 for the transmit column.
      {Uhf480K(), 0, "495.995", 0},   {Uhf480K(), 0, "496", 1},     {Uhf480K(), 1, "494.495", 0},
      {Uhf480K(), 1, "494.5", 1},     {Uhf480K(), 0, "494.5", 0},
  };
  for (const auto& c : cases) {
    ImageStore img;
    SetModel(img, c.model);
    ChannelStore s(img);
    ASSERT_TRUE(CommitFieldText(ChannelField(0, (c.which ? "tx_frequency" : "rx_frequency")), s.Image(), c.text).ok()) << c.text;
    EXPECT_EQ(img.Main().Byte(0x0800 + (c.which ? 0x0D : 0x0C)), c.flag) << c.text << " col " << c.which;
    EXPECT_EQ(img.Main().Byte(0x0800 + (c.which ? 0x0C : 0x0D)), 0xFF) << "the other frequency is untouched";
  }
}

TEST_F(ChannelStoreTest, TextThatIsNoFrequencyIsRefusedAndChangesNothing) {
  MakeChannels({2});
  ASSERT_TRUE(CommitFieldText(ChannelField(1, "tx_frequency"), image, "146.5").ok());
  // A new channel is of type 1, which has no QT/DQT: make it mixed first.
  ASSERT_TRUE(CommitFieldChoice(ChannelField(1, "channel_type"), image, 2).ok());
  ASSERT_TRUE(CommitFieldText(ChannelField(1, "qt_encode"), image, "88.5").ok());
  const auto before = AllBytes(image);
  for (const char* bad : {"abc", "0", "0.0000001", "1000", "1e3", "146.5.1", "-146", "146 5", ".", "999999999999"}) {
    for (std::string_view field : {"rx_frequency", "tx_frequency"}) {
      EXPECT_EQ(CommitFieldText(ChannelField(1, field), image, bad).message, MessageOf(StoreStatus::NotAFrequency))
          << bad;
      EXPECT_EQ(AllBytes(image), before) << bad;
    }
    EXPECT_EQ(CommitFieldText(ChannelField(6, "rx_frequency"), image, bad).message, MessageOf(StoreStatus::NotAFrequency)) << bad;
    EXPECT_FALSE(store.Exists(6));
  }
  EXPECT_EQ(Tx(MessageOf(StoreStatus::NotAFrequency)).find("1000") != std::string::npos, true);
}

TEST_F(ChannelStoreTest, EmptyTransmitFrequencyTakesTheTransmitSideAway) {
  MakeChannels({1});
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "tx_frequency"), image, "146.2").ok());
  ASSERT_TRUE(CommitFieldChoice(ChannelField(0, "channel_type"), image, 2).ok());
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "qt_encode"), image, "D023").ok());
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "ran_encode"), image, "12").ok());
  const auto before = Record(0);
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "tx_frequency"), image, "").ok());
  auto expected = before;
  for (int i = 5; i < 10; ++i) expected[i] = 0xFF;
  expected[0x0B] = expected[0x0D] = 0xFF;
  expected[0x17] = expected[0x18] = 0xFF;
  expected[0x26] = expected[0x27] = 0;
  EXPECT_EQ(Record(0), expected);
  EXPECT_FALSE(store.HasFrequency(0, 1));
  // An empty transmit frequency of a missing channel does nothing.
  const auto all = AllBytes(image);
  EXPECT_TRUE(CommitFieldText(ChannelField(5, "tx_frequency"), image, "").ok());
  EXPECT_EQ(AllBytes(image), all);
}

TEST_F(ChannelStoreTest, TransmitFrequencyCreatesAMissingChannel) {
  ASSERT_TRUE(CommitFieldText(ChannelField(2, "tx_frequency"), image, "150").ok());
  EXPECT_TRUE(store.Exists(2));
  EXPECT_FALSE(store.HasFrequency(2, 0));
  EXPECT_EQ(Text(2, "tx_frequency"), "150.000000");
}

TEST_F(ChannelStoreTest, EmptyReceiveFrequencyDeletesTheChannel) {
  MakeChannels({1, 2});
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "rx_frequency"), image, "  ").ok());
  EXPECT_FALSE(store.Exists(0));
  EXPECT_EQ(Entry(1), 0x0800);
  EXPECT_TRUE(CommitFieldText(ChannelField(0, "rx_frequency"), image, "").ok()) << "nothing to delete";
}

// --- copy ----------------------------------------------------------------------

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
  EXPECT_EQ(Text(2, "name"), "XY");
  EXPECT_EQ(store.ExistingCount(), 3);
  // Onto a missing destination above.
  ASSERT_EQ(store.CopyChannel(4, 20), StoreStatus::Ok);
  EXPECT_EQ(Text(20, "rx_frequency"), "146.125000");
  EXPECT_EQ(store.CopyChannel(4, 4), StoreStatus::SameChannel);
  // A missing source leaves the destination deleted.
  ASSERT_EQ(store.CopyChannel(15, 20), StoreStatus::Ok);
  EXPECT_FALSE(store.Exists(20));
}

// --- fields and option lists --------------------------------------------------

TEST_F(ChannelStoreTest, OptionListsFollowModelTypeAndFrequencies) {
  auto values = [&](std::string_view field, int ch) {
    std::vector<int> v;
    for (const auto& it : FieldChoices(ChannelField(ch, field), image)) v.push_back(it.value);
    return v;
  };
  MakeChannels({1});
  // Option byte bit 2 set (no option board): types 0, 1, 2.
  EXPECT_EQ(values("channel_type", 0), (std::vector<int>{0, 1, 2}));
  UseModel(MakeRecord("RWAV0300", 2, 1, 0xFB));
  EXPECT_EQ(values("channel_type", 0), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(Text(0, "channel_type"), "Digital");
  UseModel(Vhf146K());
  // Spacing: type 1 leaves out 2, type 0 leaves out 1.
  EXPECT_EQ(values("spacing", 0), (std::vector<int>{0, 1}));
  ASSERT_TRUE(CommitFieldChoice(ChannelField(0, "channel_type"), image, 0).ok());
  EXPECT_EQ(values("spacing", 0), (std::vector<int>{2, 0}));
  ASSERT_TRUE(CommitFieldChoice(ChannelField(0, "channel_type"), image, 2).ok());
  EXPECT_EQ(values("spacing", 0), (std::vector<int>{2, 0, 1}));
  // The E market with the wide spacings for type 0.
  UseModel(Vhf146E());
  ASSERT_TRUE(CommitFieldChoice(ChannelField(0, "channel_type"), image, 0).ok());
  EXPECT_EQ(values("spacing", 0), (std::vector<int>{2, 3, 0}));
  EXPECT_EQ(FieldChoices(ChannelField(0, "spacing"), image)[1].text, "Semi-wide (20 kHz)");
  // Equal frequencies: simplex only; no transmit frequency: no CW ID.
  EXPECT_EQ(values("operation_mode", 0), (std::vector<int>{0, 256, 1}));
  EXPECT_EQ(values("cw_id", 0), (std::vector<int>{0}));
  EXPECT_FALSE(CommitFieldCheck(ChannelField(0, "cw_id"), image, true).ok());
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "tx_frequency"), image, Text(0, "rx_frequency")).ok());
  EXPECT_TRUE(store.SameFrequencies(0));
  EXPECT_EQ(values("operation_mode", 0), (std::vector<int>{1}));
  EXPECT_EQ(values("cw_id", 0), (std::vector<int>{0, 1}));
  EXPECT_EQ(FieldChoices(ChannelField(0, "operation_mode"), image)[0].text, "Simplex");
  EXPECT_EQ(values("user_limit", 0), (std::vector<int>{255, 0}));
  EXPECT_EQ(values("scan_add", 0), (std::vector<int>{0, 1}));
  EXPECT_EQ(values("multi_table", 0).size(), 16u);
}

TEST_F(ChannelStoreTest, MultiTableZeroAndFFBothShowOff) {
  MakeChannels({1});
  image.Main().SetByte(0x0800 + 0x1F, 0);
  EXPECT_EQ(Text(0, "multi_table"), "Off");
  image.Main().SetByte(0x0800 + 0x1F, 0xFF);
  EXPECT_EQ(Text(0, "multi_table"), "Off");
  image.Main().SetByte(0x0800 + 0x1F, 7);
  EXPECT_EQ(Text(0, "multi_table"), "7");
}

TEST_F(ChannelStoreTest, TonesAreNormalisedNamesKeepTheirTwoBytesAndBadTextsChangeNothing) {
  MakeChannels({1});
  const std::size_t r = 0x0800;
  ASSERT_TRUE(CommitFieldChoice(ChannelField(0, "channel_type"), image, 2).ok());
  // Tones.
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "qt_decode"), image, "D023").ok());
  EXPECT_EQ(image.Main().Word(r + 0x15), 0x2813);
  EXPECT_EQ(Text(0, "qt_decode"), "D023N");
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "qt_encode"), image, "300").ok());
  EXPECT_EQ(image.Main().Word(r + 0x17), 2541);
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "qt_encode"), image, "Off").ok());
  EXPECT_EQ(image.Main().Word(r + 0x17), 0xFFFF);
  const auto before = AllBytes(image);
  EXPECT_FALSE(CommitFieldText(ChannelField(0, "qt_decode"), image, "---").ok());
  EXPECT_FALSE(CommitFieldText(ChannelField(0, "qt_decode"), image, "x1").ok());
  EXPECT_FALSE(CommitFieldText(ChannelField(0, "ran_decode"), image, "abc").ok());
  EXPECT_EQ(CommitFieldText(ChannelField(0, "name"), image, "ABC").message, 354_txt);
  EXPECT_FALSE(CommitFieldText(ChannelField(0, "name"), image, "A.").ok());
  EXPECT_FALSE(CommitFieldText(ChannelField(0, "scrambler_code"), image, "1x").ok());
  EXPECT_EQ(CommitFieldText(ChannelField(0, "channel"), image, "3").status, CommitStatus::NotEditable);
  EXPECT_EQ(CommitFieldText(ChannelField(0, "cw_id_settings"), image, "x").status, CommitStatus::NotEditable);
  EXPECT_EQ(AllBytes(image), before);
  // Name: two characters, unused ones 0xFF.
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "name"), image, "A").ok());
  EXPECT_EQ(image.Main().Read(r + 0x10, 2), (std::vector<std::uint8_t>{'A', 0xFF}));
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "name"), image, "#9").ok());
  EXPECT_EQ(Text(0, "name"), "#9");
  // Fields of a missing channel.
  EXPECT_EQ(CommitFieldText(ChannelField(4, "name"), image, "A").status, CommitStatus::NotEditable);
}

TEST_F(ChannelStoreTest, FieldsThatDoNotApplyToTheTypeAreRefused) {
  MakeChannels({1});
  ASSERT_TRUE(CommitFieldChoice(ChannelField(0, "channel_type"), image, 1).ok());
  EXPECT_FALSE(ShowField(ChannelField(0, "qt_decode"), image).applicable);
  EXPECT_TRUE(ShowField(ChannelField(0, "ran_decode"), image).applicable);
  auto before = AllBytes(image);
  EXPECT_EQ(CommitFieldText(ChannelField(0, "qt_decode"), image, "67.0").status, CommitStatus::NotApplicable);
  EXPECT_EQ(CommitFieldText(ChannelField(0, "qt_encode"), image, "67.0").status, CommitStatus::NotApplicable);
  EXPECT_EQ(AllBytes(image), before);
  ASSERT_TRUE(CommitFieldChoice(ChannelField(0, "channel_type"), image, 0).ok());
  before = AllBytes(image);
  EXPECT_EQ(CommitFieldText(ChannelField(0, "ran_decode"), image, "1").status, CommitStatus::NotApplicable);
  EXPECT_EQ(CommitFieldText(ChannelField(0, "ran_encode"), image, "1").status, CommitStatus::NotApplicable);
  EXPECT_EQ(AllBytes(image), before);
}

TEST_F(ChannelStoreTest, FrequenciesShowTheDecimalSeparator) {
  MakeChannels({1});
  SetDecimalSeparator(',');
  EXPECT_EQ(Text(0, "rx_frequency"), "146,105000");
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "tx_frequency"), image, "150,5").ok());
  EXPECT_EQ(Text(0, "tx_frequency"), "150,500000");
  SetDecimalSeparator('.');
}

// --- defaults of a new image, model changes -----------------------------------

TEST_F(ChannelStoreTest, NewImageHasAnEmptyChannelIndexAndModeChangeKeepsTheChannels) {
  MakeChannels({1, 2});
  ImageStore fresh;
  EXPECT_TRUE(MakeStartupImage(fresh, Vhf146E()));
  ChannelStore s(fresh);
  for (int e = 0; e < kChannelIndexEntries; ++e) EXPECT_EQ(s.IndexEntry(e), 0xFFFF);
  EXPECT_TRUE(fresh.Main().IsAll(kRecordAreaStart, kRecordAreaEnd - kRecordAreaStart, 0xFF));
  // Mode only: the channels stay as they are.
  const auto one = Record(0);
  ModelChoice choice = ChoiceOf(ModelInfo(image));
  choice.mode = 1 - choice.mode;
  ApplyModelChange(image, choice, kModelModeToZero);
  EXPECT_EQ(Record(0), one);
  EXPECT_TRUE(store.Exists(1));
}
