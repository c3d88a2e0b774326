#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DataTestSupport.h"
#include "data/ImageStore.h"
#include "data/ModelInfo.h"
#include "data/NewImage.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

constexpr std::size_t kTf = region::kTestFrequency;

}  // namespace

TEST(NewImage, StartupWithoutLastModelTakesWav300EAndItsDefaults) {
  ImageStore s;
  s.Block(BlockId::Second).SetByte(5, 0x12);  // left over from before: must go
  RecordedDefaults hooks;
  EXPECT_FALSE(MakeStartupImage(s, std::nullopt));
  ModelInfo m(s);
  EXPECT_EQ(m.Record(), ModelRecord::Default());
  EXPECT_EQ(m.ModelIndex(), 1);
  EXPECT_EQ(m.BandWord(), 258);
  EXPECT_EQ(m.Mode(), 0);
  EXPECT_EQ(m.Record().Options(), 0xFF);
  EXPECT_EQ(s.Block(BlockId::Second).Byte(5), 0xFF);
  // Every default byte of every variant: tests/data/golden (GoldenImages).
  // The checksum is computed only when saving or writing.
  EXPECT_EQ(s.Main().Word(kChecksumOffset), 0xFFFF);
  // The test channels are the test-frequency editor's (its band defaults).
  EXPECT_TRUE(s.Main().IsAll(kTf, 256, 0xFF));
  EXPECT_FALSE(s.IsModified());
  EXPECT_EQ(hooks.calls, (std::vector<std::string>{"band", "channel", "signalling", "feature"}));
}

TEST(NewImage, StartupTakesAValidLastModelWithOptionsOffAndModeZero) {
  ImageStore s;
  // WAV-500 K 477/480-512: option board fitted (bit 2 clear), Mode 1 (bit 3 clear),
  // both start-up options on (bits 0, 1 clear).
  const ModelRecord last = MakeRecord("RWAV0500", 0, 10, 0xF0);
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
  EXPECT_FALSE(s.IsModified());
}

TEST(NewImage, StartupRefusesLastModelsThatAreNotValid) {
  const std::vector<ModelRecord> bad = {
      MakeRecord("RWAV0700", 0, 1),                  // unknown model code
      MakeRecord("RWAV0300", 1, 1),                  // unknown destination
      MakeRecord("RWAV0300", 2, 9),                  // band not offered by WAV-300 E
      MakeRecord("RWAV0500", 0, 12),                 // 440-470 belongs to the E market
  };
  for (const auto& r : bad) {
    ImageStore s;
    EXPECT_FALSE(MakeStartupImage(s, r));
    EXPECT_EQ(ModelInfo(s).Record(), ModelRecord::Default());
  }
  ModelRecord tail = MakeRecord("RWAV0300", 0, 2);
  tail.bytes[12] = 0x00;  // bytes 12-13 must be FF FF
  ImageStore s;
  EXPECT_FALSE(MakeStartupImage(s, tail));
  EXPECT_EQ(ModelInfo(s).Record(), ModelRecord::Default());
}

TEST(NewImage, NewDataKeepsTheModelAndResetsTheRest) {
  ImageStore s;
  MakeStartupImage(s, MakeRecord("RWAV0500", 2, 12, 0xF0));
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
  EXPECT_FALSE(s.IsModified());
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
