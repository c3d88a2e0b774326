// The test channels: the store of one frequency in its seven steps, the
// band's default pairs (loaded by the new-image defaults through the
// editor's module), the record clipboard, Delete and "Ch Paste". The grid
// cells' commits are cases/test_frequency.txt.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "data/Frequency.h"
#include "data/ModelChange.h"
#include "data/NewImage.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"
#include "editors/EditorModules.h"
#include "editors/TestFreqFields.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

constexpr std::size_t kTf = region::kTestFrequency;

std::string FreqText(const ImageStore& s, int index, int column) {
  return FrequencyText(s.Main().Range(kTf + index * 16 + column * 5, 5));
}

std::vector<std::uint8_t> Record(const ImageStore& s, int index) { return s.Main().Read(kTf + index * 16, 16); }

class TestFrequency : public ::testing::Test {
 protected:
  void SetUp() override {
    UseProgramTexts();
    InstallEditorModules();
    TheTestFreqClipboard().Clear();
  }
  // A new image of the model, its test channels all empty when asked.
  ImageStore Image(const ModelRecord& model, bool empty = false) {
    ImageStore s;
    EXPECT_TRUE(MakeStartupImage(s, model));
    if (empty) s.Main().Fill(kTf, 256, 0xFF);
    return s;
  }
};

// The pairs themselves, their steps and split flags in every variant's new
// image: tests/data/golden (GoldenImages).
TEST_F(TestFrequency, NewImagesAndBandChangesLoadTheBandsDefaultPairs) {
  // Every band's six pairs lie within its limits.
  for (const auto& row : BandTable()) {
    const auto pairs = DefaultTestFrequencies(row.bandWord);
    ASSERT_EQ(pairs.size(), 6u) << row.bandWord;
    ImageStore b;
    SetModel(b, MakeRecord("RWAV0300", row.destination, row.bandCode));
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(SetTestFrequency(b, i, 0, pairs[i].column0), kTestFreqStored) << row.bandWord << " " << i;
      EXPECT_EQ(SetTestFrequency(b, i, 1, pairs[i].column1), kTestFreqStored) << row.bandWord << " " << i;
    }
  }
  EXPECT_TRUE(DefaultTestFrequencies(1234).empty());

  // A band change reloads them; New keeps the model and reloads them.
  ImageStore s = Image(Uhf450K());
  ModelChoice c = ChoiceOf(ModelInfo(s));
  c.bandWord = 2560;
  ApplyModelChange(s, c, DecideModelChange(ChoiceOf(ModelInfo(s)), c).code);
  EXPECT_EQ(FreqText(s, 0, 0), "480.000000");
  s = Image(Uhf440E());
  s.Main().Fill(kTf, 256, 0xFF);
  MakeNewImageForCurrentModel(s);
  EXPECT_EQ(FreqText(s, 0, 0), "440.100000");
}

// What one frequency typed does is cases/test_frequency.txt; a test channel
// or column that does not exist takes nothing.
TEST_F(TestFrequency, ATestChannelOrColumnThatDoesNotExistTakesNothing) {
  ImageStore s = Image(Vhf146E(), true);
  const auto before = s.working();
  EXPECT_EQ(SetTestFrequency(s, 16, 0, "150"), kTestFreqCleared);
  EXPECT_EQ(SetTestFrequency(s, -1, 0, "150"), kTestFreqCleared);
  EXPECT_EQ(SetTestFrequency(s, 0, 2, "150"), kTestFreqCleared);
  EXPECT_TRUE(s.working() == before);
  EXPECT_FALSE(HasTestFrequency(s, 16, 0));
}

