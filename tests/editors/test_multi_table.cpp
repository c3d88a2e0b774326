// The multi tables on the field engine: the tone and number conversions, the
// pair rule (column 2 follows column 1) and the table number that is limited
// before any offset is computed from it.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "editors/EditorModules.h"
#include "editors/MultiTableFields.h"
#include "fields/FieldWalk.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

class MultiTable : public ::testing::Test {
 protected:
  void SetUp() override {
    UseProgramTexts();
    SetDecimalSeparator('.');
    SetModel(image, Vhf146E());
  }
  FieldRef Tone(int table, int row, int col) {
    const FieldTable& t = MultiToneTable(table);
    return {&t, &t.fields[static_cast<std::size_t>(col - 1)], row - 1};
  }
  FieldRef Number(int table, int row, int col) {
    const FieldTable& t = MultiNumberTable(table);
    return {&t, &t.fields[static_cast<std::size_t>(col - 1)], row - 1};
  }
  std::string Shown(const FieldRef& f) { return ShowField(f, image).text; }
  CommitResult Type(const FieldRef& f, std::string_view text) { return CommitFieldText(f, image, text); }
  std::uint16_t Word(std::size_t offset) { return image.Main().Word(offset); }

  ImageStore image;
};

TEST_F(MultiTable, TheToneGridsSecondColumnFollowsTheFirst) {
  // A blank image shows Off everywhere.
  EXPECT_EQ(Shown(Tone(1, 1, 1)), "Off");
  EXPECT_EQ(Shown(Tone(1, 1, 2)), "Off");
  // A tone in column 1 of an empty row fills column 2.
  ASSERT_TRUE(Type(Tone(2, 3, 1), "88.5").ok());
  EXPECT_EQ(Word(0x2840 + 4), 885);
  EXPECT_EQ(Word(0x2860 + 4), 885);
  // Column 2 set by the user stays when column 1 changes later.
  ASSERT_TRUE(Type(Tone(2, 3, 2), "D023").ok());
  EXPECT_EQ(Word(0x2860 + 4), 0x2813);
  ASSERT_TRUE(Type(Tone(2, 3, 1), "100").ok());
  EXPECT_EQ(Word(0x2840 + 4), 1000);
  EXPECT_EQ(Shown(Tone(2, 3, 2)), "D023N");
  // Clearing column 1 (empty text, five spaces or Off) clears column 2.
  for (const char* none : {"", "     ", "Off"}) {
    ASSERT_TRUE(Type(Tone(2, 3, 1), "67").ok());
    ASSERT_TRUE(Type(Tone(2, 3, 2), "D754I").ok());
    ASSERT_TRUE(Type(Tone(2, 3, 1), none).ok()) << none;
    EXPECT_EQ(Word(0x2840 + 4), 0xFFFF) << none;
    EXPECT_EQ(Word(0x2860 + 4), 0xFFFF) << none;
  }
  // Column 2 of a row whose column 1 is empty takes nothing.
  const auto before = AllBytes(image);
  const CommitResult r = Type(Tone(2, 3, 2), "88.5");
  EXPECT_EQ(r.status, CommitStatus::Refused);
  EXPECT_EQ(r.message.n, 612);
  EXPECT_EQ(AllBytes(image), before);
  EXPECT_TRUE(Type(Tone(2, 3, 2), "Off").ok()) << "none into none is no change";
  EXPECT_EQ(AllBytes(image), before);
  // A short DQT text is padded before it is normalised.
  ASSERT_TRUE(Type(Tone(2, 3, 1), "D").ok());
  EXPECT_EQ(Shown(Tone(2, 3, 1)), "D000N");
  ASSERT_TRUE(Type(Tone(2, 3, 1), "d7").ok());
  EXPECT_EQ(Shown(Tone(2, 3, 1)), "D700N");
}

