#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/Frequency.h"
#include "data/ImageStore.h"
#include "data/ModelInfo.h"
#include "data/NewImage.h"

using namespace zmp;

namespace {

constexpr std::size_t kTf = region::kTestFrequency;

ModelRecord Record(const char* code, std::uint8_t dest, std::uint8_t band, std::uint8_t options = 0xFF) {
  ModelRecord r;
  r.bytes.fill(0xFF);
  for (int i = 0; i < 8; ++i) r.bytes[i] = static_cast<std::uint8_t>(code[i]);
  r.bytes[10] = dest;
  r.bytes[11] = band;
  r.bytes[14] = options;
  return r;
}

std::string FreqText(const ImageStore& s, int index, int column) {
  return FrequencyText(s.Main().Range(kTf + index * 16 + column * 5, 5));
}

// Routines attached for one test and removed again afterwards.
struct Attached {
  std::vector<std::string> calls;
  Attached() {
    for (auto [stage, name] : {std::pair{DefaultStage::ChannelBand, "band"},
                               std::pair{DefaultStage::Channel, "channel"},
                               std::pair{DefaultStage::Signalling, "signalling"},
                               std::pair{DefaultStage::Feature, "feature"}})
      AddDefaultRoutine(stage, "test", [this, name](ImageStore&) { calls.push_back(name); });
  }
  ~Attached() {
    for (auto stage : {DefaultStage::ChannelBand, DefaultStage::Channel, DefaultStage::Signalling,
                       DefaultStage::Feature})
      RemoveDefaultRoutine(stage, "test");
  }
};

}  // namespace

TEST(NewImage, StartupWithoutLastModelTakesWav300EAndItsDefaults) {
  ImageStore s;
  s.Block(BlockId::Second).SetByte(5, 0x12);  // left over from before: must go
  Attached hooks;
  EXPECT_FALSE(MakeStartupImage(s, std::nullopt));
  ModelInfo m(s);
  EXPECT_EQ(m.Record(), ModelRecord::Default());
  EXPECT_EQ(m.ModelIndex(), 1);
  EXPECT_EQ(m.BandWord(), 258);
  EXPECT_EQ(m.Mode(), 0);
  EXPECT_EQ(m.Record().Options(), 0xFF);
  EXPECT_EQ(s.Main().Text(0x0248, 5), "V1.40");
  EXPECT_EQ(s.Main().Text(0x024D, 3), "101");
  EXPECT_EQ(s.Block(BlockId::Second).Byte(5), 0xFF);
  // Repeater-wide defaults.
  EXPECT_EQ(s.Main().Word(0x0258), 0);
  EXPECT_EQ(s.Main().Word(0x025A), 7);
  EXPECT_EQ(s.Main().Byte(0x07F8), 0);
  const std::vector<std::pair<std::size_t, int>> bytes = {
      {0x02B1, 5}, {0x02B2, 20}, {0x02B3, 0x30}, {0x02B4, 30}, {0x02B5, 30}, {0x02B6, 0xFF},
      {0x02B7, 0}, {0x0630, 0},  {0x0631, 20},   {0x0632, 80}, {0x0633, 0},  {0x0634, 60}};
  for (auto [off, v] : bytes) EXPECT_EQ(s.Main().Byte(off), v) << std::hex << off;
  EXPECT_TRUE(s.Main().IsAll(0x0200, 0x40, 0));
  EXPECT_EQ(s.Main().Byte(0x0240), 0xFF);
  EXPECT_TRUE(s.Block(BlockId::Third).IsAll(0, 64, 0));
  EXPECT_TRUE(s.Block(BlockId::Third).IsAll(64, 6, 0xFF));
  // The checksum is computed only when saving or writing.
  EXPECT_EQ(s.Main().Word(kChecksumOffset), 0xFFFF);
  // Test frequencies of 146-174 MHz: split at 160 MHz, steps of 3125 Hz.
  EXPECT_EQ(FreqText(s, 0, 0), "146.100000");
  EXPECT_EQ(FreqText(s, 0, 1), "146.000000");
  EXPECT_EQ(FreqText(s, 1, 1), "174.000000");
  const auto r1 = s.Main().Read(kTf + 16, 16);  // 173.9 / 174.0
  EXPECT_EQ(r1[10], kStep3125);
  EXPECT_EQ(r1[11], kStep3125);
  EXPECT_EQ(r1[12], 1);
  EXPECT_EQ(r1[13], 1);
  EXPECT_EQ(r1[14], 0xFF);
  EXPECT_EQ(r1[15], 0xFF);
  EXPECT_EQ(s.Main().Byte(kTf + 12), 0);  // 146.1 is below 160
  for (int i = 6; i < 16; ++i) EXPECT_TRUE(s.Main().IsAll(kTf + i * 16, 16, 0xFF)) << i;
  EXPECT_FALSE(s.IsModified());
  EXPECT_EQ(hooks.calls, (std::vector<std::string>{"band", "channel", "signalling", "feature"}));
}

