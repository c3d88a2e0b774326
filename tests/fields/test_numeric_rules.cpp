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
