// The 5-tone and vendor tone declarations: what needs code. The auto reset
// timer's Off kept as 0xFFFF by the form's normalisation alone, and the vendor
// tones' two limit formulas and spin rule. Shown values, references that name
// nothing and the separation warning are cases/five_tone.txt.
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
  std::uint16_t Word(std::size_t at) const { return image.Main().Word(at); }
  ImageStore image;
};

double Typed(long tenths, double factor) { return 147456000.0 / (static_cast<double>(tenths) * factor + 0.005); }
double Spun(long tenths, double factor) { return 147456000.0 / ((static_cast<double>(tenths) / 10) * factor * 10); }

}  // namespace

TEST_F(FiveTone, AutoResetOffIsKeptAsBlankByTheFormsNormalisationOnly) {
  const std::string key = "five_tone.decode.auto_reset_timer";
  image.Main().SetWord(fivetone::kAutoResetTimer, 0);
  image.Main().SetWord(fivetone::kDisableRepeatTimer, 0xFFFF);
  EXPECT_TRUE(NormaliseField(KeyRef(image, key), image));
  EXPECT_EQ(Word(fivetone::kAutoResetTimer), 0xFFFF);
  EXPECT_FALSE(NormaliseField(KeyRef(image, "five_tone.decode.disable_repeat_timer"), image)) << "only where it is declared";
}

TEST_F(FiveTone, VendorToneLimitsByTheTypedAndTheSpunFormula) {
  const FieldRef tone0 = KeyRef(image, "vendor_tone.tone_0");
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

  // Where a spin and typing stop and wrap is cases/five_tone.txt; the limits
  // of a wrapped spin and of a limited text follow their own formulas.
  image.Main().SetWord(vendortone::kFrequencies, 30000);
  ASSERT_TRUE(SpinField(tone0, image, true).ok());
  EXPECT_EQ(limits(0), (ToneLimits{static_cast<std::uint16_t>(Spun(3000, 0.975)),
                                   static_cast<std::uint16_t>(Spun(3000, 1.025))}));
  ASSERT_TRUE(CommitFieldText(tone0, image, "5000").ok());
  EXPECT_EQ(limits(0), TypedToneLimits(30000));
}

TEST_F(FiveTone, TheVendorAlphabetOfANewImageIsTypedFormulaExactAndWellApart) {
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
