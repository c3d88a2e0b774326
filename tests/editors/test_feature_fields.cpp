// The optional features and key assignment declarations: the edge cases the
// field suite cannot know (shown values, the check box encodings, the PTT
// order, the password, the unit's identity) and the family removals that a
// user's commit causes, with their keys as zmp318t-cli names them.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "editors/EditorModules.h"
#include "editors/FeatureFields.h"
#include "editors/FunctionCodes.h"
#include "editors/KeyFields.h"
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
  std::string Shown(const std::string& key) { return ShowField(Ref(key), image).text; }
  CommitResult Type(const std::string& key, std::string_view text) {
    return AsUserCommits(image, [&] { return CommitFieldText(Ref(key), image, text); });
  }
  CommitResult Tick(const std::string& key, bool on) {
    return AsUserCommits(image, [&] { return CommitFieldCheck(Ref(key), image, on); });
  }
  std::uint8_t Byte(std::size_t at) const { return image.Main().Byte(at); }
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
  static constexpr const char* kPtt = "optional_features.repeater.ptt_priority";
};

}  // namespace

// What the declarations cannot say alone: Off before the range, a stored
// value below the shown minimum kept until edited, a blank shown as a number.
TEST_F(Features, OffBeforeTheRangeAndBlankValuesShownAsNumbers) {
  image.Main().SetWord(0x07D1, 0);
  EXPECT_EQ(Shown("optional_features.repeater.repeat_continuous_timer"), "Off");
  ASSERT_TRUE(Type(kMicTot, "14").ok());
  EXPECT_EQ(Word(0x0629), 14);
  EXPECT_EQ(Shown(kMicTot), "Off") << "the local TOT shows Off below 15";
  ASSERT_TRUE(ApplyFieldText(Ref(kMicTot), image, "Off").ok());
  EXPECT_EQ(Word(0x0629), 14) << "a stored 1-14 stays until the user edits it";

  EXPECT_EQ(Shown("optional_features.repeater.qt_reverse_burst_phase"), "180");
  ASSERT_TRUE(Type("optional_features.repeater.qt_reverse_burst_phase", "180").ok());
  EXPECT_EQ(Byte(0x07FA), 0xFF) << "typing the blank's number keeps it blank";
  ASSERT_TRUE(SpinField(Ref("optional_features.repeater.qt_reverse_burst_phase"), image, true).ok());
  EXPECT_EQ(Byte(0x07FA), 181);
}

TEST_F(Features, CheckBoxesStoreTheirOwnEncodings) {
  // Courtesy tone: a tick from period 0 stores the minimum (100 ms), an
  // untick 0; a period never programmed leaves the box disabled.
  EXPECT_FALSE(ShowField(Ref("optional_features.local.courtesy_tone"), image).applicable);
  image.Main().SetWord(0x0426, 0);
  const FieldRef courtesy = Ref("optional_features.local.courtesy_tone");
  EXPECT_FALSE(ShowField(courtesy, image).checked);
  ASSERT_TRUE(CommitFieldCheck(courtesy, image, true).ok());
  EXPECT_EQ(Word(0x0426), 10);
  EXPECT_EQ(Shown("optional_features.local.courtesy_tone_period"), "100");
  ASSERT_TRUE(Type("optional_features.local.courtesy_tone_period", "500").ok());
  ASSERT_TRUE(CommitFieldCheck(courtesy, image, true).ok());
  EXPECT_EQ(Word(0x0426), 50) << "no write when the state is unchanged";
  ASSERT_TRUE(CommitFieldCheck(courtesy, image, false).ok());
  EXPECT_EQ(Word(0x0426), 0);

  // Encryption: ticked stores 0, unticked 0xFF; any value but 0xFF is ticked.
  const FieldRef encryption = Ref("optional_features.repeater.encryption");
  image.Main().SetByte(0x027D, 0x37);
  EXPECT_TRUE(ShowField(encryption, image).checked);
  ASSERT_TRUE(CommitFieldCheck(encryption, image, true).ok());
  EXPECT_EQ(Byte(0x027D), 0x37);
  ASSERT_TRUE(CommitFieldCheck(encryption, image, false).ok());
  EXPECT_EQ(Byte(0x027D), 0xFF);
  ASSERT_TRUE(CommitFieldCheck(encryption, image, true).ok());
  EXPECT_EQ(Byte(0x027D), 0);

  // Bits: the alert tones are ticked while their bit is clear, Send to RA while set.
  image.Main().SetByte(0x02B8, 0xFF);
  ASSERT_TRUE(CommitFieldCheck(Ref("optional_features.local.warning_alert_tone"), image, true).ok());
  EXPECT_EQ(Byte(0x02B8), 0xFB);
  image.Main().SetByte(0x042B, 0);
  ASSERT_TRUE(CommitFieldCheck(Ref("optional_features.local.send_to_ra"), image, true).ok());
  EXPECT_EQ(Byte(0x042B), 0x10);
  image.Main().SetByte(0x0490, 0x01);
  EXPECT_FALSE(ShowField(Ref("optional_features.unit.over_the_air_alias"), image).checked);
}

