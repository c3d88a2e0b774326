// The multi tables' table number, limited before any offset is computed from
// it. The tone and number cells and the pair rule are cases/multi_table.txt.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "editors/MultiTableFields.h"

using namespace zmp;
using namespace zmp::testing;

TEST(MultiTable, TheTableNumberIsLimitedBeforeAnyOffset) {
  UseProgramTexts();
  EXPECT_EQ(LimitMultiTableNumber(16), 15);
  EXPECT_EQ(LimitMultiTableNumber(0), 1);
  EXPECT_EQ(LimitMultiTableNumber(-100000), 1);
  EXPECT_EQ(&MultiToneTable(16), &MultiToneTable(15));
  EXPECT_EQ(&MultiNumberTable(99), &MultiNumberTable(15));
  EXPECT_EQ(MultiTableHeading(3), "Multi Table 3");
  EXPECT_EQ(MultiTableHeading(16), "Multi Table 15");
  // Table 15 row 15 column 2 is the last word shown, never past 0x2BBF.
  ImageStore image;
  const FieldTable& t = MultiToneTable(16);
  const auto loc = LocateField({&t, &t.fields[1], 14}, image);
  ASSERT_TRUE(loc);
  EXPECT_EQ(loc->offset + loc->length, 0x2BBEu);
}
