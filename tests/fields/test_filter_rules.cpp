#include <gtest/gtest.h>

#include <string>

#include "fields/FilterRules.h"

using namespace zmp;

namespace {

// Types text into an empty edit as the edit would: each character through
// the filter at the end of the text. Refused characters are dropped.
std::string Typed(std::uint8_t mode, const std::string& keys, FilterContext base = {}) {
  std::string text;
  for (char c : keys) {
    FilterContext ctx = base;
    ctx.text = text;
    ctx.selectionStart = text.size();
    ctx.selectionLength = 0;
    if (auto r = FilterChar(mode, c, ctx)) {
      if (*r == '\b') {
        if (!text.empty()) text.pop_back();
      } else {
        text.push_back(*r);
      }
    }
  }
  return text;
}

}  // namespace

TEST(FilterRules, ModesZeroOneAndTwo) {
  EXPECT_EQ(Typed(filter::kNone, "ab1"), "");
  EXPECT_FALSE(FilterChar(filter::kNone, '\b', {}));
  EXPECT_EQ(Typed(filter::kAll, "a B!~"), "a B!~");
  EXPECT_EQ(Typed(filter::kDigits, "1a2.3-"), "123");
  EXPECT_EQ(Typed(filter::kDigits, "12\b3"), "13");
}

TEST(FilterRules, FrequencyTakesOneSeparatorUnlessTheSelectionCoversIt) {
  EXPECT_EQ(Typed(filter::kFrequency, "146.5.2"), "146.52");
  EXPECT_EQ(Typed(filter::kFrequency, "146,5,2"), "146,52");
  EXPECT_EQ(Typed(filter::kFrequency, "146,5.2"), "146,52");
  EXPECT_EQ(Typed(filter::kFrequency, "1a4-6 "), "146");
  // "146.5" with the "." selected: a new separator may replace it.
  FilterContext ctx;
  ctx.text = "146.5";
  ctx.selectionStart = 3;
  ctx.selectionLength = 1;
  EXPECT_EQ(FilterChar(filter::kFrequency, ',', ctx), ',');
  ctx.selectionStart = 4;  // selection on the "5": the "." stays
  EXPECT_FALSE(FilterChar(filter::kFrequency, ',', ctx));
  ctx.selectionStart = 0;
  ctx.selectionLength = 5;  // everything selected
  EXPECT_EQ(FilterChar(filter::kFrequency, '.', ctx), '.');
}

TEST(FilterRules, LowercaseBecomesUppercaseInModes5_6_11_13_14) {
  EXPECT_EQ(Typed(filter::kDtmf, "1abcde*#"), "1ABCD*#");
  EXPECT_EQ(Typed(filter::kHex, "09afgAF"), "09AFAF");
  EXPECT_EQ(Typed(filter::kCw, "cq de"), "CQ DE");
  EXPECT_EQ(Typed(filter::kFiveTone, "1aeqf"), "1AEQ");
  EXPECT_EQ(Typed(filter::kDigitsAE, "abcdef9"), "ABCDE9");
}

TEST(FilterRules, NameModes) {
  EXPECT_EQ(Typed(filter::kName, "Ab 1#$%()*+,-/=[\\]_|@"), "Ab 1#$%()*+,-/=[\\]_|@");
  EXPECT_EQ(Typed(filter::kName, ".!?\"'~^&"), "");
  EXPECT_EQ(Typed(filter::kNameDot, "a.b,c"), "a.bc");
  EXPECT_EQ(Typed(filter::kAlnum, "aZ9 -_"), "aZ9");
}

TEST(FilterRules, CwSpaceNeverStandsNextToAnotherSpace) {
  EXPECT_EQ(Typed(filter::kCw, "A  B"), "A B");
  EXPECT_EQ(Typed(filter::kCw, "\"'()+,-./:=?"), "\"'()+,-./:=?");
  EXPECT_EQ(Typed(filter::kCw, "!;#"), "");
  FilterContext ctx;
  ctx.text = "A B";
  ctx.selectionStart = 1;  // before the space
  EXPECT_FALSE(FilterChar(filter::kCw, ' ', ctx));
  ctx.selectionLength = 1;  // replacing the space with a space is fine
  EXPECT_EQ(FilterChar(filter::kCw, ' ', ctx), ' ');
}

TEST(FilterRules, DigitModesWithDashesAndLimits) {
  EXPECT_EQ(Typed(filter::kDigitsDash, "1-2a3"), "1-23");
  EXPECT_EQ(Typed(filter::kDigits05Dash, "0123456789-"), "012345-");
  FilterContext ctx;
  ctx.maxLength = 3;
  EXPECT_EQ(Typed(filter::kDigitsA, "1a2A3", ctx), "1A2");
  EXPECT_EQ(Typed(filter::kFiveTone, "12345678Q"), "12345678");  // Q only within 8
  EXPECT_EQ(Typed(filter::kFiveTone, "1234567Q9"), "1234567Q9");
}

TEST(FilterRules, OwnerListsAndOwnerRules) {
  FilterContext ctx;
  ctx.ownerList = "XY1";
  EXPECT_EQ(Typed(filter::kOwnerList, "XYZ123", ctx), "XY1");
  EXPECT_EQ(Typed(filter::kOwnerList2, "1", ctx), "1");
  ctx.ownerRule = [](char c, const FilterContext&) -> std::optional<char> {
    if (c == 'k') return 'K';
    return std::nullopt;
  };
  EXPECT_EQ(Typed(filter::kOwnerRule, "kkx", ctx), "KK");
  EXPECT_EQ(Typed(filter::kOwnerRule, "k"), "");  // without a rule nothing is taken
  EXPECT_EQ(Typed(99, "abc"), "");               // unknown mode takes nothing
}

TEST(FilterRules, InsertedTextIsAllOrNothing) {
  FilterContext ctx;
  ctx.text = "146";
  ctx.selectionStart = 3;
  EXPECT_EQ(FilterInsert(filter::kFrequency, ".5", ctx), "146.5");
  EXPECT_FALSE(FilterInsert(filter::kFrequency, ".5.", ctx));
  EXPECT_FALSE(FilterInsert(filter::kFrequency, "abc", ctx));
  EXPECT_EQ(FilterInsert(filter::kHex, "ff", ctx), "146FF");
  ctx.selectionStart = 0;
  ctx.selectionLength = 3;
  EXPECT_EQ(FilterInsert(filter::kDigits, "9", ctx), "9");
}