TEST_F(Features, PttPriorityIsFoundBySearchAndOnlyReordered) {
  auto m = image.Main();
  m.SetByte(0x0298, 3);
  m.SetByte(0x0299, 0);
  m.SetByte(0x029A, 2);
  EXPECT_EQ(Shown(kPtt), "External PTT > Repeater > Local Mic");
  ASSERT_TRUE(MoveFieldEntry(Ref(kPtt), image, 1, true).ok());
  EXPECT_EQ(m.Read(0x0298, 3), (std::vector<std::uint8_t>{0, 3, 2}));
  ASSERT_TRUE(MoveFieldEntry(Ref(kPtt), image, 2, false).ok());
  EXPECT_EQ(m.Read(0x0298, 3), (std::vector<std::uint8_t>{0, 3, 2})) << "the last entry cannot move down";
  ASSERT_TRUE(Type(kPtt, "Local Mic > Repeater > External PTT").ok());
  EXPECT_EQ(m.Read(0x0298, 3), (std::vector<std::uint8_t>{2, 0, 3}));
  const auto before = AllBytes(image);
  for (const char* bad : {"Local Mic > Local Mic > Repeater", "Repeater > Local Mic", "Repeater", "x > y > z"})
    EXPECT_EQ(Type(kPtt, bad).status, CommitStatus::Refused) << bad;
  EXPECT_EQ(AllBytes(image), before) << "a refused order changes nothing";
  // A blank byte shows nothing and stays among the entries.
  m.SetByte(0x0299, 0xFF);
  EXPECT_EQ(FieldEntries(Ref(kPtt), image), (std::vector<std::string>{"Local Mic", "", "External PTT"}));
  ASSERT_TRUE(Type(kPtt, " > Local Mic > External PTT").ok());
  EXPECT_EQ(m.Read(0x0298, 3), (std::vector<std::uint8_t>{0xFF, 2, 3}));
  // A complete order of the three sources is stored whatever the list held.
  ASSERT_TRUE(Type(kPtt, "Repeater > External PTT > Local Mic").ok());
  EXPECT_EQ(m.Read(0x0298, 3), (std::vector<std::uint8_t>{0, 3, 2}));

  // A blank list (a new image, a repeater never set) shows the sources in
  // their default order; its own text keeps it blank, a move or another
  // order stores a complete order.
  m.Fill(0x0298, 3, 0xFF);
  EXPECT_EQ(Shown(kPtt), "Repeater > Local Mic > External PTT");
  ASSERT_TRUE(Type(kPtt, "Repeater > Local Mic > External PTT").ok());
  EXPECT_TRUE(m.IsAll(0x0298, 3, 0xFF));
  ASSERT_TRUE(MoveFieldEntry(Ref(kPtt), image, 2, true).ok());
  EXPECT_EQ(m.Read(0x0298, 3), (std::vector<std::uint8_t>{0, 3, 2}));
  m.Fill(0x0298, 3, 0xFF);
  ASSERT_TRUE(Type(kPtt, "Local Mic > Repeater > External PTT").ok());
  EXPECT_EQ(m.Read(0x0298, 3), (std::vector<std::uint8_t>{2, 0, 3}));
}

