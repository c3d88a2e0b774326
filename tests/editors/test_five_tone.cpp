// The 5-tone and vendor tone declarations: what the field suite cannot know.
// References that name nothing are shown as nothing and never rewritten, the
// auto reset timer's Off is kept as 0xFFFF by the form alone, and the vendor
// tones' two limit formulas, spin rule and separation warning.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "data/NewImage.h"
#include "editors/EditorModules.h"
#include "editors/FiveToneFields.h"
#include "editors/FiveToneTable.h"
#include "editors/VendorToneFields.h"
#include "fields/FieldWalk.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

class FiveTone : public ::testing::Test {
 protected:
  void SetUp() override {
    UseProgramTexts();
    image.MakeBlank();
    SetModel(image, Vhf146E());
    ApplyNewImageDefaults(image, false, false);
  }
  FieldRef Ref(const std::string& key) {
    const auto f = FindField(EditorModules(), image, key);
    EXPECT_TRUE(f) << key;
    return f ? f->ref : FieldRef{};
  }
  FieldView Show(const std::string& key) { return ShowField(Ref(key), image); }
  CommitResult Type(const std::string& key, std::string_view text) { return CommitFieldText(Ref(key), image, text); }
  std::uint16_t Word(std::size_t at) const { return image.Main().Word(at); }
  void UseEntry(FiveTonePart part, int n) {
    image.Main().SetByte((part == FiveTonePart::Encode ? kEncodeTableStart : kDecodeTableStart) +
                             kFiveToneEntrySize * static_cast<std::size_t>(n),
                         '1');
  }
  ImageStore image;
};

double Typed(long tenths, double factor) { return 147456000.0 / (static_cast<double>(tenths) * factor + 0.005); }
double Spun(long tenths, double factor) { return 147456000.0 / ((static_cast<double>(tenths) / 10) * factor * 10); }

}  // namespace

TEST_F(FiveTone, TablesListsAndReferencesShowWhatTheBytesSayAndNothingElse) {
  EXPECT_EQ(FiveToneTable(1).fields.size(), 20u) << "the decode tab has 20 rows";
  auto m = image.Main();
  m.SetByte(fivetone::kGroupTone, 0x41);
  m.SetByte(fivetone::kMuteMonitorTone, 0x43);
  EXPECT_EQ(Show("five_tone.system.group_tone").text, "A");
  EXPECT_EQ(Show("five_tone.decode.mute_monitor_tone").text, "C");
  m.SetByte(fivetone::kGroupDigits, 0xFE);  // digit 1 selectable
  EXPECT_TRUE(Show("five_tone.system.group_digit_1").checked);
  EXPECT_FALSE(Show("five_tone.system.group_digit_2").checked);

  // Decode entries 1 and 6 and encode entry 2 are in use; the lists offer
  // none first, then those entries counted from 1.
  UseEntry(FiveTonePart::Decode, 0);
  UseEntry(FiveTonePart::Decode, 5);
  UseEntry(FiveTonePart::Encode, 1);
  const auto decode = FieldChoices(Ref("five_tone.decode.repeater_open"), image);
  ASSERT_EQ(decode.size(), 3u);
  EXPECT_EQ(decode[0], (ShownChoice{0xFF, "Off"}));
  EXPECT_EQ(decode[2], (ShownChoice{5, "6"}));
  EXPECT_EQ(FieldChoices(Ref("five_tone.call_keys.call_1_encode_code"), image)[1], (ShownChoice{129, "2"}));
  ASSERT_TRUE(Type("five_tone.decode.decode_code", "6").ok());
  EXPECT_EQ(m.Byte(fivetone::kDecodeCode), 5);

  // An entry taken out of use, a byte past the decode part, a byte that is
  // no reference at all: nothing is selected, the text says what is stored
  // and why it names nothing, and nothing is rewritten.
  m.SetByte(kDecodeTableStart + 5 * kFiveToneEntrySize, 0xFF);
  m.SetByte(fivetone::kRepeaterOpen, 0x50);
  m.SetByte(fivetone::kRepeaterClose, 0xFE);
  m.SetByte(fivetone::kTranspondCode, 0x05);  // a decode number where an encode one belongs
  const auto before = AllBytes(image);
  const std::pair<const char*, const char*> shown[] = {{"five_tone.decode.decode_code", "6 (entry not in use)"},
                                                       {"five_tone.decode.repeater_open", "80 (no such entry)"},
                                                       {"five_tone.decode.repeater_close", "254 (no such entry)"},
                                                       {"five_tone.decode.transpond_code", "5 (no such entry)"}};
  for (const auto& [key, text] : shown) {
    const FieldView v = Show(key);
    EXPECT_EQ(v.choice, -1) << key;
    EXPECT_EQ(v.text, text) << key;
    EXPECT_TRUE(ApplyFieldText(Ref(key), image, v.text).ok()) << key;
  }
  EXPECT_EQ(AllBytes(image), before);
  EXPECT_EQ(Type("five_tone.decode.repeater_open", "7").status, CommitStatus::Refused) << "entry 7 is not in use";
  EXPECT_EQ(AllBytes(image), before);
}

