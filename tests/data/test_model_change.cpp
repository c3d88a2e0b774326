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

// What a change in the Model Information dialog asks and does: the code's
// bits (2 full re-initialisation, 4 band, 8 control standard, 16 mode to 0)
// and the texts the user confirms.
TEST(ModelChange, DecisionCodesAndTexts) {
  struct Case {
    const char* what;
    ModelChoice from, to;  // model, band word, mode, option board, control standard
    int code;
    std::vector<int> texts;
  };
  const ModelChoice k450{2, 2304, 1, 0, 1}, k300{0, 256, 0, 0, 1};
  const Case cases[] = {
      {"450-480 to 477/480-512, same destination", k450, {2, 2560, 1, 0, 1}, 4, {658}},
      {"band and control standard: two lines", k450, {2, 2560, 1, 0, 2}, 12, {658, 659}},
      {"control standard alone: no leading line", k450, {2, 2304, 1, 0, 2}, 8, {659}},
      {"mode 1 to 0 alone", k450, {2, 2304, 0, 0, 1}, 16, {}},
      {"mode 0 to 1 sets no bit", {2, 2304, 0, 0, 1}, k450, 0, {}},
      {"band with mode to 0", k450, {2, 2816, 0, 0, 1}, 20, {658}},
      {"option board alone: full re-initialisation", k450, {2, 2304, 1, 1, 1}, 2, {653}},
      {"WAV-300 K to WAV-300 E: destination 0 to 2", k300, {1, BandWordAfterModelChange(1, 256), 0, 0, 1}, 2, {653}},
      {"nothing changed", k300, k300, 0, {}},
  };
  for (const Case& c : cases) {
    const ModelChangeDecision d = DecideModelChange(c.from, c.to);
    EXPECT_EQ(d.code, c.code) << c.what;
    EXPECT_EQ(Numbers(d), c.texts) << c.what;
    EXPECT_EQ(d.NeedsConfirmation(), !c.texts.empty()) << c.what;
  }
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

// A change of the control standard or the mode runs the channel routines
// (and the signalling ones for the standard); a code of 0 changes nothing.
TEST(ModelChange, ApplyStandardModeAndNothing) {
  ImageStore s;
  MakeStartupImage(s, MakeRecord("RWAV0500", 2, 12));
  ModelInfo m(s);
  m.SetMode(1);
  s.TakeSnapshot();
  struct Case {
    int ModelChoice::*setting;
    int value, code;
    bool changed;
    int mode;  // afterwards
    std::vector<std::string> calls;
  };
  for (const Case& c : {Case{&ModelChoice::controlStandard, 2, 8, true, 1, {"signalling", "channel"}},
                        Case{&ModelChoice::mode, 0, 16, true, 0, {"channel"}},
                        Case{&ModelChoice::mode, 1, 0, false, 1, {"channel"}}}) {
    RecordedDefaults calls;
    ModelChoice choice = ChoiceOf(m);
    choice.*c.setting = c.value;
    EXPECT_EQ(ApplyModelChange(s, choice, c.code), c.changed) << c.code;
    EXPECT_EQ(m.Mode(), c.mode) << c.code;
    EXPECT_EQ(calls.calls, c.calls) << c.code;
  }
  EXPECT_EQ(m.BandWord(), 3074);
}