TEST_F(Features, PasswordUnitIdAndNameKeepToTheirBytes) {
  const auto model = image.Main().Read(0x0412, 16);
  const std::string pw = "optional_features.repeater.data_password";
  ASSERT_TRUE(Type(pw, "1234").ok());
  EXPECT_EQ(image.Main().Read(0x0250, 7), (std::vector<std::uint8_t>{'1', '2', '3', '4', 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Shown(pw), "1234");
  const auto before = AllBytes(image);
  EXPECT_EQ(Type(pw, "12a4").status, CommitStatus::Refused);
  EXPECT_EQ(Type(pw, "1234567").status, CommitStatus::Refused);
  EXPECT_EQ(Type(pw, "12a4").message, 913_txt);
  EXPECT_EQ(AllBytes(image), before);
  image.Main().SetByte(0x0251, ' ');
  EXPECT_EQ(Shown(pw), "134") << "spaces and 0xFF are unused positions";
  ASSERT_TRUE(Type(pw, "").ok());
  EXPECT_TRUE(image.Main().IsAll(0x0250, 6, 0xFF));

  const std::string id = "optional_features.unit.unit_id";
  EXPECT_EQ(Shown(id), "") << "0xFFFF is blank";
  ASSERT_TRUE(Type(id, "70000").ok());
  EXPECT_EQ(Word(0x0410), 65534);
  ASSERT_TRUE(Type(id, "0").ok());
  EXPECT_EQ(Word(0x0410), 0);
  ASSERT_TRUE(Type(id, "").ok());
  EXPECT_EQ(Word(0x0410), 0xFFFF);
  EXPECT_EQ(image.Main().Read(0x0412, 16), model) << "never the model record";

  ASSERT_TRUE(Type("optional_features.unit.unit_name", "SITE-7 NORTH HILL X").ok());
  EXPECT_EQ(image.Main().Text(0x0480, 16), "SITE-7 NORTH HIL");
  ASSERT_TRUE(Type("optional_features.unit.unit_name", "AB").ok());
  EXPECT_EQ(image.Main().Read(0x0480, 4), (std::vector<std::uint8_t>{'A', 'B', ' ', ' '}));
  EXPECT_EQ(Shown("optional_features.unit.unit_name"), "AB");
  EXPECT_EQ(Byte(0x0490), 0xFF);

  // Pages 2-4 exist only with bit 2 of the model option byte.
  image.Main().SetByte(0x0420, 0xFB);
  EXPECT_FALSE(FindField(EditorModules(), image, id));
  EXPECT_TRUE(TableShown(FeatureTable(1), image));
  for (int page : {2, 3, 4}) EXPECT_FALSE(TableShown(FeatureTable(page), image)) << page;
}

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

TEST_F(Features, KeysShowTheirFunctionAndResetTheRecordOnAChange) {
  image.Main().SetByte(0x0291, 30);
  const std::string key6 = "key_assignment[6].function";
  const auto list1 = image.Main().Read(0x02F0, 8);
  image.Main().Fill(KeyGroupOffset(5), 8, 0x20);
  image.Main().Fill(0x619F, 3, 0x11);
  EXPECT_EQ(Shown(key6), "None");
  ASSERT_TRUE(CommitFieldChoice(Ref(key6), image, C('5', '2')).ok());
  EXPECT_EQ(Word(0x02E8), C('5', '2'));
  EXPECT_EQ(image.Main().Read(0x619F, 3), (std::vector<std::uint8_t>{0xFF, 0xFF, 0x00}));
  EXPECT_EQ(image.Main().Read(0x02F0, 8), list1) << "key 6 ends at 0x2EF";
  EXPECT_EQ(Byte(0x619E), 0xFF);
  EXPECT_EQ(Byte(0x61A2), 0xFF);
  image.Main().Fill(0x619F, 3, 0x11);
  ASSERT_TRUE(CommitFieldChoice(Ref(key6), image, C('5', '2')).ok());
  EXPECT_EQ(image.Main().Read(0x619F, 3), (std::vector<std::uint8_t>{0x11, 0x11, 0x11}))
      << "the same function keeps its parameters";
  // A level code or a switched-off facility is not offered: the key shows
  // what it holds and why it is not offered, never Off; its text stores nothing.
  EXPECT_EQ(CommitFieldChoice(Ref(key6), image, C('5', '1')).status, CommitStatus::Refused);
  image.Main().SetWord(0x02E8, C('5', '1'));
  EXPECT_EQ(Shown(key6), "Repeat Hold On (not offered on keys)");
  image.Main().SetWord(0x02E8, C('Z', 'Z'));
  EXPECT_EQ(Shown(key6), "0x5A5A (unknown function)");
  const auto before = AllBytes(image);
  ASSERT_TRUE(ApplyFieldText(Ref(key6), image, Shown(key6)).ok());
  EXPECT_EQ(AllBytes(image), before);
  ASSERT_TRUE(Type(key6, "Repeat Hold On/Off").ok());
  EXPECT_EQ(Word(0x02E8), C('5', '2'));
}