TEST_F(MultiTable, TheNumberGridTakesOneToSixtyThreeAndEveryOtherValueIsNone) {
  const FieldRef n1 = Number(1, 1, 1), n2 = Number(1, 1, 2);
  // The blank 0xFFFF is none: shown empty, and column 2 refuses while column 1 holds it.
  EXPECT_EQ(Shown(n1), "");
  EXPECT_EQ(Type(n2, "5").status, CommitStatus::Refused);
  EXPECT_EQ(Word(0x3820), 0xFFFF);
  // Column 1 fills the empty column 2.
  ASSERT_TRUE(Type(n1, "0").ok());
  EXPECT_EQ(Word(0x3800), 1) << "0 stores 1";
  EXPECT_EQ(Word(0x3820), 1);
  ASSERT_TRUE(Type(n1, "64").ok());
  EXPECT_EQ(Word(0x3800), 63) << "64 stores 63";
  EXPECT_EQ(Word(0x3820), 1) << "a set column 2 stays";
  // Off, empty text and two spaces store 0 (none), and empty column 2 as well.
  for (const char* none : {"Off", "", "  "}) {
    ASSERT_TRUE(Type(n1, "7").ok());
    ASSERT_TRUE(Type(n2, "9").ok());
    ASSERT_TRUE(Type(n1, none).ok()) << none;
    EXPECT_EQ(Word(0x3800), 0) << none;
    EXPECT_EQ(Word(0x3820), 0) << none;
    EXPECT_EQ(Shown(n1), "Off");
  }
  EXPECT_EQ(Type(n2, "9").status, CommitStatus::Refused) << "0 is none too";
  // Every value outside 1-63 is none.
  image.Main().SetWord(0x3800, 64);
  EXPECT_EQ(Shown(n1), "");
  EXPECT_EQ(Type(n2, "9").status, CommitStatus::Refused);
  // A spin step of column 1 follows the same rule.
  image.Main().SetWord(0x3802, 0);
  image.Main().SetWord(0x3822, 0);
  ASSERT_TRUE(SpinField(Number(1, 2, 1), image, true).ok());
  EXPECT_EQ(Word(0x3802), 1);
  EXPECT_EQ(Word(0x3822), 1);
}

TEST_F(MultiTable, TheTableNumberIsLimitedBeforeAnyOffset) {
  EXPECT_EQ(LimitMultiTableNumber(16), 15);
  EXPECT_EQ(LimitMultiTableNumber(0), 1);
  EXPECT_EQ(LimitMultiTableNumber(-100000), 1);
  EXPECT_EQ(&MultiToneTable(16), &MultiToneTable(15));
  EXPECT_EQ(&MultiNumberTable(99), &MultiNumberTable(15));
  // Table 15 row 15 column 2 is the last word shown: 0x2BBC, never past 0x2BBF.
  auto loc = LocateField(Tone(16, 15, 2), image);
  ASSERT_TRUE(loc);
  EXPECT_EQ(loc->offset, 0x2BBCu);
  EXPECT_EQ(loc->length, 2u);
  loc = LocateField(Number(15, 15, 2), image);
  EXPECT_EQ(loc->offset, 0x3BBCu);
  EXPECT_EQ(LocateField(Tone(1, 1, 1), image)->offset, 0x2800u);
  EXPECT_EQ(MultiTableHeading(3), "Multi Table 3");
  EXPECT_EQ(MultiTableHeading(16), "Multi Table 15");
  // The command-line keys name each cell by table, row and column.
  const auto cell = FindField(EditorModules(), image, "multi_table[15].table_15.tone_2");
  ASSERT_TRUE(cell);
  EXPECT_EQ(LocateField(cell->ref, image)->offset, 0x2BBCu);
  const auto number = FindField(EditorModules(), image, "multi_table[1].table_2.number_1");
  ASSERT_TRUE(number);
  EXPECT_EQ(LocateField(number->ref, image)->offset, 0x3840u);
  EXPECT_FALSE(FindField(EditorModules(), image, "multi_table[16].table_1.tone_1"));
  EXPECT_FALSE(FindField(EditorModules(), image, "multi_table[1].table_16.tone_1"));
  EXPECT_TRUE(FindField(EditorModules(), image, "test_frequency[16].frequency_2"));
}

}  // namespace
