#include <gtest/gtest.h>

#include <set>
#include <string>

#include "../editors/EditorTestSupport.h"
#include "fields/ToneCode.h"

using namespace zmp;

namespace {

class ToneCodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zmp::testing::UseProgramTexts();
    SetDecimalSeparator('.');
  }
  void TearDown() override { SetDecimalSeparator('.'); }
};

std::string Normalized(std::string t) {
  NormalizeToneText(t);
  return t;
}

}  // namespace

TEST_F(ToneCodeTest, EncodingOfQtAndDqtValues) {
  const std::pair<const char*, ToneCode> codes[] = {{"67.0", 0x029E},  {"250.3", 0x09C7}, {"D023N", 0x2813},
                                                    {"D023I", 0xA813}, {"D754N", 0x29EC}, {"D754I", 0xA9EC}};
  for (const auto& [text, code] : codes) {
    EXPECT_EQ(TextToToneCode(text), code) << text;
    EXPECT_EQ(ToneCodeToText(code), text);
  }
}

TEST_F(ToneCodeTest, OffIsTheBlankValueAndEmptyOrOffTextGivesIt) {
  EXPECT_EQ(ToneCodeToText(0xFFFF), "Off");
  EXPECT_EQ(TextToToneCode(""), kToneOff);
  EXPECT_EQ(TextToToneCode("Off"), kToneOff);
  EXPECT_EQ(ToneListText(0), "Off");
}

TEST_F(ToneCodeTest, QtTextIsTruncatedToTenthsAndLimited) {
  EXPECT_EQ(TextToToneCode("254.1"), 2541);  // not in the list, accepted
  EXPECT_EQ(TextToToneCode("300"), 2541);
  EXPECT_EQ(TextToToneCode("50"), 670);
  EXPECT_EQ(TextToToneCode("100"), 1000);
  EXPECT_EQ(TextToToneCode("100.09"), 1000);  // truncated, not rounded
  EXPECT_EQ(TextToToneCode("88,5"), 885);     // either separator
  EXPECT_EQ(TextToToneCode("99999999999999999999"), 2541);  // no overflow
  EXPECT_EQ(Normalized("300"), "254.1");
  EXPECT_EQ(Normalized("50"), "67.0");
  EXPECT_EQ(Normalized("123.45"), "123.4");
  EXPECT_EQ(Normalized(""), "");
}

TEST_F(ToneCodeTest, DqtTextIsNormalised) {
  // d23 typed shows D23; the missing digit is taken as 0.
  std::string typed;
  for (char c : std::string("d23")) typed.push_back(*ToneKeyFilter(c));
  EXPECT_EQ(typed, "D23");
  EXPECT_EQ(Normalized(typed), "D230N");
  EXPECT_EQ(TextToToneCode(typed), 0x2800 + 0230);
  EXPECT_EQ(Normalized("D089N"), "D077N");
  EXPECT_EQ(Normalized("D023"), "D023N");
  EXPECT_EQ(Normalized("D023X"), "D023N");
  EXPECT_EQ(Normalized("D023IN"), "D023I");  // cut after the 5th character
  EXPECT_EQ(Normalized("D"), "D000N");
  EXPECT_EQ(TextToToneCode("D089I"), 0xA800 + 077);
}

TEST_F(ToneCodeTest, DqtWithoutMarkerBitShowsLikeTheStoredForm) {
  EXPECT_EQ(ToneCodeToText(0x2013), ToneCodeToText(0x2813));
  EXPECT_EQ(ToneCodeToText(0xA013), "D023I");
}

TEST_F(ToneCodeTest, ListHas206ItemsInOrderAndEveryItemRoundTrips) {
  int n = 0;
  while (kToneTexts[n]) ++n;
  EXPECT_EQ(n, kToneArrayCount);
  EXPECT_EQ(n + 1, 206);
  EXPECT_EQ(ToneListText(206), "");
  std::set<ToneCode> codes;
  ToneCode previousQt = 0;
  for (int k = 1; k <= kToneArrayCount; ++k) {
    const std::string t = ToneListText(k);
    const ToneCode c = TextToToneCode(t);
    EXPECT_EQ(ToneCodeToText(c), t) << "list position " << k;
    EXPECT_EQ(ToneListPosition(t), k);
    codes.insert(c);
    if (k <= kQtToneCount) {
      EXPECT_GT(c, previousQt) << "QT tones ascend";
      previousQt = c;
      EXPECT_FALSE(IsDqt(c));
    } else {
      EXPECT_TRUE(IsDqt(c));
      EXPECT_EQ(c & 0x0800, 0x0800);
      EXPECT_EQ(c & 0x5600, 0) << "bits 14, 12, 10 and 9 are 0";
    }
  }
  EXPECT_EQ(codes.size(), static_cast<std::size_t>(kToneArrayCount)) << "no two items share a code";
  // The inverted group repeats the normal group with bit 15 set.
  for (int k = 0; k < kDqtCodeCount; ++k)
    EXPECT_EQ(TextToToneCode(ToneListText(40 + k)) | 0x8000, TextToToneCode(ToneListText(123 + k)));
}

TEST_F(ToneCodeTest, LocaleSeparatorIsShownAndBothAreRead) {
  SetDecimalSeparator(',');
  EXPECT_EQ(ToneListText(1), "67,0");
  EXPECT_EQ(ToneCodeToText(885), "88,5");
  EXPECT_EQ(TextToToneCode("67,0"), 670);
  EXPECT_EQ(TextToToneCode("67.0"), 670);
  EXPECT_EQ(Normalized("300"), "254,1");
  EXPECT_EQ(ToneKeyFilter('.'), ',');
}

TEST_F(ToneCodeTest, KeyFilterTakesOnlyToneCharacters) {
  EXPECT_EQ(ToneKeyFilter('d'), 'D');
  EXPECT_EQ(ToneKeyFilter('i'), 'I');
  EXPECT_EQ(ToneKeyFilter('n'), 'N');
  EXPECT_EQ(ToneKeyFilter(','), '.');
  EXPECT_EQ(ToneKeyFilter('7'), '7');
  for (char c : std::string("aAxX-+ */QqEe")) EXPECT_FALSE(ToneKeyFilter(c)) << c;
}
