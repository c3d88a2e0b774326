// Tab-separated text pasted into the grids through their sources: the
// channel grid, the multi tables and the test channels.
#include <gtest/gtest.h>

#include "ChannelPlan.h"
#include "EditorTestSupport.h"
#include "data/NewImage.h"
#include "editors/ChannelGridSource.h"
#include "editors/CsvTable.h"
#include "editors/EditorModules.h"
#include "editors/FieldGridSource.h"
#include "editors/GridTextPaste.h"
#include "editors/MultiTableFields.h"
#include "editors/TestFreqFields.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

class GridPaste : public ::testing::Test {
 protected:
  void SetUp() override {
    UseProgramTexts();
    SetDecimalSeparator('.');
    InstallEditorModules();
  }
  ImageStore NewImage(const ModelRecord& model) {
    ImageStore s;
    EXPECT_TRUE(MakeStartupImage(s, model));
    return s;
  }
};

TEST_F(GridPaste, TextIsSplitIntoLinesAndCells) {
  auto t = SplitTableText("a\tb\r\nc\t\td\n");
  ASSERT_TRUE(t);
  EXPECT_EQ(*t, (TextTable{{"a", "b"}, {"c", "", "d"}}));
  t = SplitTableText("one");
  ASSERT_TRUE(t);
  EXPECT_EQ(*t, (TextTable{{"one"}}));
  t = SplitTableText("x\n\ny");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->size(), 3u) << "an empty line in between is an empty row";
  for (const char* notATable : {"", "\n", "  \r\n \n", "\t\n", "ab\x01" "cd"})
    EXPECT_FALSE(SplitTableText(notATable)) << notATable;
  EXPECT_FALSE(SplitTableText(std::string_view("a\0b", 3)));

  // CSV as spreadsheets write it: quoted cells hold commas, quotes and line
  // breaks, and what is written reads back the same.
  const CsvRows rows{{"CH", "Name"}, {"1", "A,"}, {"2", "say \"hi\""}, {"3", "two\nlines"}, {"4", " x"}, {"", ""}};
  const std::string csv = WriteCsv(rows);
  EXPECT_EQ(csv, "CH,Name\r\n1,\"A,\"\r\n2,\"say \"\"hi\"\"\"\r\n3,\"two\nlines\"\r\n4,\" x\"\r\n,\r\n");
  CsvParse parsed = ParseCsv(csv);
  ASSERT_TRUE(parsed.ok());
  EXPECT_EQ(parsed.rows, rows);
  parsed = ParseCsv("\xEF\xBB\xBF" "a,b\nc");
  EXPECT_EQ(parsed.rows, (CsvRows{{"a", "b"}, {"c"}})) << "a byte order mark is skipped, a last line may end without";
  for (auto [text, fault, line] : {std::tuple{"a\nb,\"c\nd", CsvFault::QuoteNotClosed, 2u},
                                   std::tuple{"a\n\"b\"c", CsvFault::TextAfterQuote, 2u},
                                   std::tuple{"a,b\"c", CsvFault::QuoteInCell, 1u},
                                   std::tuple{"", CsvFault::Empty, 1u}}) {
    parsed = ParseCsv(text);
    EXPECT_EQ(parsed.fault, fault) << text;
    EXPECT_EQ(parsed.line, line) << text;
    EXPECT_TRUE(parsed.rows.empty());
  }
  EXPECT_EQ(ParseCsv(std::string_view("a\0", 2)).fault, CsvFault::NulByte);
}

