#include <gtest/gtest.h>

#include <stdexcept>

#include "data/Frequency.h"
#include "data/ImageStore.h"
#include "data/ModelInfo.h"

using namespace zmp;

TEST(ImageStore, BlankModifiedAndChecksum) {
  ImageStore s;
  s.MakeBlank();
  EXPECT_TRUE(s.Main().IsAll(0, kMainBlockSize, 0xFF));
  EXPECT_EQ(s.Block(BlockId::Third).Word(68), 0xFFFF);
  s.TakeSnapshot();
  EXPECT_FALSE(s.IsModified());
  s.Block(BlockId::Fourth).SetByte(10, 0);
  EXPECT_FALSE(s.IsModified()) << "the fourth block takes no part in the modified test";
  s.Block(BlockId::Third).SetByte(0, 0);
  EXPECT_TRUE(s.IsModified());
  // IsModified leaves the transfer copy alone.
  EXPECT_EQ(s.transfer().Third().Byte(0), 0xFF);

  s.Main().SetWord(kChecksumOffset, 0x1234);
  s.UpdateChecksum();
  const auto first = s.Main().Word(kChecksumOffset);
  s.Main().SetWord(kChecksumOffset, 0xBEEF);
  s.UpdateChecksum();
  EXPECT_EQ(s.Main().Word(kChecksumOffset), first);
  EXPECT_EQ(first, static_cast<std::uint16_t>((0xFFull * (kMainBlockSize - 2)) & 0xFFFF));
}

TEST(ImageStore, AccessIsBoundsChecked) {
  ImageStore s;
  EXPECT_THROW(s.Main().Byte(kMainBlockSize), std::out_of_range);
  EXPECT_THROW(s.Main().Word(kMainBlockSize - 1), std::out_of_range);
  EXPECT_THROW(s.Block(BlockId::Third).Write(69, std::vector<std::uint8_t>{1, 2}), std::out_of_range);
  EXPECT_THROW(s.Main().Bit(0, 8), std::out_of_range);
  s.Main().SetBcdDigits(0, 2, "1234");
  EXPECT_EQ(s.Main().Byte(0), 0x34);
  EXPECT_EQ(s.Main().Byte(1), 0x12);
  EXPECT_EQ(*s.Main().BcdDigits(0, 2), "1234");
  s.Main().SetText(0x10, 4, "AB");
  EXPECT_EQ(s.Main().Text(0x10, 4), "AB");
  EXPECT_EQ(s.Main().Byte(0x13), 0xFF);
}

TEST(ModelInfo, TablesAndLimits) {
  ImageStore s;
  ModelInfo m(s);
  m.SetRecord(ModelRecord::Default());
  EXPECT_EQ(m.ModelIndex(), 1);
  EXPECT_EQ(m.BandWord(), 258);
  EXPECT_EQ(m.Caption(), "WAV-300: E");
  EXPECT_EQ(m.LongCaption(), "WAV-300: E  VHF: 146-174 MHz");
  EXPECT_TRUE(m.IsAllowedBand());
  ASSERT_TRUE(m.SetModelIndex(2));
  EXPECT_EQ(m.ModelIndex(), 3) << "destination 2 stays: WAV-500 E";
  m.SetBandWord(2560);  // the low byte is the destination: K market
  EXPECT_EQ(m.ModelIndex(), 2);
  EXPECT_TRUE(m.IsAllowedBand());
  EXPECT_DOUBLE_EQ(m.Lower(0), 480);
  EXPECT_DOUBLE_EQ(m.Lower(1), 477);
  EXPECT_EQ(m.BandNumberOfRecord(), 7);
  EXPECT_EQ(m.SplitHz(0), 496'000'000u);
  EXPECT_EQ(m.SplitHz(1), 494'500'000u);
  EXPECT_FALSE(m.SetModelIndex(4));
  EXPECT_FALSE(m.SetModelIndex(-1));
  // Unknown records answer safely.
  ModelRecord junk;
  junk.bytes.fill(0);
  EXPECT_EQ(ModelIndexOf(junk), -1);
  EXPECT_FALSE(IsValidRecord(junk));
  EXPECT_EQ(ModelCaption(-1), "");
  EXPECT_DOUBLE_EQ(LowerLimit(1234, 0), 146);
}
