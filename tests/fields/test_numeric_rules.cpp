#include <gtest/gtest.h>

#include "fields/NumericRules.h"

using namespace zmp;

TEST(SpinRule, StepsWithinTheRangeAndWrapsAtTheEnds) {
  const RangeRecord r{0, 100, 10};
  EXPECT_EQ(SpinStep(50, r, true), 60);
  EXPECT_EQ(SpinStep(100, r, true), 0);   // wraps from the maximum to the minimum
  EXPECT_EQ(SpinStep(0, r, false), 100);  // and back
  EXPECT_EQ(SpinStep(10, r, false), 0);
  EXPECT_EQ(SpinStep(95, r, true), 100);  // never past the maximum
  EXPECT_EQ(SpinStep(5, r, false), 0);
  EXPECT_EQ(SpinStep(-7, r, true), 0);    // outside the range: to the ends
  EXPECT_EQ(SpinStep(250, r, false), 100);
  EXPECT_EQ(SpinStep(250, r, true), 0);
}

TEST(NumericCommit, EmptyStoresTheMinimumOthersAreLimitedAndTruncated) {
  const RangeRecord r{5, 30, 1};
  EXPECT_EQ(CommitNumber("", r), 5);
  EXPECT_EQ(CommitNumber("  ", r), 5);
  EXPECT_EQ(CommitNumber("12", r), 12);
  EXPECT_EQ(CommitNumber("99", r), 30);
  EXPECT_EQ(CommitNumber("2", r), 5);
  EXPECT_EQ(CommitNumber("-3", r), 5);
  EXPECT_EQ(CommitNumber(" 7 ", r), 7);
  EXPECT_EQ(CommitNumber("99999999999999999999999", r), 30);
  const RangeRecord s{0, 2550, 10};
  EXPECT_EQ(CommitNumber("605", s), 600);
  EXPECT_EQ(CommitNumber("9999", s), 2550);
}

TEST(NumericCommit, TextThatIsNoWholeNumberIsRefused) {
  const RangeRecord r{0, 63, 1};
  EXPECT_FALSE(CommitNumber("abc", r));
  EXPECT_FALSE(CommitNumber("1a", r));
  EXPECT_FALSE(CommitNumber("1.5", r));
  EXPECT_FALSE(CommitNumber("-", r));
}