TEST_F(TestFrequency, CopyPasteAndDeleteOfWholeRecords) {
  ImageStore s = Image(Uhf480K());
  // Five test channels copied, pasted at test channel 14: 14 to 16 only.
  TheTestFreqClipboard().Copy(s, 0, 4);
  ASSERT_EQ(TheTestFreqClipboard().Count(), 5);
  const auto all = s.Main().Read(kTf, 256);
  TestPasteResult r = TheTestFreqClipboard().Paste(s, 13);
  EXPECT_EQ(r.written, 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Record(s, 13 + i), Record(s, i)) << i;
  EXPECT_EQ(s.Main().Read(kTf, 13 * 16), std::vector<std::uint8_t>(all.begin(), all.begin() + 13 * 16));
  EXPECT_FALSE(r.outOfBand[0] || r.outOfBand[1]);

  // Deleting all sixteen brings back the band's six default pairs.
  DeleteTestChannels(s, 0, 15);
  EXPECT_EQ(s.Main().Read(kTf, 256), all);
  // Deleting some leaves the rest.
  DeleteTestChannels(s, 1, 2);
  EXPECT_FALSE(HasTestFrequency(s, 1, 0));
  EXPECT_TRUE(HasTestFrequency(s, 3, 0));

  // After a band change the copied records are checked against the new band:
  // split flags computed for it, frequencies outside it warned about.
  ImageStore v = Image(Vhf146E(), true);
  SetTestFrequency(v, 0, 0, "159.5");  // below the VHF split at 160 MHz
  TheTestFreqClipboard().Copy(v, 0, 0);
  SetModel(v, Uhf480K());
  r = TheTestFreqClipboard().Paste(v, 5);
  EXPECT_TRUE(r.outOfBand[0]);
  EXPECT_TRUE(r.outOfBand[1]);
  EXPECT_EQ(FreqText(v, 5, 0), "159.500000");
  EXPECT_EQ(Record(v, 5)[12], 0);
  ImageStore u = Image(Uhf480K(), true);
  SetTestFrequency(u, 0, 0, "495");
  ASSERT_EQ(Record(u, 0)[12], 0);
  ASSERT_EQ(Record(u, 0)[13], 1) << "494.5 MHz splits frequency 2";
  TheTestFreqClipboard().Copy(u, 0, 0);
  SetModel(u, Uhf450K());  // splits at 465 MHz
  r = TheTestFreqClipboard().Paste(u, 0);
  EXPECT_EQ(Record(u, 0)[12], 1);
  EXPECT_EQ(Record(u, 0)[13], 1);
  EXPECT_TRUE(r.outOfBand[0]);
}

TEST_F(TestFrequency, ChPasteTakesChannelsOneToSixteen) {
  ImageStore s = Image(Uhf480K());
  EXPECT_FALSE(ChannelsToPaste(s));
  const auto before = AllBytes(s);
  EXPECT_FALSE(PasteChannelsAsTestChannels(s)) << "no channel: nothing happens";
  EXPECT_EQ(AllBytes(s), before);
  ChannelStore store(s);
  // Channel 1 receive only at 494.6 MHz; channel 3 a pair.
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "rx_frequency"), store.Image(), "494.6").ok());
  ASSERT_TRUE(CommitFieldText(ChannelField(2, "rx_frequency"), store.Image(), "500").ok());
  ASSERT_TRUE(CommitFieldText(ChannelField(2, "tx_frequency"), store.Image(), "490.0125").ok());
  ASSERT_TRUE(CommitFieldText(ChannelField(20, "rx_frequency"), store.Image(), "501").ok());
  ASSERT_TRUE(ChannelsToPaste(s));
  ASSERT_TRUE(PasteChannelsAsTestChannels(s));
  const auto t1 = Record(s, 0);
  EXPECT_EQ(FreqText(s, 0, 0), "494.600000");
  EXPECT_EQ(FreqText(s, 0, 1), "494.600000");
  EXPECT_EQ(t1[10], t1[11]);
  EXPECT_EQ(t1[12], 0) << "below 496.0 MHz";
  EXPECT_EQ(t1[13], 1) << "at or above 494.5 MHz: frequency 2's own split";
  // Channel 3 has a transmit frequency: bytes 0-13 of its record as they are.
  auto ch3 = store.ReadRecord(2);
  ch3.resize(14);
  ch3.insert(ch3.end(), {0xFF, 0xFF});
  EXPECT_EQ(Record(s, 2), ch3);
  EXPECT_FALSE(HasTestFrequency(s, 1, 0)) << "channel 2 does not exist";
  for (int i = 3; i < 16; ++i) EXPECT_TRUE(s.Main().IsAll(kTf + i * 16, 16, 0xFF)) << i;
}

}  // namespace