TEST_F(FiveTone, AutoResetOffIsKeptAsBlankByTheFormsNormalisationOnly) {
  const std::string key = "five_tone.decode.auto_reset_timer";
  auto m = image.Main();
  m.SetWord(fivetone::kAutoResetTimer, 0);
  m.SetWord(fivetone::kDisableRepeatTimer, 0xFFFF);
  const auto before = AllBytes(image);
  EXPECT_EQ(Show(key).text, "Off");
  EXPECT_EQ(Show("five_tone.decode.disable_repeat_timer").text, "Off") << "0xFFFF reads as 0";
  ForEachField(EditorModules(), image, [&](const FieldInstance& f) { ShowField(f.ref, image); });
  EXPECT_EQ(AllBytes(image), before) << "showing, as the printout and the tool do, rewrites nothing";

  EXPECT_TRUE(NormaliseField(Ref(key), image));
  EXPECT_EQ(Word(fivetone::kAutoResetTimer), 0xFFFF);
  EXPECT_FALSE(NormaliseField(Ref("five_tone.decode.disable_repeat_timer"), image)) << "only where it is declared";

  ASSERT_TRUE(Type(key, "250").ok());
  EXPECT_EQ(Word(fivetone::kAutoResetTimer), 250);
  ASSERT_TRUE(Type(key, "Off").ok());
  EXPECT_EQ(Word(fivetone::kAutoResetTimer), 0xFFFF) << "Off typed is stored as the repeater keeps it";
  ASSERT_TRUE(Type("five_tone.decode.disable_repeat_timer", "0").ok());
  EXPECT_EQ(Word(fivetone::kDisableRepeatTimer), 0xFFFF) << "0 over a blank that reads 0 leaves the blank";
}