TEST(NewImage, StartupTakesAValidLastModelWithOptionsOffAndModeZero) {
  ImageStore s;
  // WAV-500 K 477/480-512: option board fitted (bit 2 clear), Mode 1 (bit 3 clear),
  // both start-up options on (bits 0, 1 clear).
  const ModelRecord last = Record("RWAV0500", 0, 10, 0xF0);
  EXPECT_TRUE(MakeStartupImage(s, last));
  ModelInfo m(s);
  EXPECT_EQ(m.ModelIndex(), 2);
  EXPECT_EQ(m.BandWord(), 2560);
  EXPECT_EQ(m.OptionBoard(), 1);
  EXPECT_EQ(m.Mode(), 0);
  EXPECT_FALSE(m.StartupOption(0));
  EXPECT_FALSE(m.StartupOption(1));
  EXPECT_EQ(m.Record().Options(), 0xFB);
  EXPECT_DOUBLE_EQ(m.Lower(0), 480);
  EXPECT_DOUBLE_EQ(m.Lower(1), 477);
  // Band number 7 splits at 496 MHz in column 0 and 494.5 MHz in column 1.
  EXPECT_EQ(FreqText(s, 0, 0), "480.000000");
  EXPECT_EQ(FreqText(s, 0, 1), "477.000000");
  const auto r2 = s.Main().Read(kTf + 2 * 16, 16);  // 495.95 / 494.45
  EXPECT_EQ(r2[12], 0);
  EXPECT_EQ(r2[13], 0);
  EXPECT_EQ(r2[10], kStep5000);
  const auto r3 = s.Main().Read(kTf + 3 * 16, 16);  // 496.0 / 494.5
  EXPECT_EQ(r3[12], 1);
  EXPECT_EQ(r3[13], 1);
  EXPECT_EQ(FreqText(s, 4, 1), "485.750000");
  EXPECT_FALSE(s.IsModified());
}

TEST(NewImage, StartupRefusesLastModelsThatAreNotValid) {
  const std::vector<ModelRecord> bad = {
      Record("RWAV0700", 0, 1),                  // unknown model code
      Record("RWAV0300", 1, 1),                  // unknown destination
      Record("RWAV0300", 2, 9),                  // band not offered by WAV-300 E
      Record("RWAV0500", 0, 12),                 // 440-470 belongs to the E market
  };
  for (const auto& r : bad) {
    ImageStore s;
    EXPECT_FALSE(MakeStartupImage(s, r));
    EXPECT_EQ(ModelInfo(s).Record(), ModelRecord::Default());
  }
  ModelRecord tail = Record("RWAV0300", 0, 2);
  tail.bytes[12] = 0x00;  // bytes 12-13 must be FF FF
  ImageStore s;
  EXPECT_FALSE(MakeStartupImage(s, tail));
  EXPECT_EQ(ModelInfo(s).Record(), ModelRecord::Default());
}

TEST(NewImage, VhfLowBandSplitsAt145) {
  ImageStore s;
  ASSERT_TRUE(MakeStartupImage(s, Record("RWAV0300", 0, 2)));
  const auto r2 = s.Main().Read(kTf + 2 * 16, 16);  // 144.85 / 144.95
  EXPECT_EQ(r2[12], 0);
  EXPECT_EQ(r2[13], 0);
  const auto r3 = s.Main().Read(kTf + 3 * 16, 16);  // 145.1 / 145.0: at or above
  EXPECT_EQ(r3[12], 1);
  EXPECT_EQ(r3[13], 1);
  EXPECT_EQ(FreqText(s, 2, 0), "144.850000");
  EXPECT_EQ(r2[10], kStep3125);
}

TEST(NewImage, EveryBandHasSixDefaultPairsWithinItsLimits) {
  for (const auto& row : BandTable()) {
    const auto pairs = DefaultTestFrequencies(row.bandWord);
    ASSERT_EQ(pairs.size(), 6u) << row.bandWord;
    ImageStore s;
    ModelRecord r = Record("RWAV0300", row.destination, row.bandCode);
    ModelInfo(s).SetRecord(r);
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(SetTestFrequency(s, i, 0, pairs[i].column0), 1) << row.bandWord << " " << i;
      EXPECT_EQ(SetTestFrequency(s, i, 1, pairs[i].column1), 1) << row.bandWord << " " << i;
    }
  }
  EXPECT_TRUE(DefaultTestFrequencies(1234).empty());
}