TEST_F(GridPaste, ASpreadsheetChannelPlanStoresExactlyWhatTypingStores) {
  ImageStore typed = NewImage(Vhf146E());
  {
    ChannelGridSource grid(typed);
    ASSERT_TRUE(grid.FullLayout());
    TypeChannelPlan(grid);
    ASSERT_EQ(grid.Store().ExistingCount(), 30);
  }
  // Rows copied from a spreadsheet, pasted at the first cell.
  ImageStore pasted = NewImage(Vhf146E());
  ChannelGridSource grid(pasted);
  TextPasteOutcome o = PasteTableText(grid, 0, 1, ChannelPlanSpreadsheet());
  ASSERT_TRUE(o.table);
  EXPECT_LT(o.refusedRow, 0) << RefusalText(grid, o);
  EXPECT_EQ(o.rowsStored, 30);
  EXPECT_EQ(AllBytes(pasted), AllBytes(typed));
  // "to Clip(w/Title)" text of the typed grid: title and number column recognised.
  ImageStore fromClip = NewImage(Vhf146E());
  ChannelGridSource clipGrid(fromClip);
  o = PasteTableText(clipGrid, 0, 0, ChannelPlanText(typed));
  EXPECT_LT(o.refusedRow, 0) << RefusalText(clipGrid, o);
  EXPECT_EQ(AllBytes(fromClip), AllBytes(typed));
  // Without the title, the number column is still recognised, from any cell of the row.
  ImageStore noTitle = NewImage(Vhf146E());
  ChannelGridSource noTitleGrid(noTitle);
  ChannelGridSource typedGrid(typed);
  o = PasteTableText(noTitleGrid, 0, 4, GridClipText(typedGrid, 0, 29, false));
  EXPECT_EQ(AllBytes(noTitle), AllBytes(typed));
  // A title row names the columns it fills, in any order, from any cell; the
  // columns it leaves out keep what they hold.
  o = PasteTableText(noTitleGrid, 5, 3, "Name\tCH\tRX Freq.\nN1\t9\t146.7\nN2\t\t\n");
  EXPECT_LT(o.refusedRow, 0) << RefusalText(noTitleGrid, o);
  EXPECT_EQ(noTitleGrid.CellText(5, 9), "N1");
  EXPECT_EQ(noTitleGrid.CellText(5, 1), "146.700000");
  EXPECT_EQ(noTitleGrid.CellText(5, 2), typedGrid.CellText(5, 2)) << "TX is not named: kept";
  EXPECT_EQ(noTitleGrid.CellText(5, 3), typedGrid.CellText(5, 3));
  EXPECT_FALSE(noTitleGrid.Store().Exists(6)) << "an empty RX deletes the channel, as typed";
  // Pasted again over itself: every cell already shows its text, nothing changes.
  const auto before = AllBytes(typed);
  o = PasteTableText(typedGrid, 0, 1, ChannelPlanSpreadsheet());
  EXPECT_LT(o.refusedRow, 0);
  EXPECT_EQ(AllBytes(typed), before);
}

TEST_F(GridPaste, ARefusedCellStopsThePasteThereWithItsRowAndColumn) {
  ImageStore image = NewImage(Vhf146E());
  ChannelGridSource grid(image);
  auto rows = ChannelPlanRows();
  rows[4][0] = "200";  // row 5: outside the band
  const TextPasteOutcome o = PasteTableText(grid, 0, 1, ChannelPlanSpreadsheet(rows));
  EXPECT_EQ(o.refusedRow, 4);
  EXPECT_EQ(o.refusedColumn, 1);
  EXPECT_EQ(o.refusal.n, 656);
  EXPECT_EQ(o.rowsStored, 4);
  EXPECT_EQ(RefusalText(grid, o), "Row 5, RX Freq.: " + Tx(656_txt));
  for (int ch = 0; ch < 4; ++ch) EXPECT_TRUE(grid.Store().Exists(ch)) << ch;
  EXPECT_EQ(grid.Store().ExistingCount(), 4);
  EXPECT_EQ(grid.CellText(3, 9), "C3");
  // A refusal in the middle of a row keeps the row's cells before it.
  ImageStore other = NewImage(Vhf146E());
  ChannelGridSource otherGrid(other);
  const TextPasteOutcome mid = PasteTableText(otherGrid, 0, 1, "146.5\t146.6\tNoSuchType\tAnalog");
  EXPECT_EQ(mid.refusedColumn, 3);
  EXPECT_EQ(mid.refusal.n, 347) << "the list's own entries, by name";
  EXPECT_EQ(otherGrid.CellText(0, 2), "146.600000");
}