TEST_F(FiveTone, VendorToneLimitsByTheTypedAndTheSpunFormula) {
  const FieldRef tone0 = Ref("vendor_tone.tone_0");
  const auto limits = [&](int tone) {
    return ToneLimits{Word(vendortone::kLimits + 4u * tone), Word(vendortone::kLimits + 4u * tone + 2)};
  };
  ASSERT_TRUE(CommitFieldText(tone0, image, "1000").ok());
  EXPECT_EQ(Word(vendortone::kFrequencies), 0x2710);
  EXPECT_EQ(limits(0), (ToneLimits{15123, 14385}));

  // 305 Hz typed and 305 Hz reached by a spin step: each formula's own counts.
  const ToneLimits typed{static_cast<std::uint16_t>(Typed(3050, 0.975)),
                         static_cast<std::uint16_t>(Typed(3050, 1.025))};
  const ToneLimits spun{static_cast<std::uint16_t>(Spun(3050, 0.975)), static_cast<std::uint16_t>(Spun(3050, 1.025))};
  EXPECT_NE(typed, spun) << "the formulas differ at 305 Hz";
  ASSERT_TRUE(CommitFieldText(tone0, image, "305").ok());
  EXPECT_EQ(limits(0), typed);
  ASSERT_TRUE(CommitFieldText(tone0, image, "304").ok());
  ASSERT_TRUE(SpinField(tone0, image, true).ok());
  EXPECT_EQ(Word(vendortone::kFrequencies), 3050);
  EXPECT_EQ(limits(0), spun);

  // A spin moves 10 tenths, is limited at an end and wraps from it as every
  // spin does; outside the range a spin starts at an end, typing is limited.
  image.Main().SetWord(vendortone::kFrequencies, 29995);
  EXPECT_EQ(ShowField(tone0, image).text, "2999");
  ASSERT_TRUE(SpinField(tone0, image, true).ok());
  EXPECT_EQ(Word(vendortone::kFrequencies), 30000);
  ASSERT_TRUE(SpinField(tone0, image, true).ok());
  EXPECT_EQ(Word(vendortone::kFrequencies), 3000) << "up from 3000 Hz gives 300";
  EXPECT_EQ(limits(0), (ToneLimits{static_cast<std::uint16_t>(Spun(3000, 0.975)),
                                   static_cast<std::uint16_t>(Spun(3000, 1.025))}));
  ASSERT_TRUE(SpinField(tone0, image, false).ok());
  EXPECT_EQ(Word(vendortone::kFrequencies), 30000) << "down from 300 Hz gives 3000";
  image.Main().SetWord(vendortone::kFrequencies, 0xFFFF);
  EXPECT_EQ(ShowField(tone0, image).text, "") << "6553 Hz lies above 3000";
  ASSERT_TRUE(SpinField(tone0, image, false).ok());
  EXPECT_EQ(Word(vendortone::kFrequencies), 30000);
  ASSERT_TRUE(CommitFieldText(tone0, image, "12").ok());
  EXPECT_EQ(Word(vendortone::kFrequencies), 3000);
  ASSERT_TRUE(CommitFieldText(tone0, image, "5000").ok());
  EXPECT_EQ(Word(vendortone::kFrequencies), 30000);
  EXPECT_EQ(limits(0), TypedToneLimits(30000));
}

TEST_F(FiveTone, VendorToneSeparationWarnsAndKeepsTheValue) {
  auto m = image.Main();
  for (int t = 0; t < vendortone::kToneCount; ++t) m.SetWord(vendortone::kFrequencies + 2u * t, 0xFFFF);
  ASSERT_TRUE(CommitFieldText(Ref("vendor_tone.tone_0"), image, "1000").ok());
  const CommitResult close = CommitFieldText(Ref("vendor_tone.tone_1"), image, "1050");
  ASSERT_TRUE(close.ok());
  EXPECT_EQ(close.warning, "Tone 1 lies within 6 % of Tone 0: the decoder may not tell them apart. The frequency "
                           "is kept.");
  EXPECT_EQ(Word(vendortone::kFrequencies + 2), 10500) << "warned, not refused";
  const CommitResult apart = CommitFieldText(Ref("vendor_tone.tone_1"), image, "1070");
  EXPECT_TRUE(apart.ok());
  EXPECT_EQ(apart.warning, "");
  EXPECT_EQ(SpinField(Ref("vendor_tone.tone_1"), image, false).warning, "") << "a spin step does not check";

  // The alphabet of a new image is typed-formula exact and well apart.
  ImageStore fresh;
  fresh.MakeBlank();
  SetModel(fresh, Uhf450K());
  ApplyNewImageDefaults(fresh, false, false);
  for (int t = 0; t < vendortone::kToneCount; ++t) {
    const long f = fresh.Main().Word(vendortone::kFrequencies + 2u * t);
    EXPECT_EQ(CloseTone(fresh, t), -1) << t;
    EXPECT_EQ(fresh.Main().Word(vendortone::kLimits + 4u * t), TypedToneLimits(f).lower) << t;
  }
}