TEST(NewImage, NewDataKeepsTheModelAndResetsTheRest) {
  ImageStore s;
  MakeStartupImage(s, Record("RWAV0500", 2, 12, 0xF0));
  ModelInfo m(s);
  m.SetMode(1);
  m.SetStartupOption(0, true);
  s.Main().SetByte(0x0800, 0x42);
  s.Block(BlockId::Fourth).SetByte(3, 0x42);
  s.Main().Fill(kTf, 256, 0xFF);
  MakeNewImageForCurrentModel(s);
  EXPECT_EQ(m.ModelIndex(), 3);
  EXPECT_EQ(m.BandWord(), 3074);
  EXPECT_EQ(m.OptionBoard(), 1);
  EXPECT_EQ(m.Mode(), 0);
  EXPECT_FALSE(m.StartupOption(0));
  EXPECT_EQ(s.Main().Byte(0x0800), 0xFF);
  EXPECT_EQ(s.Block(BlockId::Fourth).Byte(3), 0xFF);
  EXPECT_EQ(FreqText(s, 0, 0), "440.100000");
  EXPECT_FALSE(s.IsModified());
}

TEST(TestFrequencyStore, FillsClearsAndWarns) {
  ImageStore s;
  MakeStartupImage(s, std::nullopt);  // 146-174 MHz
  s.Main().Fill(kTf, 256, 0xFF);
  // Frequency 1 into an empty test channel fills frequency 2 with it.
  EXPECT_EQ(SetTestFrequency(s, 9, 0, "150.5"), 1);
  EXPECT_EQ(FreqText(s, 9, 0), "150.500000");
  EXPECT_EQ(FreqText(s, 9, 1), "150.500000");
  EXPECT_EQ(s.Main().Byte(kTf + 9 * 16 + 11), s.Main().Byte(kTf + 9 * 16 + 10));
  // Frequency 1 again leaves frequency 2 alone.
  EXPECT_EQ(SetTestFrequency(s, 9, 1, "165"), 1);
  EXPECT_EQ(s.Main().Byte(kTf + 9 * 16 + 13), 1);
  EXPECT_EQ(SetTestFrequency(s, 9, 0, "151"), 1);
  EXPECT_EQ(FreqText(s, 9, 1), "165.000000");
  // Outside the band: stored, but reported.
  EXPECT_EQ(SetTestFrequency(s, 9, 1, "180"), -1);
  EXPECT_EQ(FreqText(s, 9, 1), "180.000000");
  // Emptying frequency 2 empties the whole test channel.
  EXPECT_EQ(SetTestFrequency(s, 9, 1, ""), 0);
  EXPECT_TRUE(s.Main().IsAll(kTf + 9 * 16, 14, 0xFF));
  EXPECT_FALSE(HasTestFrequency(s, 9, 0));
  // Text that is no frequency does the same.
  SetTestFrequency(s, 9, 0, "151");
  EXPECT_EQ(SetTestFrequency(s, 9, 0, "abc"), 0);
  EXPECT_TRUE(s.Main().IsAll(kTf + 9 * 16, 16, 0xFF));
  // Out-of-range index or column changes nothing.
  const auto before = s.working();
  EXPECT_EQ(SetTestFrequency(s, 16, 0, "150"), 0);
  EXPECT_EQ(SetTestFrequency(s, -1, 0, "150"), 0);
  EXPECT_EQ(SetTestFrequency(s, 0, 2, "150"), 0);
  EXPECT_TRUE(s.working() == before);
  EXPECT_FALSE(HasTestFrequency(s, 16, 0));
}

TEST(DefaultRoutines, AttachReplaceAndRemove) {
  ImageStore s;
  int a = 0, b = 0;
  AddDefaultRoutine(DefaultStage::Signalling, "x", [&](ImageStore&) { ++a; });
  AddDefaultRoutine(DefaultStage::Signalling, "x", [&](ImageStore&) { ++b; });
  RunDefaultRoutines(DefaultStage::Signalling, s);
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 1);
  RemoveDefaultRoutine(DefaultStage::Signalling, "x");
  RunDefaultRoutines(DefaultStage::Signalling, s);
  EXPECT_EQ(b, 1);
}