TEST_F(GridPaste, BadInputIsDroppedOrRefusedWithAClearOutcome) {
  ImageStore image = NewImage(Vhf146E());
  ChannelGridSource grid(image);
  const auto before = AllBytes(image);
  EXPECT_FALSE(PasteTableText(grid, 0, 1, "\x07\x08").table);
  EXPECT_FALSE(PasteTableText(grid, 0, 1, "   \n").table);
  EXPECT_EQ(AllBytes(image), before);
  // A line with more cells than the grid: the extra cells are dropped.
  TextPasteOutcome o = PasteTableText(grid, 0, 1, "146.1");
  o = PasteTableText(grid, 0, 9, "AB\tx\ty");
  EXPECT_TRUE(o.cellsBeyond);
  EXPECT_EQ(grid.CellText(0, 9), "AB");
  EXPECT_EQ(PasteNotes(o), Tx(617_txt));
  // A block running past the last row stops at the last row.
  o = PasteTableText(grid, 28, 1, "146.1\n146.2\n146.3\n146.4");
  EXPECT_EQ(o.rowsStored, 2);
  EXPECT_EQ(o.rowsBelow, 2);
  EXPECT_EQ(grid.CellText(29, 1), "146.200000");
  EXPECT_NE(PasteNotes(o).find("2 rows"), std::string::npos) << PasteNotes(o);
  // Text that could not be typed into the cell is refused, and a text that is
  // no frequency as typed text is.
  const auto kept = AllBytes(image);
  o = PasteTableText(grid, 2, 1, "hello");
  EXPECT_EQ(o.refusedRow, 2);
  EXPECT_EQ(o.refusal.n, 351);
  o = PasteTableText(grid, 2, 1, "0");
  EXPECT_EQ(o.refusal, MessageOf(StoreStatus::NotAFrequency));
  EXPECT_EQ(AllBytes(image), kept);
}

TEST_F(GridPaste, MultiTablesAndTestChannelsTakeTextThroughTheirRules) {
  ImageStore image = NewImage(Uhf480K());
  FieldGridSource tones(image, MultiToneTable(4));
  // Column 2 follows column 1 as typed; a title row is skipped.
  TextPasteOutcome o =
      PasteTableText(tones, 0, 1, "No.\tQT/DQT 1\tQT/DQT 2\n1\t88.5\n2\tD023\tD754I\n3\t100\t\n");
  EXPECT_LT(o.refusedRow, 0) << RefusalText(tones, o);
  EXPECT_EQ(image.Main().Word(0x28C0), 885);
  EXPECT_EQ(image.Main().Word(0x28E0), 885) << "column 2 followed";
  EXPECT_EQ(tones.CellText(1, 1), "D023N");
  EXPECT_EQ(tones.CellText(1, 2), "D754I");
  EXPECT_EQ(tones.CellText(2, 2), "Off") << "an empty cell is typed as empty text: none";
  // Column 2 of an empty row stops the paste with the pair rule's message.
  o = PasteTableText(tones, 5, 1, "Off\t100.0\n67.0\t67.0");
  EXPECT_EQ(o.refusedRow, 5);
  EXPECT_EQ(o.refusedColumn, 2);
  EXPECT_EQ(o.refusal.n, 612);
  EXPECT_EQ(tones.CellText(6, 1), "Off") << "nothing after the refusal";
  // Numbers: limited like typed ones.
  FieldGridSource numbers(image, MultiNumberTable(1));
  o = PasteTableText(numbers, 0, 1, "0\n64\t5\nOff");
  EXPECT_EQ(image.Main().Word(0x3800), 1);
  EXPECT_EQ(image.Main().Word(0x3802), 63);
  EXPECT_EQ(image.Main().Word(0x3822), 5);
  EXPECT_EQ(image.Main().Word(0x3804), 0);

  // Test channels: frequency 2 follows an empty test channel; a warning is noted once.
  FieldGridSource testChannels(image, TestFrequencyTable());
  o = PasteTableText(testChannels, 10, 1, "494.6\n478\t520\n479\n");
  EXPECT_LT(o.refusedRow, 0);
  EXPECT_EQ(testChannels.CellText(10, 2), "494.600000");
  EXPECT_EQ(testChannels.CellText(11, 2), "520.000000");
  ASSERT_EQ(o.notices.size(), 2u);
  EXPECT_EQ(o.notices[0].n, 656);
  EXPECT_EQ(o.notices[1].n, 657);
  // A pasted word empties no test channel (typed text that is no frequency does).
  const auto beforeWord = AllBytes(image);
  o = PasteTableText(testChannels, 10, 1, "abc");
  EXPECT_EQ(o.refusal.n, 351);
  EXPECT_EQ(AllBytes(image), beforeWord);
  o = PasteTableText(testChannels, 15, 1, "1000");
  EXPECT_EQ(o.refusal.n, 613);
}

}  // namespace
