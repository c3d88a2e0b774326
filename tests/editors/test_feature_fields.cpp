// The optional features and key assignment declarations: the family removals
// that a user's commit causes. Their value-level edge cases (shown values, the
// check box encodings, the PTT order, the password, the unit's identity, the
// key records) are cases/feature.txt.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "editors/EditorModules.h"
#include "editors/FeatureFields.h"
#include "editors/FunctionCodes.h"
#include "fields/FieldWalk.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

constexpr FunctionCode C(char a, char b) { return MakeFunctionCode(a, b); }
constexpr FunctionCode B = kNoFunction;

class Features : public ::testing::Test {
 protected:
  void SetUp() override {
    UseProgramTexts();
    image.MakeBlank();
    SetModel(image, Vhf146E());
  }
  FieldRef Ref(const std::string& key) {
    const auto f = FindField(EditorModules(), image, key);
    EXPECT_TRUE(f) << key;
    return f ? f->ref : FieldRef{};
  }
  CommitResult Type(const std::string& key, std::string_view text) {
    return AsUserCommits(image, [&] { return CommitFieldText(Ref(key), image, text); });
  }
  CommitResult Tick(const std::string& key, bool on) {
    return AsUserCommits(image, [&] { return CommitFieldCheck(Ref(key), image, on); });
  }
  std::uint16_t Word(std::size_t at) const { return image.Main().Word(at); }
  // The three codes of a family spread over the lists and a key.
  void FillWith(int familyIndex) {
    const FunctionFamily fam = FunctionFamilies()[static_cast<std::size_t>(familyIndex)];
    auto m = image.Main();
    m.SetWord(KeyGroupOffset(0), fam[2]);
    m.SetWord(0x02F0, fam[0]);
    m.SetWord(0x0308, C('1', '1'));
    m.SetWord(0x030A, fam[1]);
    m.SetWord(0x0350, fam[2]);
  }
  // What FillWith wrote is blank again; the other code stays.
  bool FamilyGone() {
    return Word(KeyGroupOffset(0)) == B && Word(0x02F0) == B && Word(0x0308) == C('1', '1') &&
           Word(0x030A) == B && Word(0x0350) == B;
  }

  ImageStore image;
  static constexpr const char* kHold = "optional_features.repeater.repeat_hold_timer";
  static constexpr const char* kTot = "optional_features.repeater.time_out_timer";
  static constexpr const char* kMicTot = "optional_features.local.time_out_timer";
  static constexpr const char* kVoting = "optional_features.local.voting_pilot_tone";
};

}  // namespace

TEST_F(Features, SwitchingAFacilityOffRemovesItsFamilyOnlyOnAChange) {
  // Repeat Hold 0 removes family 2; committing 0 again removes nothing.
  image.Main().SetByte(0x0291, 30);
  FillWith(family::kRepeatHold);
  ASSERT_TRUE(Type(kHold, "0").ok());
  EXPECT_TRUE(FamilyGone());
  FillWith(family::kRepeatHold);
  ASSERT_TRUE(Type(kHold, "Off").ok());
  EXPECT_EQ(Word(0x02F0), C('5', '1')) << "no change of the value, no removal";
  // A blank hold timer shows empty: leaving it so writes nothing.
  image.Main().SetByte(0x0291, 0xFF);
  ASSERT_TRUE(ApplyFieldText(Ref(kHold), image, "").ok());
  EXPECT_EQ(Word(0x02F0), C('5', '1'));

  // The time-out family goes only when both timers are 0.
  image.Main().SetByte(0x0290, 20);
  image.Main().SetWord(0x0629, 60);
  FillWith(family::kTimeOutTimer);
  ASSERT_TRUE(Type(kTot, "0").ok());
  EXPECT_EQ(Word(0x02F0), C('4', '0'));
  ASSERT_TRUE(Type(kMicTot, "0").ok());
  EXPECT_TRUE(FamilyGone());

  // Voting pilot: unticking removes family 26, ticking removes nothing.
  image.Main().SetByte(0x0279, 0xFF);
  FillWith(family::kVotingPilot);
  ASSERT_TRUE(Tick(kVoting, true).ok());
  EXPECT_EQ(Word(0x02F0), C(')', '1'));
  ASSERT_TRUE(Tick(kVoting, false).ok());
  EXPECT_TRUE(FamilyGone());
}

