#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DataTestSupport.h"
#include "data/Frequency.h"
#include "data/ModelChange.h"
#include "data/NewImage.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

std::vector<int> Numbers(const ModelChangeDecision& d) {
  std::vector<int> v;
  for (auto t : d.messageTexts) v.push_back(t.n);
  return v;
}

}  // namespace

TEST(ModelChange, FrequencyListFollowsTheModel) {
  EXPECT_TRUE(BandWordsOfModel(-1).empty());
  EXPECT_TRUE(BandWordsOfModel(4).empty());
  EXPECT_EQ(BandWordAfterModelChange(2, 2560), 2560);
  EXPECT_EQ(BandWordAfterModelChange(3, 2560), 3074);
  EXPECT_EQ(BandWordAfterModelChange(1, 256), 258);
}

TEST(ModelChange, DecisionCodesAndTexts) {
  const ModelChoice k450{2, 2304, 1, 0, 1};
  // 450-480 to 477/480-512, same destination: code 4 after confirming 658.
  ModelChoice c = k450;
  c.bandWord = 2560;
  auto d = DecideModelChange(k450, c);
  EXPECT_EQ(d.code, 4);
  EXPECT_EQ(Numbers(d), std::vector<int>{658});
  EXPECT_TRUE(d.NeedsConfirmation());
  // Band and control standard: two lines.
  c.controlStandard = 2;
  d = DecideModelChange(k450, c);
  EXPECT_EQ(d.code, 12);
  EXPECT_EQ(Numbers(d), (std::vector<int>{658, 659}));
  // Control standard alone: no leading line.
  c = k450;
  c.controlStandard = 2;
  d = DecideModelChange(k450, c);
  EXPECT_EQ(d.code, 8);
  EXPECT_EQ(Numbers(d), std::vector<int>{659});
  // Mode 1 -> 0 alone: code 16, no confirmation.
  c = k450;
  c.mode = 0;
  d = DecideModelChange(k450, c);
  EXPECT_EQ(d.code, 16);
  EXPECT_FALSE(d.NeedsConfirmation());
  // Mode 0 -> 1 sets no bit.
  d = DecideModelChange(c, k450);
  EXPECT_EQ(d.code, 0);
  EXPECT_FALSE(d.NeedsConfirmation());
  // Band change with Mode to 0.
  c.bandWord = 2816;
  d = DecideModelChange(k450, c);
  EXPECT_EQ(d.code, 20);
  // Option board alone: full re-initialisation.
  c = k450;
  c.optionBoard = 1;
  d = DecideModelChange(k450, c);
  EXPECT_EQ(d.code, 2);
  EXPECT_EQ(Numbers(d), std::vector<int>{653});
  // WAV-300 K to WAV-300 E: destination 0 to 2.
  const ModelChoice k300{0, 256, 0, 0, 1};
  c = k300;
  c.modelIndex = 1;
  c.bandWord = BandWordAfterModelChange(1, 256);
  d = DecideModelChange(k300, c);
  EXPECT_EQ(d.code, 2);
  EXPECT_EQ(Numbers(d), std::vector<int>{653});
  // Nothing changed.
  d = DecideModelChange(k300, k300);
  EXPECT_EQ(d.code, 0);
  EXPECT_FALSE(d.NeedsConfirmation());
}

TEST(ModelChange, ChoiceOfTheRecord) {
  ImageStore s;
  MakeStartupImage(s, MakeRecord("RWAV0500", 0, 9, 0xF3));
  ModelInfo m(s);
  m.SetMode(1);
  const ModelChoice c = ChoiceOf(m);
  EXPECT_EQ(c, (ModelChoice{2, 2304, 1, 1, 1}));
}

TEST(ModelChange, ApplyBandChangeKeepsUserDataAndRunsTheBandRoutines) {
  ImageStore s;
  MakeStartupImage(s, MakeRecord("RWAV0500", 0, 9));
  s.Block(BlockId::Second).SetByte(100, 0x33);
  s.Main().SetByte(0x0900, 0x44);
  RecordedDefaults calls;
  ModelChoice c = ChoiceOf(ModelInfo(s));
  c.bandWord = 2560;
  EXPECT_TRUE(ApplyModelChange(s, c, DecideModelChange(ChoiceOf(ModelInfo(s)), c).code));
  ModelInfo m(s);
  EXPECT_EQ(m.BandWord(), 2560);
  EXPECT_EQ(m.ModelIndex(), 2);
  EXPECT_DOUBLE_EQ(m.Lower(1), 477);
  EXPECT_EQ(s.Block(BlockId::Second).Byte(100), 0x33);
  EXPECT_EQ(s.Main().Byte(0x0900), 0x44);
  EXPECT_EQ(calls.calls, (std::vector<std::string>{"band", "channel"}));
  EXPECT_TRUE(s.IsModified());
}

TEST(ModelChange, ApplyReinitialiseBlanksAndRunsFullDefaults) {
  ImageStore s;
  MakeStartupImage(s, MakeRecord("RWAV0300", 0, 1));
  s.Block(BlockId::Second).SetByte(100, 0x33);
  s.Main().SetByte(0x0900, 0x44);
  RecordedDefaults calls;
  const ModelChoice before = ChoiceOf(ModelInfo(s));
  ModelChoice c = before;
  c.modelIndex = 1;
  c.bandWord = 258;
  c.optionBoard = 1;
  const auto d = DecideModelChange(before, c);
  ASSERT_EQ(d.code, 2);
  EXPECT_TRUE(ApplyModelChange(s, c, d.code));
  ModelInfo m(s);
  EXPECT_EQ(m.ModelIndex(), 1);
  EXPECT_EQ(m.BandWord(), 258);
  EXPECT_EQ(m.OptionBoard(), 1);
  EXPECT_TRUE(HasBlankTail(m.Record()));
  EXPECT_EQ(s.Main().Byte(region::kModelRecord + 15), 0xFF);
  EXPECT_EQ(s.Block(BlockId::Second).Byte(100), 0xFF);
  EXPECT_EQ(s.Main().Byte(0x0900), 0xFF);
  EXPECT_EQ(s.Main().Byte(0x02B1), 5);
  EXPECT_EQ(s.Main().Text(0x0248, 5), "V1.40");
  EXPECT_EQ(calls.calls, (std::vector<std::string>{"band", "channel", "signalling", "feature"}));
}

TEST(ModelChange, ApplyStandardModeAndNothing) {
  ImageStore s;
  MakeStartupImage(s, MakeRecord("RWAV0500", 2, 12));
  ModelInfo m(s);
  m.SetMode(1);
  s.TakeSnapshot();
  {
    RecordedDefaults calls;
    ModelChoice c = ChoiceOf(m);
    c.controlStandard = 2;
    EXPECT_TRUE(ApplyModelChange(s, c, 8));
    EXPECT_EQ(calls.calls, (std::vector<std::string>{"signalling", "channel"}));
  }
  {
    RecordedDefaults calls;
    ModelChoice c = ChoiceOf(m);
    c.mode = 0;
    EXPECT_TRUE(ApplyModelChange(s, c, 16));
    EXPECT_EQ(m.Mode(), 0);
    EXPECT_EQ(calls.calls, std::vector<std::string>{"channel"});
  }
  {
    RecordedDefaults calls;
    ModelChoice c = ChoiceOf(m);
    c.mode = 1;
    EXPECT_FALSE(ApplyModelChange(s, c, 0));
    EXPECT_EQ(m.Mode(), 1);
    EXPECT_EQ(calls.calls, std::vector<std::string>{"channel"});
  }
  EXPECT_EQ(m.BandWord(), 3074);
}
